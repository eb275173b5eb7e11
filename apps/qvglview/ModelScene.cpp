#include "apps/qvglview/ModelScene.h"

#include "apps/qvglview/FileOpens.h"
#include "core/math/QVVector.h"
#include "loaders/QVLoaderModule.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

namespace
{
// The model's bounding box fits a sphere of this radius at the origin.
const double kModelRadius = 2.0;
// The camera's direction from the model, and its distance: a sphere of kModelRadius fills about
// three quarters of the 70 degree view's height.
const double kCameraDirection[3] = {0.3, 0.45, 0.84};
const double kCameraDistance = 4.2;
}  // namespace

ModelScene::ModelScene() : light(0.0, 0.0, 0.0) {}

bool ModelScene::Load(const std::string& fileName, std::string& error)
{
    const std::string quoted = "cannot show the model '" + fileName + "': ";
    if (!FileOpens(fileName))
    {
        error = quoted + "the file cannot be opened";
        return false;
    }
    QVModCollection& loaders = mesh.GetLoaders();
    if (loaders.GetCount() == 0)
    {
        error = quoted + "no object loader module (qv3dsloader.qvm, qvmodelloader.qvm) was found";
        return false;
    }
    const QVString name(fileName.c_str());
    bool loaded = false;
    for (unsigned i = 0; i < loaders.GetCount() && !loaded; ++i)
    {
        QVLoaderModule* loader = static_cast<QVLoaderModule*>(loaders.GetAt(i));
        loaded = loader->CanLoad(name) && loader->Load(&loaders, name);
    }
    if (!loaded)
    {
        error = quoted + "no object loader reads it (3D Studio .3ds, glTF .gltf and .glb, " +
                "Wavefront .obj)";
        return false;
    }
    if (mesh.GetVertexCount() == 0 || mesh.GetIndexCount() < 3)
    {
        error = quoted + "the file holds no triangle mesh";
        return false;
    }
    Fit();
    MakeMaterials();

    light.SetPosition(-4, 8, 6);
    light.SetAmbient(0.1, 0.1, 0.1, 1);
    light.SetDiffuse(0.7, 0.7, 0.7, 1);
    light.SetSpecular(1, 1, 1, 1);
    light.SetOn(1);
    light.SetAttenuation(0, 0, 0);
    world.AddLight(&light);
    world.AddObject(&mesh);

    camera.SetPerspective(70.0, 4.0 / 3.0, 0.1, 1000.0);
    camera.SetPosition(kCameraDirection[0] * kCameraDistance, kCameraDirection[1] * kCameraDistance,
                       kCameraDirection[2] * kCameraDistance);
    camera.LookAt(QVVector(0, 0, 0));
    camera.BuildView();
    camera.SetTrackTarget(1);
    world.SetCamera(&camera);
    // Dark, so that the default material's near-white stands out.
    world.GetBackground().SetPacked(0x303848);
    return true;
}

void ModelScene::Fit()
{
    double low[3];
    double high[3];
    for (int axis = 0; axis < 3; ++axis)
        low[axis] = high[axis] = mesh.GetVertex(0).GetPosition(axis);
    for (int i = 1; i < mesh.GetVertexCount(); ++i)
    {
        for (int axis = 0; axis < 3; ++axis)
        {
            const double value = mesh.GetVertex(i).GetPosition(axis);
            low[axis] = std::min(low[axis], value);
            high[axis] = std::max(high[axis], value);
        }
    }
    double halfDiagonal = 0.0;
    for (int axis = 0; axis < 3; ++axis)
        halfDiagonal += (high[axis] - low[axis]) * (high[axis] - low[axis]) / 4.0;
    halfDiagonal = std::sqrt(halfDiagonal);
    // A model that is a single point keeps its size.
    const double scale = halfDiagonal > 0.0 ? kModelRadius / halfDiagonal : 1.0;
    mesh.SetScale(scale, scale, scale);
    // The renderer scales before it moves: the scaled centre goes to the origin.
    mesh.SetPosition(-scale * (low[0] + high[0]) / 2.0, -scale * (low[1] + high[1]) / 2.0,
                     -scale * (low[2] + high[2]) / 2.0);
}

void ModelScene::MakeMaterials()
{
    QVArray<QVSubObject>& described = mesh.GetSubObjects();
    std::map<std::string, QVImage*> images;
    for (int g = 0; g < mesh.GetFaceGroupCount() && g < described.GetSize(); ++g)
    {
        const QVVector& colour = described[g].vector;
        std::unique_ptr<QVSGMaterial> material(new QVSGMaterial());
        material->ambient.Set(colour[0], colour[1], colour[2], 0.0);
        material->diffuse.Set(0.9 * colour[0], 0.9 * colour[1], 0.9 * colour[2], 0.0);
        material->specular.Set(0.3, 0.3, 0.3, 0.0);
        material->baseColour.Set(0.1, 0.1, 0.1, 0.0);
        material->shininess = 32;
        const QVString& file = described[g].name;
        if (file.GetLength() > 0)
        {
            // Groups that share a file share the image; one that cannot be read is said once.
            const std::string name(file.GetBuffer());
            const auto known = images.find(name);
            if (known != images.end())
            {
                material->texture = known->second;
            }
            else
            {
                std::unique_ptr<QVImage> image(new QVImage());
                if (image->Load(file))
                {
                    image->SetMipmapMode(1);
                    material->texture = image.get();
                    m_textures.push_back(std::move(image));
                }
                else
                {
                    std::fprintf(stderr,
                                 "qvglview: the texture '%s' cannot be read; drawn without\n",
                                 name.c_str());
                }
                images[name] = material->texture;
            }
        }
        mesh.SetMaterial(material.get(), g, false);
        m_materials.push_back(std::move(material));
    }
}

std::vector<QVSGMaterial*> ModelScene::UntexturedMaterials()
{
    std::vector<QVSGMaterial*> untextured{&world.GetDefaultMaterial()};
    for (const std::unique_ptr<QVSGMaterial>& material : m_materials)
    {
        if (material->texture == nullptr)
            untextured.push_back(material.get());
    }
    return untextured;
}

void ModelScene::Release(QVRenderer* renderer)
{
    for (const std::unique_ptr<QVImage>& texture : m_textures)
        texture->ReleaseHard(renderer);
}

void ModelScene::Bind(QVRenderer* renderer)
{
    for (const std::unique_ptr<QVImage>& texture : m_textures)
        texture->InitHard(renderer);
    for (const std::unique_ptr<QVSGMaterial>& material : m_materials)
        material->InitHard(renderer);
    mesh.InitHard(renderer);
    camera.InitHard(renderer);
    light.InitHard(renderer);
    world.GetDefaultMaterial().InitHard(renderer);
    world.InitHard(renderer);
}

#include "bench/frames/FrameScenes.h"

#include "apps/common/DemoScene.h"
#include "apps/qvglview/ModelScene.h"
#include "bench/common/SheetModel.h"
#include "core/math/QVVector.h"
#include "loaders/QVImage.h"
#include "loaders/QVLoaderModule.h"
#include "renderers/QVRenderer.h"
#include "scene/QVColor.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace
{
class SheetScene : public FrameScene
{
public:
    bool Load(std::string& error) override
    {
        // Written to the working directory, read through the loader module, removed.
        const std::string path = "framebench-sheet.3ds";
        {
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            const std::string bytes = SheetModelFile(65535);
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        }
        const bool loaded = scene.Load(path, error);
        std::remove(path.c_str());
        return loaded;
    }
    void Bind(QVRenderer* renderer) override { scene.Bind(renderer); }
    void Unbind(QVRenderer* renderer) override { scene.world.ReleaseHard(renderer); }
    QVSGWorld& World() override { return scene.world; }
    QVSGCamera& Camera() override { return scene.camera; }
    std::vector<QVSGMesh*> Meshes() override { return {&scene.mesh}; }

private:
    ModelScene scene;
};

// Set up as the spinner applet sets up its scene.
class SpinnerScene : public FrameScene
{
public:
    explicit SpinnerScene(const std::string& folder) : folder(folder), light(0.0, 0.0, 0.0) {}

    bool Load(std::string& error) override
    {
        const QVString model((folder + "/spinner.3ds").c_str());
        QVModCollection& loaders = mesh.GetLoaders();
        bool loaded = false;
        for (unsigned i = 0; i < loaders.GetCount() && !loaded; ++i)
        {
            QVLoaderModule* loader = static_cast<QVLoaderModule*>(loaders.GetAt(i));
            loaded = loader->CanLoad(model) && loader->Load(&loaders, model);
        }
        if (!loaded || mesh.GetVertexCount() == 0 ||
            !texture.Load(QVString((folder + "/checker.tga").c_str())))
        {
            error = "the spinner's files cannot be read from " + folder;
            return false;
        }
        double radius = 0.0;
        for (int i = 0; i < mesh.GetVertexCount(); ++i)
        {
            const QVVertex& v = mesh.GetVertex(i);
            radius = std::fmax(radius, std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z));
        }
        const double scale = radius > 0.0 ? 1.5 / radius : 1.0;
        mesh.SetScale(scale, scale, scale);
        texture.SetMipmapMode(1);
        light.SetPosition(-4, 8, 6);
        light.SetAmbient(0.3, 0.3, 0.3, 1);
        light.SetDiffuse(0.8, 0.8, 0.8, 1);
        light.SetSpecular(1, 1, 1, 1);
        light.SetOn(1);
        light.SetAttenuation(0, 0, 0);
        world.AddLight(&light);
        world.AddObject(&mesh);
        camera.SetPerspective(60.0, 4.0 / 3.0, 0.1, 100.0);
        camera.SetPosition(0.0, 0.0, 4.5);
        camera.LookAt(QVVector(0, 0, 0));
        camera.BuildView();
        world.SetCamera(&camera);
        world.GetBackground().SetPacked(0x202830);
        return true;
    }
    void Bind(QVRenderer* renderer) override
    {
        texture.InitHard(renderer);
        world.GetDefaultMaterial().texture = &texture;
        mesh.InitHard(renderer);
        camera.InitHard(renderer);
        light.InitHard(renderer);
        world.GetDefaultMaterial().InitHard(renderer);
        world.InitHard(renderer);
    }
    void Unbind(QVRenderer* renderer) override
    {
        world.ReleaseHard(renderer);
        texture.ReleaseHard(renderer);
        world.GetDefaultMaterial().texture = nullptr;
    }
    // The applet's start speed, 2 degrees per frame.
    void Animate(int frame) override
    {
        const double angle = std::fmod(2.0 * (frame + 1), 360.0);
        mesh.SetRotation(angle * 0.4, angle, 0.0);
    }
    QVSGWorld& World() override { return world; }
    QVSGCamera& Camera() override { return camera; }
    std::vector<QVSGMesh*> Meshes() override { return {&mesh}; }
    QVImage* Texture() override { return &texture; }
    bool Moves() const override { return true; }

private:
    std::string folder;
    QVSGWorld world;
    QVSGCamera camera;
    QVSGMesh mesh;
    QVSGLight light;
    QVImage texture;
};

class DemoFrameScene : public FrameScene
{
public:
    bool Load(std::string&) override
    {
        scene.Build();
        return true;
    }
    void Bind(QVRenderer* renderer) override { scene.Bind(renderer); }
    void Unbind(QVRenderer* renderer) override { scene.world.ReleaseHard(renderer); }
    QVSGWorld& World() override { return scene.world; }
    QVSGCamera& Camera() override { return scene.camera; }
    std::vector<QVSGMesh*> Meshes() override { return {&scene.room, &scene.sphere, &scene.cube}; }

private:
    DemoScene scene;
};
}  // namespace

std::unique_ptr<FrameScene> MakeSheetScene() { return std::make_unique<SheetScene>(); }

std::unique_ptr<FrameScene> MakeSpinnerScene(const std::string& dataFolder)
{
    return std::make_unique<SpinnerScene>(dataFolder);
}

std::unique_ptr<FrameScene> MakeDemoFrameScene() { return std::make_unique<DemoFrameScene>(); }

long CountCovered(const std::vector<unsigned char>& pixels, int channels, const QVColor& background)
{
    const int clear[3] = {static_cast<int>(background.r * 255.0 + 0.5),
                          static_cast<int>(background.g * 255.0 + 0.5),
                          static_cast<int>(background.b * 255.0 + 0.5)};
    long covered = 0;
    for (std::size_t p = 0; p + 2 < pixels.size(); p += static_cast<std::size_t>(channels))
    {
        bool differs = false;
        for (int c = 0; c < 3; ++c)
            differs = differs || std::abs(pixels[p + c] - clear[c]) > 2;
        covered += differs ? 1 : 0;
    }
    return covered;
}

#include "SpinnerApplet.h"

#include "core/math/QVVector.h"
#include "gl/QVGLContext.h"
#include "loaders/QVLoaderModule.h"
#include "modules/LoadModuleAs.h"
#include "modules/RunTimePath.h"
#include "platform/Directory.h"
#include "renderers/HostWindowSetup.h"
#include "renderers/QVRenderer.h"
#include "ui/QVUIManager.h"

#include <algorithm>
#include <cmath>

namespace
{
const char* const RendererFile = "qvoglrenderer.qvm";
const double StartSpeed = 2.0;  // degrees per frame
const double SpeedStep = 1.0;
const double MaxSpeed = 30.0;

// Virtual-key codes as the UI managers report them.
enum Key
{
    KeySpace = 0x20,
    KeyUp = 0x26,
    KeyDown = 0x28,
    KeyAdd = 0x6B,  // keypad +
    KeySubtract = 0x6D,
    KeyPlus = 0xBB,  // "=" / "+" of the main keyboard
    KeyMinus = 0xBD
};

std::string Narrow(const QVString& text)
{
    QVString copy(text);
    copy.SetEncoding(QVString::Narrow);
    return copy.GetLength() > 0 ? std::string(copy.GetBuffer()) : std::string();
}
}  // namespace

SpinnerApplet::SpinnerApplet()
    : SpinnerApplet("spinnerapplet.qvm", "Spinner Applet", "spinner.3ds", "checker.tga")
{
}

SpinnerApplet::SpinnerApplet(const char* moduleFile, const char* appletName, const char* modelFile,
                             const char* textureFile)
    : m_modelFile(modelFile), m_textureFile(textureFile), m_window(nullptr), m_parameters(nullptr),
      m_renderer(nullptr), m_speed(StartSpeed), m_pausedSpeed(0.0)
{
    SetFileName(QVString(moduleFile));
    SetName(QVString(appletName));
    SetPlatform(QVString("All"));
}

bool SpinnerApplet::Init(QVUIWindow* window, QVAppletHost*, QVProperties* parameters)
{
    m_window = window;
    m_parameters = parameters;
    return true;
}

int SpinnerApplet::Run()
{
    QVUIManager* manager = m_window != nullptr ? m_window->GetManager() : nullptr;
    if (manager == nullptr)
        return 1;
    QVString directory;
    if (m_parameters != nullptr)
        m_parameters->Get(QVString("@temp_path"), directory);
    const std::string folder = Narrow(directory);
    // The loaders and the renderer are found in the working directory.
    if (!folder.empty())
        ChangeDirectory(folder.c_str());

    m_scene.reset(new Scene());
    std::string error;
    const bool ready =
        LoadModel(folder, error) && StartRenderer(error) && LoadTexture(folder, error);
    if (!ready)
    {
        QVString text(("The spinner cannot start: " + error).c_str());
        QVString caption("Spinner");
        manager->ShowMessage(text, caption);
        Release();
        return 1;
    }
    m_window->SetListener(this);
    MakeMaterials();
    m_scene->mesh.InitHard(m_renderer);
    m_scene->camera.InitHard(m_renderer);
    m_scene->light.InitHard(m_renderer);
    m_scene->world.GetDefaultMaterial().InitHard(m_renderer);
    m_scene->world.InitHard(m_renderer);

    double angle = 0.0;
    while (manager->ProcessMessages(m_window, false))
    {
        // A window closed during the pass has lost its drawing surface.
        if (m_window->IsClosed())
            continue;
        angle += m_speed;
        if (angle >= 360.0 || angle <= -360.0)
            angle = 0.0;
        m_scene->mesh.SetRotation(angle * 0.4, angle, 0.0);
        m_scene->world.Render();
    }
    m_window->SetListener(m_window);
    Release();
    return 0;
}

bool SpinnerApplet::LoadModel(const std::string& directory, std::string& error)
{
    const std::string path = directory + QVPathSeparator() + m_modelFile;
    const QVString name(path.c_str());
    QVModCollection& loaders = m_scene->mesh.GetLoaders();
    bool loaded = false;
    for (unsigned i = 0; i < loaders.GetCount() && !loaded; ++i)
    {
        QVLoaderModule* loader = static_cast<QVLoaderModule*>(loaders.GetAt(i));
        loaded = loader->CanLoad(name) && loader->Load(&loaders, name);
    }
    if (!loaded || m_scene->mesh.GetVertexCount() == 0)
    {
        error = "no loader module read the model " + path;
        return false;
    }
    // The model is centred at the origin; it is made to fit a sphere of radius 1.5.
    double radius = 0.0;
    for (int i = 0; i < m_scene->mesh.GetVertexCount(); ++i)
    {
        double square = 0.0;
        for (int axis = 0; axis < 3; ++axis)
            square += m_scene->mesh.GetVertex(i).GetPosition(axis) *
                      m_scene->mesh.GetVertex(i).GetPosition(axis);
        radius = square > radius * radius ? std::sqrt(square) : radius;
    }
    const double scale = radius > 0.0 ? 1.5 / radius : 1.0;
    m_scene->mesh.SetScale(scale, scale, scale);

    m_scene->light.SetPosition(-4, 8, 6);
    m_scene->light.SetAmbient(0.3, 0.3, 0.3, 1);
    m_scene->light.SetDiffuse(0.8, 0.8, 0.8, 1);
    m_scene->light.SetSpecular(1, 1, 1, 1);
    m_scene->light.SetOn(1);
    m_scene->light.SetAttenuation(0, 0, 0);
    m_scene->world.AddLight(&m_scene->light);
    m_scene->world.AddObject(&m_scene->mesh);
    m_scene->camera.SetPerspective(60.0, 4.0 / 3.0, 0.1, 100.0);
    m_scene->camera.SetPosition(0.0, 0.0, 4.5);
    m_scene->camera.LookAt(QVVector(0, 0, 0));
    m_scene->camera.BuildView();
    m_scene->world.SetCamera(&m_scene->camera);
    m_scene->world.GetBackground().SetPacked(0x202830);
    return true;
}

bool SpinnerApplet::StartRenderer(std::string& error)
{
    m_renderer = LoadModuleAs<QVRenderer>(GetModManager(), RendererFile);
    if (m_renderer == nullptr)
    {
        error = std::string("the OpenGL renderer module (") + RendererFile + ") was not found";
        return false;
    }
    int width = 0;
    int height = 0;
    // No instance: on X11 the GL binding opens a connection of its own for the host's window.
    QVGLContext::GetClientSize(nullptr, m_window->GetWindow(), width, height);
    RendererSetup setup = HostWindowSetup(nullptr, m_window->GetWindow(), width, height);
    if (!m_renderer->Init(&setup))
    {
        error = "the OpenGL renderer could not draw into the window";
        return false;
    }
    m_renderer->Resize(width, height);
    return true;
}

bool SpinnerApplet::LoadTexture(const std::string& directory, std::string& error)
{
    if (m_textureFile == nullptr)
        return true;
    const std::string path = directory + QVPathSeparator() + m_textureFile;
    if (!m_scene->texture.Load(QVString(path.c_str())))
    {
        error = "no loader module read the texture " + path;
        return false;
    }
    m_scene->texture.SetMipmapMode(1);
    if (!m_scene->texture.InitHard(m_renderer))
    {
        error = "the renderer could not make a texture of " + path;
        return false;
    }
    m_scene->world.GetDefaultMaterial().texture = &m_scene->texture;
    return true;
}

void SpinnerApplet::MakeMaterials()
{
    QVArray<QVSubObject>& described = m_scene->mesh.GetSubObjects();
    for (int g = 0; g < m_scene->mesh.GetFaceGroupCount() && g < described.GetSize(); ++g)
    {
        const QVVector& colour = described[g].vector;
        std::unique_ptr<QVSGMaterial> material(new QVSGMaterial());
        material->ambient.Set(colour[0], colour[1], colour[2], 0.0);
        material->diffuse.Set(colour[0], colour[1], colour[2], 0.0);
        material->specular.Set(0.3, 0.3, 0.3, 0.0);
        material->shininess = 32;
        // A texture that cannot be read leaves the group in its colour.
        std::unique_ptr<QVImage> image(new QVImage());
        if (described[g].name.GetLength() > 0 && image->Load(described[g].name))
        {
            image->SetMipmapMode(1);
            if (image->InitHard(m_renderer))
            {
                material->texture = image.get();
                m_scene->textures.push_back(std::move(image));
            }
        }
        material->InitHard(m_renderer);
        m_scene->mesh.SetMaterial(material.get(), g, false);
        m_scene->materials.push_back(std::move(material));
    }
}

void SpinnerApplet::Release()
{
    if (m_renderer == nullptr)
    {
        m_scene.reset();
        return;
    }
    m_scene->world.ReleaseHard(m_renderer);
    m_scene->texture.ReleaseHard(m_renderer);
    for (const std::unique_ptr<QVImage>& texture : m_scene->textures)
        texture->ReleaseHard(m_renderer);
    m_scene->world.GetDefaultMaterial().texture = nullptr;
    m_renderer->Release();
    GetModManager().ReleaseModule(m_renderer);
    m_renderer = nullptr;
    m_scene.reset();
}

void SpinnerApplet::OnKeyDown(QVUIItem*, unsigned short, int key)
{
    switch (key & 0xFFFF)
    {
    case KeyUp:
    case KeyAdd:
    case KeyPlus:
        m_speed = std::min(m_speed + SpeedStep, MaxSpeed);
        m_pausedSpeed = 0.0;
        break;
    case KeyDown:
    case KeySubtract:
    case KeyMinus:
        m_speed = std::max(m_speed - SpeedStep, -MaxSpeed);
        m_pausedSpeed = 0.0;
        break;
    case KeySpace:
        if (m_speed != 0.0)
        {
            m_pausedSpeed = m_speed;
            m_speed = 0.0;
        }
        else
        {
            m_speed = m_pausedSpeed != 0.0 ? m_pausedSpeed : StartSpeed;
            m_pausedSpeed = 0.0;
        }
        break;
    default:
        break;
    }
}

void SpinnerApplet::OnSize(QVUIItem*, int width, int height)
{
    if (m_renderer != nullptr)
        m_renderer->Resize(width, height);
}

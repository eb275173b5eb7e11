#include "apps/qvglview/QVGLView.h"

#include "apps/qvglview/FrameCapture.h"
#include "core/math/QVVector.h"
#include "loaders/QVImage.h"
#include "loaders/tga/TgaWriter.h"
#include "modules/QVModManager.h"
#include "gl/QVGLContext.h"
#include "renderers/QVRenderer.h"
#include "renderers/RendererSetup.h"
#include "ui/QVUIManager.h"

#include <cstdio>
#include <string>
#include <vector>

// The process-wide application.
QVGLView glView;

namespace
{
const char* const title = "OpenGL: (q=exit, z=zoom in, s=zoom out)";
// Frames drawn before a screenshot is taken.
const int kFramesBeforeScreenshot = 3;

void Complain(const std::string& text) { std::fprintf(stderr, "qvglview: %s\n", text.c_str()); }
}  // namespace

QVGLView::QVGLView()
    : renderer(nullptr), showsModel(false), world(&scene.world), camera(&scene.camera)
{
}

QVGLView::~QVGLView() = default;

int QVGLView::Run() { return -1; }

int QVGLView::RunArgs(QVArray<QVString>& words)
{
    std::vector<std::string> args;
    for (int i = 0; i < words.GetSize(); ++i)
        args.emplace_back(words[i].GetBuffer() != nullptr ? words[i].GetBuffer() : "");
    ViewOptions options;
    std::string error;
    if (!options.Parse(args, error))
    {
        Complain(error);
        std::fputs(ViewOptions::Usage(), stderr);
        return 2;
    }
    if (options.help)
    {
        std::fputs(ViewOptions::Usage(), stdout);
        return 0;
    }

    QVModule* module = GetModManager().LoadModule(GetUIManagerFileName());
    if (module != nullptr && !module->GetType().Equals(QVString("UI Manager")))
        module = nullptr;
    SetUIManager(static_cast<QVUIManager*>(module));

    if (!Init(options))
    {
        // A person at the window gets the message there too; a screenshot run must not wait.
        if (GetUIManager() != nullptr && options.screenshot.empty())
        {
            QVString text("An error occured during initialization");
            QVString caption("");
            GetUIManager()->ShowMessage(text, caption);
        }
        Shutdown();
        return 1;
    }

    int result = 0;
    int frames = 0;
    while (window.GetManager() != nullptr && window.GetManager()->ProcessMessages(&window, false))
    {
        // A window closed during the pass has lost its drawing surface: only an open one is drawn.
        if (window.IsClosed())
            continue;
        world->Render();
        if (!options.screenshot.empty() && ++frames >= kFramesBeforeScreenshot)
        {
            result = SaveScreenshot(options.screenshot);
            break;
        }
    }
    Shutdown();
    return result;
}

bool QVGLView::Init(const ViewOptions& options)
{
    // The model is read first: a file that cannot be shown opens no window.
    if (!options.model.empty())
    {
        std::string error;
        if (!model.Load(options.model, error))
        {
            Complain(error);
            return false;
        }
        showsModel = true;
        world = &model.world;
        camera = &model.camera;
    }

    window.SetListener(static_cast<QVUIListener*>(this));
    window.SetX(100);
    window.SetY(100);
    window.SetWidth(400);
    window.SetHeight(300);
    window.Create();
    window.StoreVisible(true);
    if (window.GetManager() != nullptr)
        window.GetManager()->ApplyVisibility(&window);
    window.SetCaption(title);
    if (window.GetManager() == nullptr)
    {
        Complain("no window: the UI manager module (" + std::string(GetUIManagerFileName()) +
                 ") was not found or has no display");
        return false;
    }

    QVModule* module = GetModManager().LoadModule("qvoglrenderer.qvm");
    if (module == nullptr || !module->GetType().Equals(QVString("3D Renderer")))
    {
        Complain("the OpenGL renderer module (qvoglrenderer.qvm) was not found");
        return false;
    }
    renderer = static_cast<QVRenderer*>(module);
    int width = 400;
    int height = 300;
    QVGLContext::GetClientSize(GetInstance(), window.GetWindow(), width, height);
    RendererSetup setup = {};
    setup.createOwnWindow = 0;
    setup.x = 10;
    setup.y = 10;
    setup.fullScreen = 0;
    setup.width = width;
    setup.height = height;
    setup.colourBits = 32;
    setup.depthBits = 24;
    setup.stencilBits = 8;
    setup.instance = GetInstance();
    setup.windowProcedure = nullptr;
    setup.window = window.GetWindow();
    if (!renderer->Init(&setup))
    {
        Complain("the OpenGL renderer could not draw into the window");
        return false;
    }

    if (!showsModel)
        scene.Build();
    OnSize(&window, width, height);
    if (!options.texture.empty() && !LoadTexture(options.texture))
        return false;
    if (showsModel)
        model.Bind(renderer);
    else
        scene.Bind(renderer);
    return true;
}

bool QVGLView::LoadTexture(const std::string& fileName)
{
    texture.reset(new QVImage());
    if (texture->GetLoaders().GetCount() == 0)
    {
        Complain("cannot read the texture '" + fileName +
                 "': no image loader module (qvtgaloader.qvm) was found");
        return false;
    }
    if (!texture->Load(QVString(fileName.c_str())))
    {
        Complain("cannot read the texture '" + fileName + "': not a TGA image the loader reads");
        return false;
    }
    // Mipmaps keep the sphere's small far triangles from shimmering.
    texture->SetMipmapMode(1);
    if (!texture->InitHard(renderer))
    {
        Complain("the renderer could not make a texture of '" + fileName + "'");
        return false;
    }
    for (QVSGMaterial* material : TexturedMaterials())
        material->texture = texture.get();
    return true;
}

int QVGLView::SaveScreenshot(const std::string& fileName)
{
    const int width = renderer->GetViewportWidth();
    const int height = renderer->GetViewportHeight();
    const std::vector<std::uint8_t> frame = CaptureFrame(width, height);
    if (!tga::WriteFile(fileName.c_str(), width, height, 24, frame.data(), tga::kRgbRowsFromTop))
    {
        Complain("cannot write the screenshot '" + fileName + "'");
        return 1;
    }
    std::printf("qvglview: %dx%d frame written to %s\n", width, height, fileName.c_str());
    return 0;
}

void QVGLView::Shutdown()
{
    if (renderer == nullptr)
        return;
    world->ReleaseHard(renderer);
    if (texture)
    {
        texture->ReleaseHard(renderer);
        for (QVSGMaterial* material : TexturedMaterials())
            material->texture = nullptr;
    }
    renderer->Release();
    GetModManager().ReleaseModule(renderer);
    renderer = nullptr;
}

std::vector<QVSGMaterial*> QVGLView::TexturedMaterials()
{
    if (showsModel)
        return {&model.world.GetDefaultMaterial()};
    return {&scene.red, &scene.mirror, &scene.green, &scene.grey};
}

void QVGLView::OnCommand(QVUIItem*) {}

void QVGLView::OnSize(QVUIItem*, int width, int height)
{
    if (renderer != nullptr)
        renderer->Resize(width, height);
}

void QVGLView::OnMaximize(QVUIItem*) {}

void QVGLView::OnMinimize(QVUIItem*) {}

void QVGLView::OnMouseMove(QVUIItem*, unsigned short, int x, int y, int)
{
    // The first event sets the reference point, so it moves the camera by nothing.
    static int lastX = x;
    static int lastY = y;
    camera->SetTrackTarget(1);
    QVVector delta(static_cast<double>(x - lastX), static_cast<double>(lastY - y), 0.0);
    delta *= 0.1;
    camera->Move(delta);
    camera->UpdateView();
    if (window.GetManager() != nullptr)
        window.GetManager()->SetCursorPosition(&window, 200, 200);
    lastX = 200;
    lastY = 200;
    window.SetCursorShown(false);
}

void QVGLView::OnKeyDown(QVUIItem*, unsigned short, int key)
{
    switch (key & 0xFFFF)
    {
    case 81:  // Q
        if (window.GetManager() != nullptr)
            window.GetManager()->PostQuit(&window);
        break;
    case 90:  // Z: one unit along the view direction
        camera->Move(QVVector(0.0, 0.0, 1.0));
        break;
    case 83:  // S: one unit back
        camera->Move(QVVector(0.0, 0.0, -1.0));
        break;
    default:
        break;
    }
}

void QVGLView::OnKeyUp(QVUIItem*, unsigned short, int) {}

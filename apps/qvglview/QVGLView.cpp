#include "apps/qvglview/QVGLView.h"

#include "apps/qvglview/FileOpens.h"
#include "apps/qvglview/FrameCapture.h"
#include "gl/QVGLContext.h"
#include "loaders/QVImage.h"
#include "loaders/tga/TgaWriter.h"
#include "modules/LoadModuleAs.h"
#include "renderers/HostWindowSetup.h"
#include "renderers/QVRenderer.h"
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

QVGLView::QVGLView() : renderer(nullptr), showsModel(false), world(&scene.world) {}

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

    SetUIManager(LoadModuleAs<QVUIManager>(GetModManager(), GetUIManagerFileName()));

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
    bool drew = false;
    while (viewer.Pass(*world, &drew))
    {
        if (drew && !options.screenshot.empty() && ++frames >= kFramesBeforeScreenshot)
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
    }

    viewer.SetCamera(showsModel ? &model.camera : &scene.camera);
    viewer.OpenWindow(title);
    QVUIWindow& window = viewer.GetWindow();
    if (window.GetManager() == nullptr)
    {
        Complain("no window: the UI manager module (" + std::string(GetUIManagerFileName()) +
                 ") was not found or has no display");
        return false;
    }

    renderer = LoadModuleAs<QVRenderer>(GetModManager(), "qvoglrenderer.qvm");
    if (renderer == nullptr)
    {
        Complain("the OpenGL renderer module (qvoglrenderer.qvm) was not found");
        return false;
    }
    viewer.SetRenderer(renderer);
    int width = 400;
    int height = 300;
    QVGLContext::GetClientSize(GetInstance(), window.GetWindow(), width, height);
    RendererSetup setup = HostWindowSetup(GetInstance(), window.GetWindow(), width, height);
    if (!renderer->Init(&setup))
    {
        Complain("the OpenGL renderer could not draw into the window");
        return false;
    }

    if (!showsModel)
        scene.Build();
    viewer.OnSize(&window, width, height);
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
    if (!FileOpens(fileName))
    {
        Complain("cannot read the texture '" + fileName + "': the file cannot be opened");
        return false;
    }
    texture.reset(new QVImage());
    if (texture->GetLoaders().GetCount() == 0)
    {
        Complain("cannot read the texture '" + fileName +
                 "': no image loader module (qvtgaloader.qvm, qvimgloader.qvm) was found");
        return false;
    }
    if (!texture->Load(QVString(fileName.c_str())))
    {
        Complain("cannot read the texture '" + fileName + "': no image loader reads it");
        return false;
    }
    // Mipmaps keep the sphere's small far triangles from shimmering.
    texture->SetMipmapMode(1);
    if (!texture->InitHard(renderer))
    {
        Complain("the renderer could not make a texture of '" + fileName + "'");
        return false;
    }
    textured = TexturedMaterials();
    for (QVSGMaterial* material : textured)
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
    if (showsModel)
        model.Release(renderer);
    if (texture)
    {
        texture->ReleaseHard(renderer);
        for (QVSGMaterial* material : textured)
            material->texture = nullptr;
    }
    renderer->Release();
    viewer.SetRenderer(nullptr);
    GetModManager().ReleaseModule(renderer);
    renderer = nullptr;
}

std::vector<QVSGMaterial*> QVGLView::TexturedMaterials()
{
    if (showsModel)
        return model.UntexturedMaterials();
    return {&scene.red, &scene.mirror, &scene.green, &scene.grey};
}

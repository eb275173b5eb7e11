#include "apps/rayviewer/RayViewer.h"

#include "apps/framework/StartFailure.h"
#include "apps/framework/UIManagerStart.h"
#include "modules/LoadModuleAs.h"
#include "renderers/HostWindowSetup.h"
#include "renderers/QVRenderer.h"
#include "ui/QVUIManager.h"

// The process-wide application, constructed (with the whole scene) before the program entry.
RayViewer rayViewer;

namespace
{
const char* const programName = "rayviewer";
const char* const title = "Raytracer: (q=exit, z=zoom in, s=zoom out)";
}  // namespace

RayViewer::RayViewer() : renderer(nullptr) {}

RayViewer::~RayViewer() = default;

int RayViewer::Run()
{
    // Without a UI manager, or without a window, there is nowhere to show a message: the
    // failed start is told on standard error.
    QVUIManager* manager = LoadUIManagerOrReport(programName);
    if (manager == nullptr)
        return QV_EXIT_NOT_STARTED;
    SetUIManager(manager);

    if (!Init())
    {
        if (viewer.GetWindow().GetWindow() == nullptr)
        {
            ReportNoDisplay(programName);
            return QV_EXIT_NOT_STARTED;
        }
        QVString text("An error occured during initialization");
        QVString caption("");
        GetUIManager()->ShowMessage(text, caption);
        return 0;
    }

    while (viewer.Pass(scene.world))
    {
    }

    viewer.SetRenderer(nullptr);
    GetModManager().ReleaseModule(renderer);
    renderer = nullptr;
    return 0;
}

bool RayViewer::Init()
{
    viewer.SetCamera(&scene.camera);
    if (!viewer.OpenWindow(title))
        return false;

    // Anything but a renderer module cannot draw the scene.
    renderer = LoadModuleAs<QVRenderer>(GetModManager(), "qvraytracer.qvm");
    if (renderer == nullptr)
        return false;
    viewer.SetRenderer(renderer);
    RendererSetup setup = HostWindowSetup(GetInstance(), viewer.GetWindow().GetWindow(), 200, 150);
    renderer->Init(&setup);

    scene.Build();
    scene.Bind(renderer);
    return true;
}

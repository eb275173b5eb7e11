#include "apps/rayviewer/RayViewer.h"

#include "apps/framework/StartFailure.h"
#include "core/math/QVVector.h"
#include "modules/QVModManager.h"
#include "renderers/QVRenderer.h"
#include "renderers/RendererSetup.h"
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
    const char* uiManagerFile = GetUIManagerFileName();
    QVModule* module = GetModManager().LoadModule(uiManagerFile);
    if (module == nullptr)
    {
        ReportModuleNotLoaded(programName, "UI Manager", uiManagerFile);
        return QV_EXIT_NOT_STARTED;
    }
    // Only a module of the UI manager kind may be used as one.
    if (!module->GetType().Equals(QVString("UI Manager")))
    {
        ReportWrongModuleType(programName, "UI Manager", uiManagerFile);
        return QV_EXIT_NOT_STARTED;
    }
    SetUIManager(static_cast<QVUIManager*>(module));

    if (!Init())
    {
        if (window.GetWindow() == nullptr)
        {
            ReportNoDisplay(programName);
            return QV_EXIT_NOT_STARTED;
        }
        QVString text("An error occured during initialization");
        QVString caption("");
        GetUIManager()->ShowMessage(text, caption);
        return 0;
    }

    // A window closed during the pass has lost its drawing surface: only an open one is drawn.
    while (window.GetManager() != nullptr && window.GetManager()->ProcessMessages(&window, false))
    {
        if (!window.IsClosed())
            scene.world.Render();
    }

    GetModManager().ReleaseModule(renderer);
    renderer = nullptr;
    return 0;
}

bool RayViewer::Init()
{
    window.SetListener(static_cast<QVUIListener*>(this));
    window.SetX(100);
    window.SetY(100);
    window.SetWidth(400);
    window.SetHeight(300);
    if (!window.Create())
        return false;
    window.StoreVisible(true);
    if (window.GetManager() != nullptr)
        window.GetManager()->ApplyVisibility(&window);
    window.SetCaption(title);

    QVModule* module = GetModManager().LoadModule("qvraytracer.qvm");
    // Anything but a renderer module cannot draw the scene.
    if (module == nullptr || !module->GetType().Equals(QVString("3D Renderer")))
        return false;
    renderer = static_cast<QVRenderer*>(module);
    RendererSetup setup = {};
    setup.createOwnWindow = 0;
    setup.x = 10;
    setup.y = 10;
    setup.fullScreen = 0;
    setup.width = 200;
    setup.height = 150;
    setup.colourBits = 32;
    setup.depthBits = 24;
    setup.stencilBits = 8;
    setup.instance = GetInstance();
    setup.windowProcedure = nullptr;
    setup.window = window.GetWindow();
    renderer->Init(&setup);

    scene.Build();
    scene.Bind(renderer);
    return true;
}

void RayViewer::OnCommand(QVUIItem*) {}

void RayViewer::OnSize(QVUIItem*, int width, int height)
{
    if (renderer != nullptr)
        renderer->Resize(width, height);
}

void RayViewer::OnMaximize(QVUIItem*) {}

void RayViewer::OnMinimize(QVUIItem*) {}

void RayViewer::OnMouseMove(QVUIItem*, unsigned short, int x, int y, int)
{
    // The first event sets the reference point, so it moves the camera by nothing.
    static int lastX = x;
    static int lastY = y;
    scene.camera.SetTrackTarget(1);
    QVVector delta(static_cast<double>(x - lastX), static_cast<double>(lastY - y), 0.0);
    delta *= 0.1;
    scene.camera.Move(delta);
    scene.camera.UpdateView();
    if (window.GetManager() != nullptr)
        window.GetManager()->SetCursorPosition(&window, 200, 200);
    lastX = 200;
    lastY = 200;
    window.SetCursorShown(false);
}

void RayViewer::OnKeyDown(QVUIItem*, unsigned short, int key)
{
    switch (key & 0xFFFF)
    {
    case 81:  // Q
        if (window.GetManager() != nullptr)
            window.GetManager()->PostQuit(&window);
        break;
    case 90:  // Z: one unit along the view direction
        scene.camera.Move(QVVector(0.0, 0.0, 1.0));
        break;
    case 83:  // S: one unit back
        scene.camera.Move(QVVector(0.0, 0.0, -1.0));
        break;
    default:
        break;
    }
}

void RayViewer::OnKeyUp(QVUIItem*, unsigned short, int) {}

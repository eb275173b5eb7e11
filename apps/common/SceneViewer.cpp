#include "apps/common/SceneViewer.h"

#include "core/math/QVVector.h"
#include "renderers/QVRenderer.h"
#include "scene/QVSGCamera.h"
#include "scene/QVSGWorld.h"
#include "ui/QVUIManager.h"

SceneViewer::SceneViewer() : renderer(nullptr), camera(nullptr) {}

bool SceneViewer::OpenWindow(const char* title)
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
    return true;
}

bool SceneViewer::Pass(QVSGWorld& world, bool* drew)
{
    if (window.GetManager() == nullptr || !window.GetManager()->ProcessMessages(&window, false))
        return false;
    const bool open = !window.IsClosed();
    if (open)
        world.Render();
    if (drew != nullptr)
        *drew = open;
    return true;
}

void SceneViewer::OnSize(QVUIItem*, int width, int height)
{
    if (renderer != nullptr)
        renderer->Resize(width, height);
}

void SceneViewer::OnMouseMove(QVUIItem*, unsigned short, int x, int y, int)
{
    if (camera == nullptr)
        return;
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

void SceneViewer::OnKeyDown(QVUIItem*, unsigned short, int key)
{
    switch (key & 0xFFFF)
    {
    case 81:  // Q
        if (window.GetManager() != nullptr)
            window.GetManager()->PostQuit(&window);
        break;
    case 90:  // Z: one unit along the view direction
        if (camera != nullptr)
            camera->Move(QVVector(0.0, 0.0, 1.0));
        break;
    case 83:  // S: one unit back
        if (camera != nullptr)
            camera->Move(QVVector(0.0, 0.0, -1.0));
        break;
    default:
        break;
    }
}

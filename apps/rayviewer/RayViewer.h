#ifndef QV_APPS_RAYVIEWER_RAYVIEWER_H
#define QV_APPS_RAYVIEWER_RAYVIEWER_H

#include "apps/demoscene/DemoScene.h"
#include "apps/framework/QVApplication.h"
#include "ui/QVUIListener.h"
#include "ui/QVUIWindow.h"

class QVRenderer;

// rayviewer: the demonstration scene traced by the ray tracer module in a window of the UI
// manager module. The mouse orbits the camera around its target (the pointer is then warped
// back to (200, 200) and hidden); Q quits, Z moves the camera forward, S back. The command line
// is ignored. The exit code is 0, also after a failed start reported in a message box; a start
// without a UI manager or without a display is reported on standard error with exit code 1.
class RayViewer : public QVApplication, public QVUIListener
{
public:
    RayViewer();
    ~RayViewer() override;

    // Loads the UI manager, creates the window, loads the ray tracer and builds the scene, then
    // renders one frame per pass of the message loop until the window closes. Returns 0; a
    // missing ray tracer is reported in a message box. A missing UI manager or window (no
    // display) is reported on standard error and returns QV_EXIT_NOT_STARTED.
    int Run() override;

    void OnCommand(QVUIItem* control) override;
    // Hands the new client size to the renderer.
    void OnSize(QVUIItem* item, int width, int height) override;
    void OnMaximize(QVUIItem* item) override;
    void OnMinimize(QVUIItem* item) override;
    // Orbits the camera by a tenth of the pointer's move, then warps the pointer to (200, 200).
    void OnMouseMove(QVUIItem* item, unsigned short flags, int x, int y, int reserved) override;
    // Q (81) quits, Z (90) moves the camera one unit forward, S (83) one unit back.
    void OnKeyDown(QVUIItem* item, unsigned short flags, int key) override;
    void OnKeyUp(QVUIItem* item, unsigned short flags, int key) override;

private:
    // Window, renderer and scene; false when the window cannot be made (then nothing else is
    // done) or the ray tracer module cannot be loaded.
    bool Init();

    QVUIWindow window;
    QVRenderer* renderer;  // the ray tracer module, null until loaded
    DemoScene scene;       // world, camera, sphere, cube, room, light and the four materials
};

#endif

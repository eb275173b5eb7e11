#pragma once

#include "apps/common/DemoScene.h"
#include "apps/common/SceneViewer.h"
#include "apps/framework/QVApplication.h"

class QVRenderer;

// rayviewer: the demonstration scene traced by the ray tracer module in the scene viewer's
// window (apps/common/SceneViewer.h: the mouse orbits, Q quits, Z moves the camera forward, S
// back). The command line is ignored. The exit code is 0, also after a failed start reported in
// a message box; a start without a UI manager or without a display is reported on standard error
// with exit code 1.
class RayViewer : public QVApplication
{
public:
    RayViewer();
    ~RayViewer() override;

    // Loads the UI manager, creates the window, loads the ray tracer and builds the scene, then
    // renders one frame per pass of the message loop until the window closes. Returns 0; a
    // missing ray tracer is reported in a message box. A missing UI manager or window (no
    // display) is reported on standard error and returns QV_EXIT_NOT_STARTED.
    int Run() override;

private:
    // Window, renderer and scene; false when the window cannot be made (then nothing else is
    // done) or the ray tracer module cannot be loaded.
    bool Init();

    SceneViewer viewer;
    QVRenderer* renderer;  // the ray tracer module, null until loaded
    DemoScene scene;       // world, camera, sphere, cube, room, light and the four materials
};

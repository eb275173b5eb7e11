#pragma once

#include "ui/QVUIListener.h"
#include "ui/QVUIWindow.h"

class QVRenderer;
class QVSGCamera;
class QVSGWorld;

// The window in which rayviewer and qvglview show a scene, and its controls. The window opens at
// (100, 100) with a 400 x 300 client area under the program's title. The mouse orbits the camera
// around its target by a tenth of the pointer's move (the pointer is then warped back to
// (200, 200) and hidden); Z moves the camera one unit forward, S one unit back, Q quits. The
// renderer's viewport follows the window's size. The program keeps its renderer, its scene and
// what it does when a step fails.
class SceneViewer : public QVUIListener
{
public:
    SceneViewer();

    // Creates the window in the process's UI manager, shows it and gives it the title. False
    // when the window cannot be made (no UI manager, no display); then nothing else is done.
    bool OpenWindow(const char* title);
    // The renderer drawing into the window and the camera the controls move; both stay the
    // caller's, and either may be null (no resizing, no moving).
    void SetRenderer(QVRenderer* drawing) { renderer = drawing; }
    void SetCamera(QVSGCamera* moved) { camera = moved; }
    QVUIWindow& GetWindow() { return window; }

    // One pass of the message loop, then a frame of world when the window is still open (a
    // window closed during the pass has lost its drawing surface). False once the loop has ended
    // (the window closed, Q) or when the window has no UI manager; drew (optional) tells whether
    // a frame was drawn.
    bool Pass(QVSGWorld& world, bool* drew = nullptr);

    // Hands the new client size to the renderer.
    void OnSize(QVUIItem* item, int width, int height) override;
    void OnMouseMove(QVUIItem* item, unsigned short flags, int x, int y, int reserved) override;
    // Q (81) quits, Z (90) moves the camera one unit forward, S (83) one unit back.
    void OnKeyDown(QVUIItem* item, unsigned short flags, int key) override;

private:
    QVUIWindow window;
    QVRenderer* renderer;  // null until the program has one
    QVSGCamera* camera;    // null until the program has a scene
};

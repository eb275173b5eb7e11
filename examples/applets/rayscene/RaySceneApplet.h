#pragma once

#include "plugin/QVApplet.h"
#include "ui/QVUIListener.h"

#include <memory>

class DemoScene;
class QVRenderer;

// The demonstration scene (the one rayviewer shows and qvrender traces) drawn by the ray tracer
// module in the host's window, at the window's size. The tracer refines its picture frame by
// frame; once it is complete the applet waits for events instead of drawing the same picture
// again. Keys as in rayviewer: Z moves the camera one unit towards the scene, S one unit back.
//
// So that hosts and tests can tell when the picture is whole, it writes "rayscene-applet.txt"
// into "@temp_path" at every completion: "complete <frames> <milliseconds>", the frames drawn
// and the time taken since the last camera change.
class RaySceneApplet : public QVApplet, public QVUIListener
{
public:
    RaySceneApplet();
    ~RaySceneApplet() override;

    bool Init(QVUIWindow* window, QVAppletHost* host, QVProperties* parameters) override;
    // Loads the ray tracer, builds the scene and draws until the window is closed. 1 when the
    // ray tracer is missing (said in a box).
    int Run() override;

    void OnKeyDown(QVUIItem* item, unsigned short flags, int key) override;
    void OnSize(QVUIItem* item, int width, int height) override;

private:
    void WriteReport(int frames, double milliseconds);

    QVUIWindow* m_window;
    QVProperties* m_parameters;
    QVRenderer* m_renderer;
    // Made in Run: the scene's nodes gather loader modules when they are made, and gathering
    // loads every module of the directory, this applet's library too.
    std::unique_ptr<DemoScene> m_scene;
    bool m_viewChanged;
};

#ifndef QV_APPS_QVGLVIEW_QVGLVIEW_H
#define QV_APPS_QVGLVIEW_QVGLVIEW_H

#include "apps/demoscene/DemoScene.h"
#include "apps/framework/QVApplication.h"
#include "apps/qvglview/ModelScene.h"
#include "apps/qvglview/ViewOptions.h"
#include "ui/QVUIListener.h"
#include "ui/QVUIWindow.h"

#include <memory>
#include <vector>

class QVImage;
class QVRenderer;

// qvglview: the demonstration scene of rayviewer drawn by the OpenGL renderer module in a window
// of the UI manager module, with the same controls: the mouse orbits the camera (the pointer is
// then warped back to (200, 200) and hidden), Z moves it forward, S back, Q quits. Options show a
// 3D Studio model instead of the scene, put a TGA texture on the sphere and the boxes (or the
// model), or save one frame and end.
//
// Exit codes: 0 after the window closed or the frame was saved; 1 when a module, the model, the
// texture or the screenshot failed; 2 for a command line it does not understand.
class QVGLView : public QVApplication, public QVUIListener
{
public:
    QVGLView();
    ~QVGLView() override;

    // Returns -1: the framework hands over the command line.
    int Run() override;
    int RunArgs(QVArray<QVString>& words) override;

    void OnCommand(QVUIItem* control) override;
    // The renderer's viewport follows the window; the camera keeps the scene's 4:3 aspect, as in
    // rayviewer, so the picture is the same on every window frame, only stretched.
    void OnSize(QVUIItem* item, int width, int height) override;
    void OnMaximize(QVUIItem* item) override;
    void OnMinimize(QVUIItem* item) override;
    // Orbits the camera by a tenth of the pointer's move, then warps the pointer to (200, 200).
    void OnMouseMove(QVUIItem* item, unsigned short flags, int x, int y, int reserved) override;
    // Q (81) quits, Z (90) moves the camera one unit forward, S (83) one unit back.
    void OnKeyDown(QVUIItem* item, unsigned short flags, int key) override;
    void OnKeyUp(QVUIItem* item, unsigned short flags, int key) override;

private:
    // Window, renderer, scene and texture; false (with a message on standard error) when one of
    // them cannot be had.
    bool Init(const ViewOptions& options);
    bool LoadTexture(const std::string& fileName);
    int SaveScreenshot(const std::string& fileName);
    // Releases the scene's renderer data, the texture and the renderer.
    void Shutdown();
    // The materials the texture goes on: the demo scene's four, or the model's default one.
    std::vector<QVSGMaterial*> TexturedMaterials();

    QVUIWindow window;
    QVRenderer* renderer;  // the OpenGL renderer module, null until loaded
    DemoScene scene;
    ModelScene model;
    bool showsModel;                   // with --model
    QVSGWorld* world;                  // the scene shown: the demo scene's or the model's
    QVSGCamera* camera;                // its camera
    std::unique_ptr<QVImage> texture;  // with --texture
};

#endif

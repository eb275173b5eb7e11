#pragma once

#include "apps/common/DemoScene.h"
#include "apps/common/SceneViewer.h"
#include "apps/framework/QVApplication.h"
#include "apps/qvglview/ModelScene.h"
#include "apps/qvglview/ViewOptions.h"

#include <memory>
#include <vector>

class QVImage;
class QVRenderer;

// qvglview: the demonstration scene of rayviewer drawn by the OpenGL renderer module in the same
// scene viewer window with the same controls (apps/common/SceneViewer.h: the mouse orbits the
// camera, Z moves it forward, S back, Q quits). The renderer's viewport follows the window; the
// camera keeps the scene's 4:3 aspect, as in rayviewer, so the picture is the same on every
// window frame, only stretched. Options show a 3D Studio model instead of the scene, put a TGA texture on the sphere and the boxes (or the
// model), or save one frame and end.
//
// Exit codes: 0 after the window closed or the frame was saved; 1 when a module, the model, the
// texture or the screenshot failed; 2 for a command line it does not understand.
class QVGLView : public QVApplication
{
public:
    QVGLView();
    ~QVGLView() override;

    // Returns -1: the framework hands over the command line.
    int Run() override;
    int RunArgs(QVArray<QVString>& words) override;

private:
    // Window, renderer, scene and texture; false (with a message on standard error) when one of
    // them cannot be had.
    bool Init(const ViewOptions& options);
    bool LoadTexture(const std::string& fileName);
    int SaveScreenshot(const std::string& fileName);
    // Releases the scene's renderer data, the texture and the renderer.
    void Shutdown();
    // The materials the texture goes on: the demo scene's four, or the model's untextured ones.
    std::vector<QVSGMaterial*> TexturedMaterials();

    SceneViewer viewer;
    QVRenderer* renderer;  // the OpenGL renderer module, null until loaded
    DemoScene scene;
    ModelScene model;
    bool showsModel;                      // with --model
    QVSGWorld* world;                     // the scene shown: the demo scene's or the model's
    std::unique_ptr<QVImage> texture;     // with --texture
    std::vector<QVSGMaterial*> textured;  // the materials it went on
};

#pragma once

#include "gl/QVGLContext.h"
#include "platform/QVHandle.h"
#include "renderers/QVRenderer.h"
#include "renderers/raytracer/RayImage.h"
#include "renderers/raytracer/RayScene.h"

#include <cstdint>

class QVSGMaterial;
class QVSGWorld;

// The "3D Renderer" of qvraytracer.qvm: traces the world one ray per pixel into a progressively
// refined image (RayImage) and shows it in the host's window as smoothly shaded quad strips of
// row pairs in an orthographic pixel projection. It never opens a window of its own. Operations
// that do not apply to a ray tracer succeed without doing anything.
class QVRaytracer : public QVRenderer
{
public:
    // Descriptor "QV Raytracer", platform "All", type "3D Renderer"; no image, depth 3.
    QVRaytracer();
    // Frees the image and the OpenGL context.
    ~QVRaytracer() override;

    // Allocates the image at the setup's width x height, reads the window's client size and
    // makes the GL context; true whatever the context step gave.
    bool Init(RendererSetup* setup) override;
    // Frees the image's rays.
    void Release() override;
    void Reserved(void* value) override;
    int Resize(int width, int height) override;
    // Pixel projection of the image whatever the camera: (0, 0) bottom left, (W, H) top right.
    void SetProjection(QVSGCamera* camera) override;
    // Camera change detection: a move regenerates the rays, standing still refines.
    void SetView(QVSGCamera* camera) override;
    // On failure tears the window down and ends the process with exit code -1.
    int MakeCurrent() override;
    void BeginFrame() override;
    int EndFrame() override;
    // Remembers a world node (kind bit QVSG_KIND_WORLD) and its default material; true always.
    bool InitNode(QVSGNode* node) override;
    bool UpdateNode(QVSGNode* node) override;
    bool ReleaseNode(QVSGNode* node) override;
    bool EnableLighting(bool enable) override;
    bool SetLight(int index, QVSGLight* light) override;
    bool DrawNode(QVSGNode* node) override;
    bool TestFrame(int value) override;
    void Clear(bool colour, bool depth, bool stencil) override;
    // The colour quantised to 1/255 steps.
    void SetClearColour(QVColor* colour) override;
    // Traces what the refinement level asks, the row ends, and draws the image; true.
    bool RenderScene() override;
    void DrawAxes(float length) override;
    int PumpMessages() override;
    bool CreateOwnWindow(RendererSetup* setup) override;
    // Makes the GL context on the setup's window with the setup's instance (the display
    // connection on X11).
    bool AttachToWindow(RendererSetup* setup) override;

    // The image, for inspection.
    RayImage& GetImage() { return image; }

private:
    // Without a context (AttachToWindow failed) the image is still traced but nothing is drawn:
    // OpenGL calls without a current context are not safe everywhere.
    bool HasContext() const { return renderingContext != nullptr; }
    void DrawImage();

    QVHandle hostWindow;        // the setup's window
    RayImage image;             // rays, size, refinement level and limit, last camera pose
    std::int32_t maximumDepth;  // handed to every primary trace
    QVSGWorld* world;           // the node last passed to InitNode with the world bit
    QVSGMaterial* defaultMaterial;
    QVHandle instance;  // the setup's instance: the display connection on X11
    QVGLContext gl;
    RayScene scene;  // the world as the trace reads it, captured every frame
};

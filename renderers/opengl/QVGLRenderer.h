#pragma once

#include "gl/QVGLContext.h"
#include "gl/QVGLWindow.h"
#include "renderers/QVRenderer.h"

class QVSGCamera;
class QVSGMaterial;
class QVSGWorld;
class TextLogFile;

// The "3D Renderer" of qvoglrenderer.qvm: fixed-function OpenGL in the host's window or in a
// window of its own (optionally full screen). It keeps the world's camera in the projection and
// model-view matrices, loads the world's lights into OpenGL lights and draws meshes from vertex
// arrays with their materials and textures. RenderScene answers false, so the world hands over
// lights and nodes one by one. Nodes are told apart by their kind bits alone.
//
// Without a rendering context (Init failed, or MakeCurrent lost it) the operations make no GL
// calls: OpenGL without a current context is not safe on every system.
class QVGLRenderer : public QVRenderer
{
public:
    // Descriptor: "qvoglrenderer.qvm", "OpenGL Renderer", "Win32/Linux", "3D Renderer".
    QVGLRenderer();
    // Release(); the report file stops being the trace hook's sink.
    ~QVGLRenderer() override;

    // Starts the report file "gl_output.txt", copies the setup's size and bit depths, forgets
    // the camera, then opens an own window (the setup's createOwnWindow non-zero) or attaches to
    // the setup's window, and looks up the entry-point table. The window step's result is the
    // ready flag.
    bool Init(RendererSetup* setup) override;
    // Deletes the context and releases the drawing surface. An own window stays; a display mode
    // switched on X11 is put back (on Windows the process end does that).
    void Release() override;
    void Reserved(void* value) override;
    // Stores the size, sets the viewport and the default projection (SetProjection(null)).
    int Resize(int width, int height) override;
    // The camera's projection, else the last camera's, else 90 degrees with the viewport's
    // integer aspect quotient (a zero height counts as 1), near 0.1 and far 1000.
    void SetProjection(QVSGCamera* camera) override;
    // The camera's view matrix into the model-view matrix; null changes nothing.
    void SetView(QVSGCamera* camera) override;
    // Non-zero when the context is current; a refusal frees the context and the drawing surface.
    int MakeCurrent() override;
    // MakeCurrent, identity model-view, back buffer, depth test, back faces culled (clockwise
    // fronts), smooth shading, one-sided lighting with a local viewer.
    void BeginFrame() override;
    int EndFrame() override;
    bool InitNode(QVSGNode* node) override;
    bool UpdateNode(QVSGNode* node) override;
    bool ReleaseNode(QVSGNode* node) override;
    bool EnableLighting(bool enable) override;
    // Loads light number index (0 to 7: the lights OpenGL guarantees) with the light's position
    // under the current model-view matrix and its three colours, and enables it; other numbers
    // are left alone. True.
    bool SetLight(int index, QVSGLight* light) override;
    bool DrawNode(QVSGNode* node) override;
    // A fixed frame: axes and a spinning triangle in a 45 degree perspective, then shown.
    bool TestFrame(int value) override;
    void Clear(bool colour, bool depth, bool stencil) override;
    // The colour quantised to 1/255 steps.
    void SetClearColour(QVColor* colour) override;
    // False: the world draws node by node.
    bool RenderScene() override;
    void DrawAxes(float length) override;
    // 18 when the renderer's window is being closed (see QVGLWindow::PumpMessage), else 0.
    int PumpMessages() override;
    // Opens the window "Window Sample" (full screen when asked and possible), attaches, shows
    // it, writes the GL report and sets the viewport. False when a step fails.
    bool CreateOwnWindow(RendererSetup* setup) override;
    // Makes the context on the setup's window with the setup's instance and the bit depths.
    bool AttachToWindow(RendererSetup* setup) override;

    // Whether the last Init found "glCreateShader" among the entry points.
    bool HasShaderEntryPoints() const { return shaderEntryPoints; }
    // Whether the own window switched the display mode.
    bool IsFullScreen() const { return ownWindow.IsFullScreen(); }

private:
    bool HasContext() const { return renderingContext != nullptr; }
    void LoadProjection(QVSGCamera& from);
    // Material for face groups without one: the remembered world's default, or null.
    QVSGMaterial* DefaultMaterial();

    // The members every OpenGL renderer keeps, in this order.
    QVSGCamera* camera;  // last passed to SetProjection; null after Init
    QVSGWorld* world;    // last world passed to InitNode
    TextLogFile* log;    // the report file, made by the first Init

    // This implementation's own.
    QVGLContext gl;
    QVGLWindow ownWindow;
    bool shaderEntryPoints;
};

#pragma once

#include "modules/QVModule.h"
#include "platform/QVHandle.h"
#include "renderers/RendererSetup.h"

#include <cstdint>

class QVColor;
class QVSGCamera;
class QVSGLight;
class QVSGNode;

// The module kind "3D Renderer": turns a world of scene nodes into pixels in a window. A host
// loads a renderer module by file name, calls Init once, attaches its world, and from then on the
// world drives the renderer frame by frame (BeginFrame ... EndFrame); nodes reach it through
// InitNode/UpdateNode/ReleaseNode/DrawNode. Renderers decide what a node is by its kind bits and
// class code only.
//
// Layout contract with separately built libraries: the virtual operations follow the three
// slots of QVModule in the order declared here, and the members below come right after the
// QVModule part in this order (hosts read them through the inline accessors, compiled into the
// host). Implementations append their own members and never reorder these. Boolean results are
// one byte; operations a renderer has no use for still succeed (true, or 0).
//
// Everything here is inline or pure, so the class has no key function: each library that needs
// its type information or table emits its own copy, and linking the scene classes (which call
// through it) never pulls in a library of its own.
class QVRenderer : public QVModule
{
public:
    // The module type that renderer modules set and hosts check before using a module as one.
    static constexpr const char* ModuleType = "3D Renderer";

    QVRenderer()
        : viewportWidth(0), viewportHeight(0), colourBits(0), depthBits(0), stencilBits(0),
          ready(false), window(nullptr), deviceContext(nullptr), renderingContext(nullptr)
    {
    }
    ~QVRenderer() override {}

    // Slot 3. Prepares the renderer for the setup's window; the result becomes the ready flag.
    // The setup is only read during the call (an own window is written back into it).
    virtual bool Init(RendererSetup* setup) = 0;
    // Slot 4. Frees what Init made (contexts, buffers); the module object stays.
    virtual void Release() = 0;
    // Slot 5. Reserved; does nothing.
    virtual void Reserved(void* value) = 0;
    // Slot 6. The window's client size changed; returns 0 on success.
    virtual int Resize(int width, int height) = 0;
    // Slot 7. Loads the projection of camera; null means the renderer's default projection.
    virtual void SetProjection(QVSGCamera* camera) = 0;
    // Slot 8. Loads the view of camera (null: nothing changes).
    virtual void SetView(QVSGCamera* camera) = 0;
    // Slot 9. Makes the renderer's context current on the calling thread; non-zero on success.
    virtual int MakeCurrent() = 0;
    // Slot 10. Starts a frame.
    virtual void BeginFrame() = 0;
    // Slot 11. Ends a frame and shows it; non-zero on success.
    virtual int EndFrame() = 0;
    // Slot 12. Binds a node (the world node: remembered as the world); false refuses the node,
    // which then stays unbound. The node stays owned by the host.
    virtual bool InitNode(QVSGNode* node) = 0;
    // Slot 13. The node's data changed.
    virtual bool UpdateNode(QVSGNode* node) = 0;
    // Slot 14. Drops what InitNode made for the node.
    virtual bool ReleaseNode(QVSGNode* node) = 0;
    // Slot 15. Switches lighting on or off.
    virtual bool EnableLighting(bool enable) = 0;
    // Slot 16. Loads light number index; the light stays owned by the host.
    virtual bool SetLight(int index, QVSGLight* light) = 0;
    // Slot 17. Draws a bound, visible node.
    virtual bool DrawNode(QVSGNode* node) = 0;
    // Slot 18. Draws a fixed self-test frame; the argument is ignored.
    virtual bool TestFrame(int value) = 0;
    // Slot 19. Clears the requested buffers.
    virtual void Clear(bool colour, bool depth, bool stencil) = 0;
    // Slot 20. Colour for later clears; read during the call only.
    virtual void SetClearColour(QVColor* colour) = 0;
    // Slot 21. Draws the whole world at once and returns true, or returns false so that the
    // world hands over lights and nodes one by one.
    virtual bool RenderScene() = 0;
    // Slot 22. Draws the three coordinate axes of the given length.
    virtual void DrawAxes(float length) = 0;
    // Slot 23. Handles one pending message of an own window; 18 when that window is closing.
    virtual int PumpMessages() = 0;
    // Slot 24. Opens an own window as the setup describes, then attaches to it.
    virtual bool CreateOwnWindow(RendererSetup* setup) = 0;
    // Slot 25. Makes a rendering context on the setup's window; false without a window.
    virtual bool AttachToWindow(RendererSetup* setup) = 0;

    // What hosts read, compiled into the host.
    int GetViewportWidth() const { return viewportWidth; }
    int GetViewportHeight() const { return viewportHeight; }
    // True once Init succeeded; worlds refuse to attach to or draw with a renderer that is not.
    bool IsReady() const { return ready; }

protected:
    std::int32_t viewportWidth;  // client size of the window, pixels
    std::int32_t viewportHeight;
    std::int32_t colourBits;  // copied from the setup by renderers that use them
    std::int32_t depthBits;
    std::int32_t stencilBits;
    bool ready;                 // result of Init
    QVHandle window;            // the window drawn into
    QVHandle deviceContext;     // platform drawing surface of the window
    QVHandle renderingContext;  // the OpenGL context
};

#include "gl/QVGLContext.h"

#include "gl/webgl/FixedState.h"

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <cmath>
#include <cstdint>
#include <string>

// On the web the window is the page element "qvwin-N" (N is the handle) with its canvas
// "qvwin-N-canvas"; the context is a WebGL 1 context on that canvas, and OpenGL 1.x calls reach
// it through the layer in gl/webgl, which keeps one fixed-function state per context.
namespace
{
int WindowNumber(QVHandle handle)
{
    return static_cast<int>(reinterpret_cast<std::intptr_t>(handle));
}

std::string CanvasSelector(QVHandle window)
{
    return "#qvwin-" + std::to_string(WindowNumber(window)) + "-canvas";
}

EMSCRIPTEN_WEBGL_CONTEXT_HANDLE ContextOf(QVHandle handle)
{
    return static_cast<EMSCRIPTEN_WEBGL_CONTEXT_HANDLE>(reinterpret_cast<std::intptr_t>(handle));
}

// Canvas pixels per window pixel: what the UI manager made the canvas with (1 when it says
// nothing).
EM_JS(double, CanvasPixelScale, (const char* selector), {
    const canvas =
        Module.qvFindCanvas && Module.qvFindCanvas(UTF8ToString(selector)) ||
        (typeof document != 'undefined' && document.querySelector(UTF8ToString(selector)));
    return (canvas && Number(canvas.dataset.qvScale)) || 1;
});

// In a worker the canvas comes from the page (Module.qvCanvasState: 1 here, 0 asked for, -1
// refused); on the page's thread it is in the page.
EM_JS(int, CanvasState, (int number),
      { return typeof Module.qvCanvasState == 'function' ? Module.qvCanvasState(number) : 1; });

// Whether the window's canvas is here; a program in a worker waits for the page to hand it over
// (the page yields meanwhile).
bool WaitForCanvas(QVHandle window)
{
    int state = 0;
    while ((state = CanvasState(WindowNumber(window))) == 0)
    {
        emscripten_sleep(1);
    }
    return state > 0;
}

EM_JS(void, RemoveContextWindowElement, (int number), {
    if (typeof Module.qvRemoveElement == 'function' && typeof document == 'undefined')
        return Module.qvRemoveElement(number);
    const element = document.getElementById("qvwin-" + number);
    if (element && element.parentNode)
    {
        element.parentNode.removeChild(element);
    }
});
}  // namespace

QVGLContext::QVGLContext()
    : window(nullptr), deviceContext(nullptr), renderingContext(nullptr), ownConnection(false)
{
}

QVGLContext::~QVGLContext() { Destroy(); }

bool QVGLContext::Create(QVHandle, QVHandle windowHandle, int, int depthBits, int stencilBits)
{
    Destroy();
    if (windowHandle == nullptr || WindowNumber(windowHandle) <= 0)
    {
        return false;
    }
    if (!WaitForCanvas(windowHandle))
    {
        return false;
    }
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.majorVersion = 1;
    attributes.minorVersion = 0;
    // Opaque as a window is (a clear colour's alpha must not show the page through), aliased as
    // the desktop pixel formats are, and kept after a frame is shown so that glReadPixels and
    // screenshots read what is on the screen.
    attributes.alpha = EM_FALSE;
    attributes.antialias = EM_FALSE;
    attributes.preserveDrawingBuffer = EM_TRUE;
    attributes.depth = EM_TRUE;
    attributes.stencil = stencilBits > 0 ? EM_TRUE : EM_FALSE;
    attributes.premultipliedAlpha = EM_FALSE;
    (void)depthBits;  // WebGL chooses the depth precision itself (24 bits or more)
    const std::string selector = CanvasSelector(windowHandle);
    const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context =
        emscripten_webgl_create_context(selector.c_str(), &attributes);
    if (context <= 0)
    {
        return false;
    }
    if (emscripten_webgl_make_context_current(context) != EMSCRIPTEN_RESULT_SUCCESS)
    {
        emscripten_webgl_destroy_context(context);
        return false;
    }
    int width = 0;
    int height = 0;
    emscripten_get_canvas_element_size(selector.c_str(), &width, &height);
    CreateFixedState(static_cast<int>(context), width, height,
                     static_cast<float>(CanvasPixelScale(selector.c_str())));
    window = windowHandle;
    // No drawing surface apart from the context: the canvas element stands for both.
    deviceContext = windowHandle;
    renderingContext = reinterpret_cast<QVHandle>(static_cast<std::intptr_t>(context));
    return true;
}

bool QVGLContext::MakeCurrent()
{
    if (renderingContext == nullptr)
    {
        return true;
    }
    const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = ContextOf(renderingContext);
    if (emscripten_webgl_make_context_current(context) != EMSCRIPTEN_RESULT_SUCCESS)
    {
        return false;
    }
    SelectFixedState(static_cast<int>(context));
    return true;
}

bool QVGLContext::SwapBuffers()
{
    // The browser shows the canvas when control returns to it; with the drawing buffer kept there
    // is nothing to swap.
    return renderingContext != nullptr;
}

void QVGLContext::Destroy()
{
    if (renderingContext == nullptr)
    {
        return;
    }
    const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = ContextOf(renderingContext);
    DropFixedState(static_cast<int>(context));
    if (emscripten_webgl_get_current_context() == context)
    {
        emscripten_webgl_make_context_current(0);
    }
    emscripten_webgl_destroy_context(context);
    renderingContext = nullptr;
    deviceContext = nullptr;
    ownConnection = false;  // the web has no display connections to close
}

void QVGLContext::DestroyWindow()
{
    if (window == nullptr)
    {
        return;
    }
    RemoveContextWindowElement(WindowNumber(window));
    window = nullptr;
}

bool QVGLContext::GetClientSize(QVHandle, QVHandle windowHandle, int& width, int& height)
{
    width = 0;
    height = 0;
    if (windowHandle == nullptr)
    {
        return false;
    }
    if (!WaitForCanvas(windowHandle))
    {
        return false;
    }
    const std::string selector = CanvasSelector(windowHandle);
    if (emscripten_get_canvas_element_size(selector.c_str(), &width, &height) !=
        EMSCRIPTEN_RESULT_SUCCESS)
    {
        return false;
    }
    // In window pixels, as the window's owner sees it: a sharp canvas holds more.
    const double scale = CanvasPixelScale(selector.c_str());
    width = static_cast<int>(std::lround(width / scale));
    height = static_cast<int>(std::lround(height / scale));
    return true;
}

void* QVGLContext::LookUpEntryPoint(const char*)
{
    // The layer is OpenGL 1.x only: the later entry points (shaders, buffers) are not offered.
    return nullptr;
}

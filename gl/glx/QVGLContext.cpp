#include "gl/QVGLContext.h"

#include "gl/glx/X11ErrorTrap.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <GL/glx.h>

#include <cstdint>

namespace
{
Window ToWindow(QVHandle handle)
{
    return static_cast<Window>(reinterpret_cast<std::uintptr_t>(handle));
}
}  // namespace

QVGLContext::QVGLContext()
    : window(nullptr), deviceContext(nullptr), renderingContext(nullptr), ownConnection(false)
{
}

QVGLContext::~QVGLContext() { Destroy(); }

bool QVGLContext::Create(QVHandle instance, QVHandle windowHandle, int, int, int)
{
    Destroy();
    if (windowHandle == nullptr)
    {
        return false;
    }
    Display* display = static_cast<Display*>(instance);
    bool own = false;
    if (display == nullptr)
    {
        display = XOpenDisplay(nullptr);
        own = true;
        if (display == nullptr)
        {
            return false;
        }
    }
    const Window xwindow = ToWindow(windowHandle);
    GLXContext context = nullptr;
    {
        X11ErrorTrap trap(display);
        XWindowAttributes attributes = {};
        if (XGetWindowAttributes(display, xwindow, &attributes) != 0 && !trap.Failed())
        {
            // The context must match the visual the window was made with.
            XVisualInfo wanted = {};
            wanted.visualid = XVisualIDFromVisual(attributes.visual);
            int count = 0;
            XVisualInfo* visual = XGetVisualInfo(display, VisualIDMask, &wanted, &count);
            int usesGL = 0;
            int doubleBuffered = 0;
            if (visual != nullptr && count > 0 &&
                glXGetConfig(display, visual, GLX_USE_GL, &usesGL) == 0 && usesGL &&
                glXGetConfig(display, visual, GLX_DOUBLEBUFFER, &doubleBuffered) == 0 &&
                doubleBuffered)
            {
                context = glXCreateContext(display, visual, nullptr, True);
            }
            if (visual != nullptr)
            {
                XFree(visual);
            }
        }
        if (context != nullptr && (!glXMakeCurrent(display, xwindow, context) || trap.Failed()))
        {
            glXDestroyContext(display, context);
            context = nullptr;
        }
    }
    if (context == nullptr)
    {
        if (own)
        {
            XCloseDisplay(display);
        }
        return false;
    }
    window = windowHandle;
    deviceContext = display;
    renderingContext = context;
    ownConnection = own;
    return true;
}

bool QVGLContext::MakeCurrent()
{
    Display* display = static_cast<Display*>(deviceContext);
    if (display == nullptr)
    {
        // Nothing to make current (the context was never made): not a failure of the window system.
        return true;
    }
    return glXMakeCurrent(display, ToWindow(window), static_cast<GLXContext>(renderingContext)) !=
           False;
}

bool QVGLContext::SwapBuffers()
{
    Display* display = static_cast<Display*>(deviceContext);
    if (display == nullptr || renderingContext == nullptr)
    {
        return false;
    }
    glXSwapBuffers(display, ToWindow(window));
    return true;
}

void QVGLContext::Destroy()
{
    Display* display = static_cast<Display*>(deviceContext);
    if (display == nullptr)
    {
        return;
    }
    if (renderingContext != nullptr)
    {
        if (glXGetCurrentContext() == static_cast<GLXContext>(renderingContext))
        {
            glXMakeCurrent(display, None, nullptr);
        }
        glXDestroyContext(display, static_cast<GLXContext>(renderingContext));
        renderingContext = nullptr;
    }
    if (ownConnection)
    {
        XCloseDisplay(display);
        ownConnection = false;
    }
    deviceContext = nullptr;
}

void QVGLContext::DestroyWindow()
{
    if (window == nullptr)
    {
        return;
    }
    // The context may be gone already; window ids are valid on any connection to the display.
    Display* display = static_cast<Display*>(deviceContext);
    const bool own = display == nullptr;
    if (own)
    {
        display = XOpenDisplay(nullptr);
    }
    if (display != nullptr)
    {
        {
            X11ErrorTrap trap(display);
            XDestroyWindow(display, ToWindow(window));
        }
        if (own)
        {
            XCloseDisplay(display);
        }
    }
    window = nullptr;
}

bool QVGLContext::GetClientSize(QVHandle instance, QVHandle windowHandle, int& width, int& height)
{
    width = 0;
    height = 0;
    if (windowHandle == nullptr)
    {
        return false;
    }
    Display* display = static_cast<Display*>(instance);
    const bool own = display == nullptr;
    if (own)
    {
        display = XOpenDisplay(nullptr);
        if (display == nullptr)
        {
            return false;
        }
    }
    bool ok = false;
    {
        X11ErrorTrap trap(display);
        XWindowAttributes attributes = {};
        if (XGetWindowAttributes(display, ToWindow(windowHandle), &attributes) != 0 &&
            !trap.Failed())
        {
            width = attributes.width;
            height = attributes.height;
            ok = true;
        }
    }
    if (own)
    {
        XCloseDisplay(display);
    }
    return ok;
}

void* QVGLContext::LookUpEntryPoint(const char* name)
{
    if (name == nullptr)
    {
        return nullptr;
    }
    return reinterpret_cast<void*>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}

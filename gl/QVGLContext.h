#pragma once

#include "platform/QVHandle.h"

// An OpenGL rendering context on a window that someone else owns: WGL on Windows (the window is
// an HWND, the instance is unused), GLX on X11 (the window is an X window id, the instance the
// program's Display* or null, in which case the binding opens a connection of its own). One
// context per object; the thread that creates it must be the one that draws.
class QVGLContext
{
public:
    QVGLContext();
    // Destroy().
    ~QVGLContext();
    QVGLContext(const QVGLContext&) = delete;
    QVGLContext& operator=(const QVGLContext&) = delete;

    // Makes a double-buffered RGBA context on window and makes it current. On Windows the pixel
    // format asks for the given colour, depth and stencil bits; on X11 the context takes the
    // window's visual, which fixes them. False when window is null or a step fails; a failed
    // step leaves no context. On Windows a failed GetDC destroys the window as well.
    bool Create(QVHandle instance, QVHandle window, int colourBits, int depthBits = 0,
                int stencilBits = 0);
    // Makes the context current on this thread; true without doing anything when there is no
    // context. False when the window system refuses.
    bool MakeCurrent();
    // Shows the back buffer; false without a context.
    bool SwapBuffers();
    // Deletes the context and releases the drawing surface (and an own display connection).
    void Destroy();
    // Destroys the window the context was made on (the host's window).
    void DestroyWindow();

    // The drawing surface (HDC; the Display* on X11) and the context (HGLRC; GLXContext), null
    // when there is none.
    QVHandle GetDeviceContext() const { return deviceContext; }
    QVHandle GetRenderingContext() const { return renderingContext; }

    // The client size of window in pixels; false (0 x 0) when it cannot be read.
    static bool GetClientSize(QVHandle instance, QVHandle window, int& width, int& height);

    // The address of an OpenGL entry point by its exact name (wglGetProcAddress on Windows,
    // which answers only while a context is current; glXGetProcAddressARB on X11), or null.
    static void* LookUpEntryPoint(const char* name);

private:
    QVHandle window;
    QVHandle deviceContext;
    QVHandle renderingContext;
    bool ownConnection;  // X11: the binding opened the display itself
};

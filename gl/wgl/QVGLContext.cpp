#include "gl/QVGLContext.h"

#include <windows.h>

#include <GL/gl.h>

QVGLContext::QVGLContext()
    : window(nullptr), deviceContext(nullptr), renderingContext(nullptr), ownConnection(false)
{
}

QVGLContext::~QVGLContext() { Destroy(); }

bool QVGLContext::Create(QVHandle, QVHandle windowHandle, int colourBits, int depthBits,
                         int stencilBits)
{
    Destroy();
    if (windowHandle == nullptr)
    {
        return false;
    }
    HWND hwnd = static_cast<HWND>(windowHandle);
    HDC dc = GetDC(hwnd);
    if (dc == nullptr)
    {
        ::DestroyWindow(hwnd);
        return false;
    }
    // Size 40, version 1, draw to window | support OpenGL | double buffer (37), RGBA, the three
    // bit depths; every other field zero.
    PIXELFORMATDESCRIPTOR format = {};
    format.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = static_cast<BYTE>(colourBits);
    format.cDepthBits = static_cast<BYTE>(depthBits);
    format.cStencilBits = static_cast<BYTE>(stencilBits);
    const int index = ChoosePixelFormat(dc, &format);
    if (index == 0 || !SetPixelFormat(dc, index, &format))
    {
        ReleaseDC(hwnd, dc);
        return false;
    }
    HGLRC context = wglCreateContext(dc);
    if (context == nullptr)
    {
        ReleaseDC(hwnd, dc);
        return false;
    }
    if (!wglMakeCurrent(dc, context))
    {
        wglDeleteContext(context);
        ReleaseDC(hwnd, dc);
        return false;
    }
    window = windowHandle;
    deviceContext = dc;
    renderingContext = context;
    return true;
}

bool QVGLContext::MakeCurrent()
{
    // Nothing to make current (the context was never made): not a failure of the window system.
    if (renderingContext == nullptr)
    {
        return true;
    }
    return wglMakeCurrent(static_cast<HDC>(deviceContext), static_cast<HGLRC>(renderingContext)) !=
           FALSE;
}

bool QVGLContext::SwapBuffers()
{
    return deviceContext != nullptr && ::SwapBuffers(static_cast<HDC>(deviceContext)) != FALSE;
}

void QVGLContext::Destroy()
{
    if (renderingContext != nullptr)
    {
        if (wglGetCurrentContext() == static_cast<HGLRC>(renderingContext))
        {
            wglMakeCurrent(nullptr, nullptr);
        }
        wglDeleteContext(static_cast<HGLRC>(renderingContext));
        renderingContext = nullptr;
    }
    if (deviceContext != nullptr)
    {
        ReleaseDC(static_cast<HWND>(window), static_cast<HDC>(deviceContext));
        deviceContext = nullptr;
    }
}

void QVGLContext::DestroyWindow()
{
    if (window != nullptr)
    {
        ::DestroyWindow(static_cast<HWND>(window));
        window = nullptr;
    }
}

bool QVGLContext::GetClientSize(QVHandle, QVHandle windowHandle, int& width, int& height)
{
    width = 0;
    height = 0;
    RECT rect = {};
    if (windowHandle == nullptr || !GetClientRect(static_cast<HWND>(windowHandle), &rect))
    {
        return false;
    }
    width = rect.right - rect.left;
    height = rect.bottom - rect.top;
    return true;
}

void* QVGLContext::LookUpEntryPoint(const char* name)
{
    if (name == nullptr)
    {
        return nullptr;
    }
    return reinterpret_cast<void*>(wglGetProcAddress(name));
}

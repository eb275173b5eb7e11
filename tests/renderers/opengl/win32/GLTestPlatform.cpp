#include "tests/renderers/opengl/GLTestPlatform.h"

#include <windows.h>

QVHandle GLTestPlatform::ProgramInstance() { return GetModuleHandleA(nullptr); }

bool GLTestPlatform::HasDisplay() { return true; }

void GLTestPlatform::DestroyWindow(QVHandle window)
{
    if (window != nullptr)
    {
        ::DestroyWindow(static_cast<HWND>(window));
    }
}

void GLTestPlatform::RequestClose(QVHandle window)
{
    PostMessageA(static_cast<HWND>(window), WM_SYSCOMMAND, SC_CLOSE, 0);
}

void GLTestPlatform::Pause() { Sleep(1); }

#pragma once

#include "platform/QVHandle.h"

// What the OpenGL tests need of the window system, one implementation per target (posix/,
// win32/).
namespace GLTestPlatform
{
// The instance handle a program hands its renderer: the program's Display* on X11 (kept open
// until the process ends, as a program's is), the program's HINSTANCE on Windows. Null on X11
// when there is no display.
QVHandle ProgramInstance();
// Whether windows can be opened at all.
bool HasDisplay();
// Destroys a window that a renderer opened (it would otherwise stay until the process ends).
void DestroyWindow(QVHandle window);
// Asks the window to close as the window manager does when the user closes it: the delete
// request of the X11 protocols; the close command posted to the window on Windows.
void RequestClose(QVHandle window);
// A short wait (a millisecond) for the window system.
void Pause();
}  // namespace GLTestPlatform

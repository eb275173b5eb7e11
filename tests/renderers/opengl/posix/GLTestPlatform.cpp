#include "tests/renderers/opengl/GLTestPlatform.h"

#include "gl/glx/X11ErrorTrap.h"

#include <X11/Xlib.h>

#include <chrono>
#include <cstdint>
#include <thread>

QVHandle GLTestPlatform::ProgramInstance()
{
    static Display* display = XOpenDisplay(nullptr);
    return display;
}

bool GLTestPlatform::HasDisplay() { return ProgramInstance() != nullptr; }

void GLTestPlatform::DestroyWindow(QVHandle window)
{
    Display* display = static_cast<Display*>(ProgramInstance());
    if (display != nullptr && window != nullptr)
    {
        // A window the test destroyed already is no failure.
        X11ErrorTrap trap(display);
        XDestroyWindow(display, static_cast<Window>(reinterpret_cast<std::uintptr_t>(window)));
    }
}

void GLTestPlatform::RequestClose(QVHandle window)
{
    Display* display = static_cast<Display*>(ProgramInstance());
    if (display == nullptr || window == nullptr)
    {
        return;
    }
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = static_cast<Window>(reinterpret_cast<std::uintptr_t>(window));
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
    XFlush(display);
}

void GLTestPlatform::Pause() { std::this_thread::sleep_for(std::chrono::milliseconds(1)); }

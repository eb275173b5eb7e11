#pragma once

#include <X11/Xlib.h>

// X reports a bad window id or a refused request through an error handler that ends the process
// by default. While the GL binding works with windows it was handed, or makes windows of its
// own, errors are only noted: a failing Windows call simply has no effect, and so should these.
class X11ErrorTrap
{
public:
    explicit X11ErrorTrap(Display* display) : display(display)
    {
        ErrorSeen() = false;
        previous = XSetErrorHandler(NoteError);
    }
    ~X11ErrorTrap()
    {
        XSync(display, False);
        XSetErrorHandler(previous);
    }
    X11ErrorTrap(const X11ErrorTrap&) = delete;
    X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

    // Whether a request made since the trap was set failed (waits for the server's answers).
    bool Failed()
    {
        XSync(display, False);
        return ErrorSeen();
    }

private:
    static bool& ErrorSeen()
    {
        static bool seen = false;
        return seen;
    }
    static int NoteError(Display*, XErrorEvent*)
    {
        ErrorSeen() = true;
        return 0;
    }

    Display* display;
    int (*previous)(Display*, XErrorEvent*);
};

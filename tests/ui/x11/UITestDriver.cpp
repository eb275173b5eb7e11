// X11 test driver: events are sent from a connection of the test's own, as another client (a
// window manager, an input tool) would send them.
#include "tests/ui/UITestDriver.h"

#include "ui/QVUIListener.h"
#include "ui/x11/QVUIManagerX11.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <vector>

namespace
{

Display* Connection()
{
    static Display* display = XOpenDisplay(nullptr);
    return display;
}

Window WindowOf(QVHandle handle)
{
    return static_cast<Window>(reinterpret_cast<std::uintptr_t>(handle));
}

KeySym SymbolOf(int virtualKey)
{
    if (virtualKey >= 'A' && virtualKey <= 'Z')
        return XK_a + static_cast<KeySym>(virtualKey - 'A');
    if (virtualKey >= '0' && virtualKey <= '9')
        return XK_0 + static_cast<KeySym>(virtualKey - '0');
    if (virtualKey >= 0x70 && virtualKey <= 0x7B)
        return XK_F1 + static_cast<KeySym>(virtualKey - 0x70);
    switch (virtualKey)
    {
    case 0x0D:
        return XK_Return;
    case 0x1B:
        return XK_Escape;
    case 0x20:
        return XK_space;
    case 0x25:
        return XK_Left;
    case 0x26:
        return XK_Up;
    case 0x27:
        return XK_Right;
    case 0x28:
        return XK_Down;
    default:
        return NoSymbol;
    }
}

void Send(Window window, long mask, XEvent& event)
{
    Display* display = Connection();
    event.xany.display = display;
    XSendEvent(display, window, False, mask, &event);
    XSync(display, False);
}

std::map<Window, int> foreignKeyPresses;

}  // namespace

namespace UITestDriver
{

bool HasDisplay() { return Connection() != nullptr; }

QVUIManager* CreateManager() { return new QVUIManagerX11(); }

void ReleaseManager(QVUIManager* manager) { delete manager; }

void Key(QVHandle window, int virtualKey, bool down)
{
    Display* display = Connection();
    XEvent event = {};
    event.xkey.type = down ? KeyPress : KeyRelease;
    event.xkey.window = WindowOf(window);
    event.xkey.root = DefaultRootWindow(display);
    event.xkey.keycode = XKeysymToKeycode(display, SymbolOf(virtualKey));
    event.xkey.same_screen = True;
    Send(WindowOf(window), down ? KeyPressMask : KeyReleaseMask, event);
}

void MouseMove(QVHandle window, int x, int y, unsigned short flags)
{
    unsigned int state = 0;
    if (flags & QV_MOUSE_SHIFT)
        state |= ShiftMask;
    if (flags & QV_MOUSE_CONTROL)
        state |= ControlMask;
    if (flags & QV_MOUSE_LEFT)
        state |= Button1Mask;
    if (flags & QV_MOUSE_MIDDLE)
        state |= Button2Mask;
    if (flags & QV_MOUSE_RIGHT)
        state |= Button3Mask;
    XEvent event = {};
    event.xmotion.type = MotionNotify;
    event.xmotion.window = WindowOf(window);
    event.xmotion.root = DefaultRootWindow(Connection());
    event.xmotion.x = x;
    event.xmotion.y = y;
    event.xmotion.state = state;
    event.xmotion.same_screen = True;
    Send(WindowOf(window), PointerMotionMask, event);
}

void Click(QVHandle window)
{
    for (int type : {ButtonPress, ButtonRelease})
    {
        XEvent event = {};
        event.xbutton.type = type;
        event.xbutton.window = WindowOf(window);
        event.xbutton.root = DefaultRootWindow(Connection());
        event.xbutton.button = Button1;
        event.xbutton.x = 5;
        event.xbutton.y = 5;
        event.xbutton.state = type == ButtonRelease ? Button1Mask : 0;
        event.xbutton.same_screen = True;
        Send(WindowOf(window), type == ButtonPress ? ButtonPressMask : ButtonReleaseMask, event);
    }
}

void ResizeChild(QVHandle window, int width, int height)
{
    XResizeWindow(Connection(), WindowOf(window), static_cast<unsigned>(width),
                  static_cast<unsigned>(height));
    XSync(Connection(), False);
}

namespace
{
// The window manager's state list of the window: read it, change it and write it back, as a
// window manager does.
std::vector<Atom> GetState(QVHandle window)
{
    Display* display = Connection();
    std::vector<Atom> atoms;
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, WindowOf(window), XInternAtom(display, "_NET_WM_STATE", False),
                           0, 64, False, XA_ATOM, &type, &format, &count, &remaining,
                           &data) == Success &&
        data != nullptr && format == 32)
    {
        const long* values = reinterpret_cast<const long*>(data);
        for (unsigned long i = 0; i < count; ++i)
            atoms.push_back(static_cast<Atom>(values[i]));
    }
    if (data != nullptr)
        XFree(data);
    return atoms;
}

void SetState(QVHandle window, const std::vector<Atom>& atoms)
{
    Display* display = Connection();
    XChangeProperty(display, WindowOf(window), XInternAtom(display, "_NET_WM_STATE", False),
                    XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(atoms.data()),
                    static_cast<int>(atoms.size()));
    XSync(display, False);
}

Atom StateAtom(const char* name) { return XInternAtom(Connection(), name, False); }
}  // namespace

void Minimize(QVHandle window)
{
    std::vector<Atom> atoms = GetState(window);
    atoms.push_back(StateAtom("_NET_WM_STATE_HIDDEN"));
    SetState(window, atoms);
}

void Maximize(QVHandle window)
{
    SetState(window, {StateAtom("_NET_WM_STATE_MAXIMIZED_VERT"),
                      StateAtom("_NET_WM_STATE_MAXIMIZED_HORZ")});
}

void Restore(QVHandle window)
{
    std::vector<Atom> atoms = GetState(window);
    atoms.erase(std::remove(atoms.begin(), atoms.end(), StateAtom("_NET_WM_STATE_HIDDEN")),
                atoms.end());
    SetState(window, atoms);
}

void ClientSize(QVHandle window, int& width, int& height)
{
    XWindowAttributes attributes = {};
    XGetWindowAttributes(Connection(), WindowOf(window), &attributes);
    width = attributes.width;
    height = attributes.height;
}

void CloseFromWindowManager(QVHandle window)
{
    Display* display = Connection();
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = WindowOf(window);
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    Send(WindowOf(window), NoEventMask, event);
}

QVHandle CreateForeignWindow()
{
    Display* display = Connection();
    Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 64, 64, 0, 0, 0);
    XSelectInput(display, window, KeyPressMask);
    XSync(display, False);
    foreignKeyPresses[window] = 0;
    return reinterpret_cast<QVHandle>(static_cast<std::uintptr_t>(window));
}

int ForeignKeyPresses(QVHandle handle)
{
    // The foreign client's own event loop: count what reached it.
    Display* display = Connection();
    Window window = WindowOf(handle);
    XSync(display, False);
    XEvent event;
    while (XCheckWindowEvent(display, window, KeyPressMask, &event))
        ++foreignKeyPresses[window];
    return foreignKeyPresses[window];
}

void DestroyForeignWindow(QVHandle window)
{
    XDestroyWindow(Connection(), WindowOf(window));
    XSync(Connection(), False);
    foreignKeyPresses.erase(WindowOf(window));
}

void DestroyManagedWindow(QVHandle window)
{
    // The manager's connection closes with the manager, and its windows with it.
    XDestroyWindow(Connection(), WindowOf(window));
    XSync(Connection(), False);
}

void DrainQueue() {}

}  // namespace UITestDriver

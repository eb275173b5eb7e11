#include "gl/QVGLWindow.h"

#include "gl/glx/X11ErrorTrap.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrandr.h>

#include <GL/glx.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>

namespace
{
const char kTitle[] = "Window Sample";

Window ToWindow(QVHandle handle)
{
    return static_cast<Window>(reinterpret_cast<std::uintptr_t>(handle));
}

QVHandle ToHandle(Window window)
{
    return reinterpret_cast<QVHandle>(static_cast<std::uintptr_t>(window));
}

// The display mode before a switch. An XRandR change belongs to the server, not to the process:
// left alone it would outlive the program and leave the desktop at the wrong size. It is put
// back when the window asks, and otherwise when the library's static objects are destroyed (the
// program ends, or the module holding this code is unloaded).
class SavedMode
{
public:
    ~SavedMode() { Restore(); }

    bool IsHeld() const { return held; }

    void Hold(const char* displayName, SizeID size, Rotation rotation)
    {
        if (held)
        {
            return;  // a second switch keeps the mode from before the first
        }
        this->displayName = displayName != nullptr ? displayName : "";
        this->size = size;
        this->rotation = rotation;
        held = true;
    }

    // On a connection of its own: the program's may be closed by the time the program ends, and
    // the mode is the server's either way.
    void Restore()
    {
        if (!held)
        {
            return;
        }
        held = false;
        Display* display = XOpenDisplay(displayName.c_str());
        if (display == nullptr)
        {
            return;
        }
        {
            X11ErrorTrap trap(display);
            const Window root = DefaultRootWindow(display);
            XRRScreenConfiguration* config = XRRGetScreenInfo(display, root);
            if (config != nullptr)
            {
                XRRSetScreenConfig(display, config, root, size, rotation, CurrentTime);
                XRRFreeScreenConfigInfo(config);
            }
        }
        XCloseDisplay(display);
    }

private:
    bool held = false;
    std::string displayName;
    SizeID size = 0;
    Rotation rotation = RR_Rotate_0;
};

SavedMode savedMode;

// Switches the screen to the size width x height when the server offers it. The colour depth of
// an X screen cannot be changed this way; only the size is asked for.
bool SwitchMode(Display* display, int width, int height)
{
    int eventBase = 0;
    int errorBase = 0;
    if (!XRRQueryExtension(display, &eventBase, &errorBase))
    {
        return false;
    }
    const Window root = DefaultRootWindow(display);
    X11ErrorTrap trap(display);
    XRRScreenConfiguration* config = XRRGetScreenInfo(display, root);
    if (config == nullptr)
    {
        return false;
    }
    int count = 0;
    XRRScreenSize* sizes = XRRConfigSizes(config, &count);
    Rotation rotation = RR_Rotate_0;
    const SizeID current = XRRConfigCurrentConfiguration(config, &rotation);
    int wanted = -1;
    for (int i = 0; i < count; ++i)
    {
        if (sizes[i].width == width && sizes[i].height == height)
        {
            wanted = i;
            break;
        }
    }
    bool switched = false;
    if (wanted >= 0)
    {
        switched = XRRSetScreenConfig(display, config, root, static_cast<SizeID>(wanted), rotation,
                                      CurrentTime) == Success &&
                   !trap.Failed();
    }
    XRRFreeScreenConfigInfo(config);
    if (switched)
    {
        savedMode.Hold(DisplayString(display), current, rotation);
    }
    return switched;
}

// A double-buffered RGBA visual with the depth and stencil bits asked for, then with fewer.
XVisualInfo* ChooseVisual(Display* display, int depthBits, int stencilBits)
{
    const int tries[][2] = {{depthBits, stencilBits}, {depthBits, 0}, {16, 0}, {0, 0}};
    for (const auto& bits : tries)
    {
        int attributes[] = {GLX_RGBA,
                            GLX_DOUBLEBUFFER,
                            GLX_RED_SIZE,
                            1,
                            GLX_GREEN_SIZE,
                            1,
                            GLX_BLUE_SIZE,
                            1,
                            GLX_DEPTH_SIZE,
                            bits[0],
                            GLX_STENCIL_SIZE,
                            bits[1],
                            None};
        XVisualInfo* visual = glXChooseVisual(display, DefaultScreen(display), attributes);
        if (visual != nullptr)
        {
            return visual;
        }
    }
    return nullptr;
}

// What a Windows pop-up window is: no frame (the Motif hints every window manager reads), above
// the other windows (asked for before mapping, so the window manager applies it at once), and no
// pointer over it.
void MakeFullScreenKind(Display* display, Window window)
{
    struct MotifHints
    {
        unsigned long flags;
        unsigned long functions;
        unsigned long decorations;
        long inputMode;
        unsigned long status;
    };
    MotifHints hints = {2, 0, 0, 0, 0};  // flags: decorations given; decorations: none
    const Atom motif = XInternAtom(display, "_MOTIF_WM_HINTS", False);
    XChangeProperty(display, window, motif, motif, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&hints), 5);

    const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
    Atom above = XInternAtom(display, "_NET_WM_STATE_ABOVE", False);
    XChangeProperty(display, window, state, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&above), 1);

    char nothing = 0;
    Pixmap blank = XCreateBitmapFromData(display, window, &nothing, 1, 1);
    XColor black = {};
    Cursor invisible = XCreatePixmapCursor(display, blank, blank, &black, &black, 0, 0);
    XDefineCursor(display, window, invisible);
    XFreeCursor(display, invisible);
    XFreePixmap(display, blank);
}

void SetTitle(Display* display, Window window)
{
    XStoreName(display, window, kTitle);
    const Atom name = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    XChangeProperty(display, window, name, utf8, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(kTitle), sizeof kTitle - 1);
}

struct WindowMatch
{
    Window window;
};

Bool IsForWindow(Display*, XEvent* event, XPointer argument)
{
    return event->xany.window == reinterpret_cast<WindowMatch*>(argument)->window ? True : False;
}
}  // namespace

QVGLWindow::QVGLWindow()
    : window(nullptr), connection(nullptr), ownConnection(false), fullScreen(false),
      modeToRestore(false)
{
}

QVGLWindow::~QVGLWindow()
{
    RestoreDisplayMode();
    if (ownConnection && connection != nullptr)
    {
        XCloseDisplay(static_cast<Display*>(connection));
    }
}

bool QVGLWindow::Create(const Request& request)
{
    if (window != nullptr)
    {
        return false;  // one window per object
    }
    Display* display = static_cast<Display*>(request.instance);
    const bool own = display == nullptr;
    if (own)
    {
        display = XOpenDisplay(nullptr);
        if (display == nullptr)
        {
            return false;
        }
    }
    XVisualInfo* visual = ChooseVisual(display, request.depthBits, request.stencilBits);
    if (visual == nullptr)
    {
        if (own)
        {
            XCloseDisplay(display);
        }
        return false;
    }
    const bool switched = request.fullScreen && SwitchMode(display, request.width, request.height);

    // X refuses windows without area; Windows makes them.
    const unsigned width = request.width > 0 ? static_cast<unsigned>(request.width) : 1u;
    const unsigned height = request.height > 0 ? static_cast<unsigned>(request.height) : 1u;
    const Window root = RootWindow(display, visual->screen);
    Window made = 0;
    {
        X11ErrorTrap trap(display);
        XSetWindowAttributes attributes = {};
        attributes.colormap = XCreateColormap(display, root, visual->visual, AllocNone);
        attributes.background_pixel = BlackPixel(display, visual->screen);
        attributes.border_pixel = 0;
        attributes.event_mask = StructureNotifyMask | ExposureMask;
        made = XCreateWindow(display, root, request.x, request.y, width, height, 0, visual->depth,
                             InputOutput, visual->visual,
                             CWColormap | CWBackPixel | CWBorderPixel | CWEventMask, &attributes);
        if (trap.Failed())
        {
            made = 0;
        }
        if (made != 0)
        {
            SetTitle(display, made);
            Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
            XSetWMProtocols(display, made, &deleteWindow, 1);
            // Where the host asked, as Windows places it.
            XSizeHints* hints = XAllocSizeHints();
            if (hints != nullptr)
            {
                hints->flags = USPosition | USSize;
                hints->x = request.x;
                hints->y = request.y;
                hints->width = static_cast<int>(width);
                hints->height = static_cast<int>(height);
                XSetWMNormalHints(display, made, hints);
                XFree(hints);
            }
            if (switched)
            {
                MakeFullScreenKind(display, made);
            }
        }
    }
    XFree(visual);
    if (made == 0)
    {
        if (switched)
        {
            savedMode.Restore();
        }
        if (own)
        {
            XCloseDisplay(display);
        }
        return false;
    }
    window = ToHandle(made);
    connection = display;
    ownConnection = own;
    fullScreen = switched;
    modeToRestore = switched;
    return true;
}

void QVGLWindow::Show()
{
    Display* display = static_cast<Display*>(connection);
    if (display == nullptr || window == nullptr)
    {
        return;
    }
    const Window xwindow = ToWindow(window);
    // A window already mapped (shown by an earlier Init that made it) is only raised: mapping it
    // again changes nothing, so no MapNotify would come to end the wait below.
    bool mapped = false;
    {
        X11ErrorTrap trap(display);  // a window destroyed meanwhile counts as not mapped
        XWindowAttributes attributes;
        mapped = XGetWindowAttributes(display, xwindow, &attributes) != 0 &&
                 attributes.map_state != IsUnmapped;
    }
    XMapRaised(display, xwindow);
    XFlush(display);
    if (mapped)
    {
        XSync(display, False);
        return;
    }
    // ShowWindow returns with the window on the screen; here the window manager maps it in its
    // own time. Wait for it, but not forever (a window manager may refuse).
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    XEvent event;
    while (std::chrono::steady_clock::now() < deadline)
    {
        if (XCheckTypedWindowEvent(display, xwindow, MapNotify, &event))
        {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    XSync(display, False);
}

bool QVGLWindow::PumpMessage(QVHandle rendererWindow)
{
    Display* display = static_cast<Display*>(connection);
    if (display == nullptr || window == nullptr || rendererWindow != window)
    {
        return false;
    }
    WindowMatch match = {ToWindow(window)};
    XEvent event;
    if (!XCheckIfEvent(display, &event, IsForWindow, reinterpret_cast<XPointer>(&match)))
    {
        return false;
    }
    if (event.type == DestroyNotify)
    {
        return true;
    }
    if (event.type == ClientMessage && event.xclient.format == 32)
    {
        const Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
        return static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow;
    }
    return false;
}

void QVGLWindow::RestoreDisplayMode()
{
    if (modeToRestore)
    {
        savedMode.Restore();
        modeToRestore = false;
    }
}

#include "apps/qvaplayer/PlayerWindow.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdint>
#include <poll.h>
#include <vector>

namespace
{
// The page's background, and what a plug-in window shows until its applet draws.
const unsigned short PageColour[3] = {208, 216, 232};
const unsigned short PluginColour[3] = {64, 64, 64};

unsigned long AllocatePixel(Display* display, const unsigned short rgb[3])
{
    XColor colour = {};
    colour.red = static_cast<unsigned short>(rgb[0] * 257);
    colour.green = static_cast<unsigned short>(rgb[1] * 257);
    colour.blue = static_cast<unsigned short>(rgb[2] * 257);
    colour.flags = DoRed | DoGreen | DoBlue;
    if (!XAllocColor(display, DefaultColormap(display, DefaultScreen(display)), &colour))
        return WhitePixel(display, DefaultScreen(display));
    return colour.pixel;
}

void SetName(Display* display, Window window, const std::string& name)
{
    XStoreName(display, window, name.c_str());
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False),
                    XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(name.c_str()),
                    static_cast<int>(name.size()));
}

// Windows virtual-key codes for letters and digits, the keysym for other keys.
int KeyCodeOf(KeySym symbol)
{
    if (symbol >= XK_a && symbol <= XK_z)
        return static_cast<int>(symbol - XK_a + 'A');
    return static_cast<int>(symbol);  // digits and capitals are their ASCII codes already
}

// Protocol errors concern windows that the plug-in's threads made or destroyed under the
// player; the request simply had no effect.
int IgnoreProtocolError(Display*, XErrorEvent*) { return 0; }
}  // namespace

struct PlayerWindow::Native
{
    Display* display = nullptr;
    Window top = 0;
    Window page = 0;
    Atom deleteWindow = 0;
    unsigned long pluginPixel = 0;
    std::vector<Window> plugins;
};

void PlayerWindow::PrepareThreads() { XInitThreads(); }

PlayerWindow::PlayerWindow() : native(new Native) {}

PlayerWindow::~PlayerWindow()
{
    if (native->display == nullptr)
        return;
    if (native->top != 0)
        XDestroyWindow(native->display, native->top);
    XCloseDisplay(native->display);
}

bool PlayerWindow::Open(const std::string& title, int pageWidth, int pageHeight, std::string& error)
{
    native->display = XOpenDisplay(nullptr);
    if (native->display == nullptr)
    {
        error = "cannot open the display (is DISPLAY set?)";
        return false;
    }
    Display* display = native->display;
    XSetErrorHandler(IgnoreProtocolError);
    const int screen = DefaultScreen(display);
    const unsigned long pagePixel = AllocatePixel(display, PageColour);
    native->pluginPixel = AllocatePixel(display, PluginColour);

    native->top = XCreateSimpleWindow(display, RootWindow(display, screen), 100, 100,
                                      static_cast<unsigned>(pageWidth),
                                      static_cast<unsigned>(pageHeight), 0, 0, pagePixel);
    SetName(display, native->top, title);
    XSizeHints hints = {};
    hints.flags = USPosition | PPosition;
    hints.x = 100;
    hints.y = 100;
    XSetWMNormalHints(display, native->top, &hints);
    native->deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, native->top, &native->deleteWindow, 1);
    // Key presses of the page reach the top window unless a window inside takes them; other
    // clients (the plug-in) may select them on the top window as well.
    XSelectInput(display, native->top, KeyPressMask | StructureNotifyMask);

    native->page = XCreateSimpleWindow(display, native->top, 0, 0, static_cast<unsigned>(pageWidth),
                                       static_cast<unsigned>(pageHeight), 0, 0, pagePixel);
    SetName(display, native->page, "qvaplayer page");
    return true;
}

void* PlayerWindow::AddPluginWindow(int x, int y, int width, int height)
{
    if (native->page == 0)
        return nullptr;
    Display* display = native->display;
    const Window window =
        XCreateSimpleWindow(display, native->page, x, y, static_cast<unsigned>(width),
                            static_cast<unsigned>(height), 0, 0, native->pluginPixel);
    SetName(display, window, "qvaplayer plug-in " + std::to_string(native->plugins.size() + 1));
    XMapWindow(display, window);
    native->plugins.push_back(window);
    // The plug-in makes its windows inside this one through a connection of its own.
    XSync(display, False);
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(window));
}

void PlayerWindow::Show()
{
    Display* display = native->display;
    XMapWindow(display, native->page);
    XMapWindow(display, native->top);
    XSync(display, False);
    // The page is on the screen, and in the window manager's frame, before any plug-in looks for
    // its browser window above its own: until then the frame's place in the tree is not settled.
    // Bounded, for a window manager that never maps it; other events stay queued for the loop.
    XEvent event;
    for (int waited = 0; waited < 5000; waited += 10)
    {
        if (XCheckTypedWindowEvent(display, native->top, MapNotify, &event))
            return;
        pollfd readable = {ConnectionNumber(display), POLLIN, 0};
        poll(&readable, 1, 10);
    }
}

void PlayerWindow::Run(const std::function<void(int)>& onKey)
{
    Display* display = native->display;
    for (;;)
    {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == KeyPress)
        {
            onKey(KeyCodeOf(XLookupKeysym(&event.xkey, 0)));
        }
        else if (event.type == ClientMessage && event.xclient.window == native->top &&
                 static_cast<Atom>(event.xclient.data.l[0]) == native->deleteWindow)
        {
            return;
        }
        else if (event.type == DestroyNotify && event.xdestroywindow.window == native->top)
        {
            native->top = 0;
            return;
        }
    }
}

void* PlayerWindow::DisplayHandle() const { return native->display; }

void* PlayerWindow::TopWindowHandle() const
{
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(native->top));
}

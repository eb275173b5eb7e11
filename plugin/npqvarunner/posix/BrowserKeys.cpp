#include "plugin/npqvarunner/BrowserKeys.h"

#include "platform/Thread.h"
#include "ui/x11/X11VirtualKeys.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <new>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace
{
struct Forwarding
{
    Display* display;
    Window top;
    QVBrowserKeySink* sink;
    int wake[2];
    QVHandle thread;
};

// A bad window id given by a browser must not end the process through Xlib's default handler;
// the request simply has no effect, as the UI manager module treats such errors.
int IgnoreProtocolError(Display*, XErrorEvent*) { return 0; }

// The browser's own window above the plug-in window: the first ancestor that the window manager
// marked as a client window (WM_STATE), else the one just below the root (no window manager).
// The window manager's frame above the client window is not taken: keys stop at the client
// window when the browser selects them there. A browser's top window is managed long before it
// embeds a plug-in.
Window TopLevelAncestor(Display* display, Window window)
{
    const Atom wmState = XInternAtom(display, "WM_STATE", False);
    // Bounded in case of a window tree deeper than any browser makes.
    for (int depth = 0; depth < 64; ++depth)
    {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, remaining = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display, window, wmState, 0, 0, False, AnyPropertyType, &type,
                               &format, &count, &remaining, &data) == Success)
        {
            if (data != nullptr)
                XFree(data);
            if (type != None)
                return window;
        }
        Window root = 0, parent = 0;
        Window* children = nullptr;
        unsigned childCount = 0;
        if (!XQueryTree(display, window, &root, &parent, &children, &childCount))
            return 0;
        if (children != nullptr)
            XFree(children);
        if (parent == root || parent == 0)
            return window;
        window = parent;
    }
    return 0;
}

void Forward(Forwarding& forwarding, XEvent& event)
{
    if (event.type != KeyPress && event.type != KeyRelease)
        return;
    // Held keys repeat as presses only (detectable auto-repeat is not asked for on this
    // connection, so a held key shows as release and press pairs with one time: the release
    // is dropped when the press with its time follows at once).
    if (event.type == KeyRelease && XPending(forwarding.display) > 0)
    {
        XEvent next;
        XPeekEvent(forwarding.display, &next);
        if (next.type == KeyPress && next.xkey.time == event.xkey.time &&
            next.xkey.keycode == event.xkey.keycode)
            return;
    }
    const int key = X11VirtualKeys::FromKeySym(XLookupKeysym(&event.xkey, 0));
    if (key != 0)
        forwarding.sink->OnBrowserKey(event.type == KeyPress, key);
}

void Watch(void* argument)
{
    Forwarding& forwarding = *static_cast<Forwarding*>(argument);
    pollfd waits[2] = {{ConnectionNumber(forwarding.display), POLLIN, 0},
                       {forwarding.wake[0], POLLIN, 0}};
    for (;;)
    {
        while (XPending(forwarding.display) > 0)
        {
            XEvent event;
            XNextEvent(forwarding.display, &event);
            Forward(forwarding, event);
        }
        if (poll(waits, 2, -1) < 0)
            continue;
        if (waits[1].revents != 0 || (waits[0].revents & (POLLERR | POLLHUP)) != 0)
            return;
    }
}

void Release(Forwarding* forwarding)
{
    if (forwarding->display != nullptr)
        XCloseDisplay(forwarding->display);
    for (int end : forwarding->wake)
        if (end >= 0)
            close(end);
    delete forwarding;
}
}  // namespace

QVHandle QVStartKeyForwarding(QVHandle pluginWindow, QVBrowserKeySink* sink)
{
    const Window plugin = static_cast<Window>(reinterpret_cast<std::uintptr_t>(pluginWindow));
    if (sink == nullptr || plugin == 0)
        return nullptr;
    Forwarding* forwarding = new (std::nothrow) Forwarding{nullptr, 0, sink, {-1, -1}, nullptr};
    if (forwarding == nullptr)
        return nullptr;
    if (pipe2(forwarding->wake, O_CLOEXEC) != 0)
    {
        forwarding->wake[0] = forwarding->wake[1] = -1;
        Release(forwarding);
        return nullptr;
    }
    QVPrepareWindowThreads();
    forwarding->display = XOpenDisplay(nullptr);
    if (forwarding->display == nullptr)
    {
        Release(forwarding);
        return nullptr;
    }
    XSetErrorHandler(IgnoreProtocolError);
    forwarding->top = TopLevelAncestor(forwarding->display, plugin);
    if (forwarding->top == 0)
    {
        Release(forwarding);
        return nullptr;
    }
    // Selecting key events takes none away from the browser: X reports them to every client
    // that selected them on the window.
    XSelectInput(forwarding->display, forwarding->top, KeyPressMask | KeyReleaseMask);
    XSync(forwarding->display, False);
    forwarding->thread = QVStartThread(Watch, forwarding);
    if (forwarding->thread == nullptr)
    {
        Release(forwarding);
        return nullptr;
    }
    return forwarding;
}

void QVStopKeyForwarding(QVHandle handle)
{
    Forwarding* forwarding = static_cast<Forwarding*>(handle);
    if (forwarding == nullptr)
        return;
    const char stop = 1;
    ssize_t written = 0;
    do
        written = write(forwarding->wake[1], &stop, 1);
    while (written < 0 && errno == EINTR);
    // The watcher only reads the connection and calls the sink: it ends at once.
    while (!QVWaitThread(forwarding->thread, 1000))
    {
    }
    Release(forwarding);
}

void QVPrepareWindowThreads()
{
    // Once per process, before this library's first Xlib call; later calls do nothing.
    static std::atomic<bool> done(false);
    if (!done.exchange(true))
        XInitThreads();
}

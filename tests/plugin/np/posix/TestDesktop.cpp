#include "tests/plugin/np/TestDesktop.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <thread>

namespace nptest
{
namespace
{
Display* TestDisplay()
{
    static Display* display = []
    {
        XInitThreads();
        return XOpenDisplay(nullptr);
    }();
    return display;
}

std::map<Window, int>& Presses()
{
    static std::map<Window, int> presses;
    return presses;
}

Window Id(void* window) { return static_cast<Window>(reinterpret_cast<std::uintptr_t>(window)); }
void* Handle(Window window) { return reinterpret_cast<void*>(static_cast<std::uintptr_t>(window)); }

bool HasProperty(Display* display, Window window, const char* name)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    const Atom atom = XInternAtom(display, name, False);
    const bool present = XGetWindowProperty(display, window, atom, 0, 1, False, AnyPropertyType,
                                            &type, &format, &count, &remaining, &data) == Success &&
                         type != None;
    if (data != nullptr)
        XFree(data);
    return present;
}

// A browser hands its plug-in a window of a top window that the window manager manages already
// (it wraps top windows in frames of its own): the page is given only once that happened.
void WaitUntilManaged(Display* display, Window top)
{
    if (!HasProperty(display, DefaultRootWindow(display), "_NET_SUPPORTING_WM_CHECK"))
        return;
    for (int tries = 0; tries < 250 && !HasProperty(display, top, "WM_STATE"); ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

void TakeEvents()
{
    Display* display = TestDisplay();
    while (XPending(display) > 0)
    {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == KeyPress)
            ++Presses()[event.xkey.window];
    }
}
}  // namespace

bool HaveDesktop() { return TestDisplay() != nullptr; }

TestPage MakePage(int pluginWidth, int pluginHeight)
{
    TestPage page;
    Display* display = TestDisplay();
    if (display == nullptr)
        return page;
    const Window root = DefaultRootWindow(display);
    const unsigned long white = WhitePixel(display, DefaultScreen(display));
    const Window top = XCreateSimpleWindow(display, root, 50, 50, pluginWidth + 40,
                                           pluginHeight + 80, 0, 0, white);
    // The browser's own key handling sits on its top window.
    XSelectInput(display, top, KeyPressMask | KeyReleaseMask);
    XStoreName(display, top, "npqvarunner test page");
    const Window area =
        XCreateSimpleWindow(display, top, 0, 40, pluginWidth + 40, pluginHeight + 40, 0, 0, white);
    const Window plugin =
        XCreateSimpleWindow(display, area, 20, 20, pluginWidth, pluginHeight, 0, 0, white);
    XMapWindow(display, plugin);
    XMapWindow(display, area);
    XMapWindow(display, top);
    XSync(display, False);
    WaitUntilManaged(display, top);
    page.top = Handle(top);
    page.area = Handle(area);
    page.plugin = Handle(plugin);
    return page;
}

void* AddPluginWindow(TestPage& page, int x, int y, int width, int height)
{
    Display* display = TestDisplay();
    const Window plugin = XCreateSimpleWindow(
        display, Id(page.area), x, y, static_cast<unsigned>(width), static_cast<unsigned>(height),
        0, 0, WhitePixel(display, DefaultScreen(display)));
    XMapWindow(display, plugin);
    XSync(display, False);
    return Handle(plugin);
}

void DestroyPage(TestPage& page)
{
    if (page.top != nullptr)
    {
        XDestroyWindow(TestDisplay(), Id(page.top));
        XSync(TestDisplay(), False);
        Presses().erase(Id(page.top));
    }
    page = TestPage();
}

void Pump(int milliseconds)
{
    if (TestDisplay() != nullptr)
    {
        XSync(TestDisplay(), False);
        TakeEvents();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void SendKey(const TestPage& page, int key)
{
    Display* display = TestDisplay();
    XEvent event = {};
    event.xkey.type = KeyPress;
    event.xkey.display = display;
    event.xkey.window = Id(page.top);
    event.xkey.root = DefaultRootWindow(display);
    event.xkey.time = CurrentTime;
    event.xkey.same_screen = True;
    event.xkey.keycode = XKeysymToKeycode(
        display, XStringToKeysym(std::string(1, static_cast<char>(key - 'A' + 'a')).c_str()));
    // Sent through the server to every client that selected key events on the top window, as
    // real input is reported there.
    XSendEvent(display, Id(page.top), False, KeyPressMask, &event);
    event.xkey.type = KeyRelease;
    XSendEvent(display, Id(page.top), False, KeyReleaseMask, &event);
    XSync(display, False);
}

int HostKeyPresses(const TestPage& page)
{
    TakeEvents();
    return Presses()[Id(page.top)];
}

int ThreadCount()
{
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task"))
    {
        (void)entry;
        ++count;
    }
    return count;
}
}  // namespace nptest

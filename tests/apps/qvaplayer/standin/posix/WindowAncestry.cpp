#include "../WindowAncestry.h"

#include <X11/Xlib.h>

#include <cstdint>

namespace
{
Window ParentOf(Display* display, Window window)
{
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count))
        return 0;
    if (children != nullptr)
        XFree(children);
    return parent;
}
}  // namespace

bool GrandparentIsTop(void* pluginWindow, void* topWindow)
{
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return false;
    const Window window = static_cast<Window>(reinterpret_cast<std::uintptr_t>(pluginWindow));
    const Window grandparent = ParentOf(display, ParentOf(display, window));
    XCloseDisplay(display);
    return grandparent != 0 &&
           grandparent == static_cast<Window>(reinterpret_cast<std::uintptr_t>(topWindow));
}

#pragma once

#include "platform/QVHandle.h"

// Lets a browser plug-in see the keys of the page that holds it, while the page still gets every
// one of them. Several plug-in windows may watch the same page; each gets every key the page gets.
//
// Windows: the plug-in window's grandparent (the page's window) gets a window procedure of this
// library in front of its own, which stays in place while any plug-in window of that page
// watches; the keys reach the sinks on the browser's thread, inside that procedure.
// Linux: a connection of its own to the display selects the key events of the plug-in window's
// top-level ancestor (the browser's window; X hands every client that selected them a copy) and
// a thread of its own reads them; the keys reach the sinks on that thread.

// Receives the page's keys.
class QVBrowserKeySink
{
public:
    // A key went down (down true) or up; key is the Windows virtual-key code, as listeners get it.
    virtual void OnBrowserKey(bool down, int key) = 0;

protected:
    ~QVBrowserKeySink() = default;
};

// Starts forwarding the page's keys to sink. Returns the forwarding, or null when the plug-in
// window has no page to watch (no grandparent, no display, a window id the display does not know).
QVHandle QVStartKeyForwarding(QVHandle pluginWindow, QVBrowserKeySink* sink);

// Stops the forwarding: once it returns the sink is never called again. The page's window gets
// its own procedure back when no other forwarding watches it and nothing else replaced the
// procedure since. Null does nothing.
void QVStopKeyForwarding(QVHandle forwarding);

// Prepares the window system for use from several threads (Xlib's thread support); done once,
// as early as the library can. Nothing to do on Windows.
void QVPrepareWindowThreads();

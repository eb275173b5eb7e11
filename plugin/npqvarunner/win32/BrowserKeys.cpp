#include "plugin/npqvarunner/BrowserKeys.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <new>
#include <vector>

// Everything here runs on the browser's thread, the one that owns the page's windows: the
// procedure runs there, and plug-ins start and stop forwarding from their instance calls.
namespace
{
struct Forwarding
{
    HWND page;
    QVBrowserKeySink* sink;
};

// One page window whose procedure was replaced: the one it had, and who watches it.
struct PageWindow
{
    WNDPROC saved;
    std::vector<Forwarding*> forwardings;
};

std::map<HWND, PageWindow>& Pages()
{
    static std::map<HWND, PageWindow> pages;
    return pages;
}

LRESULT CALLBACK ForwardKeys(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto found = Pages().find(window);
    if (found == Pages().end())
        return DefWindowProcW(window, message, wParam, lParam);
    WNDPROC saved = found->second.saved;
    if (message == WM_KEYDOWN || message == WM_KEYUP)
    {
        // A copy: a sink may stop another forwarding of the page while it runs.
        const std::vector<Forwarding*> watchers = found->second.forwardings;
        for (Forwarding* forwarding : watchers)
            forwarding->sink->OnBrowserKey(message == WM_KEYDOWN,
                                           static_cast<int>(wParam & 0xFFFF));
    }
    if (message == WM_NCDESTROY)
    {
        // The page goes away: its forwardings end with it, and their stop finds nothing to undo.
        for (Forwarding* forwarding : found->second.forwardings)
            forwarding->page = nullptr;
        Pages().erase(found);
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(saved));
    }
    return IsWindowUnicode(window) ? CallWindowProcW(saved, window, message, wParam, lParam)
                                   : CallWindowProcA(saved, window, message, wParam, lParam);
}

WNDPROC ReplaceProcedure(HWND window, WNDPROC procedure)
{
    const LONG_PTR value = reinterpret_cast<LONG_PTR>(procedure);
    return reinterpret_cast<WNDPROC>(IsWindowUnicode(window)
                                         ? SetWindowLongPtrW(window, GWLP_WNDPROC, value)
                                         : SetWindowLongPtrA(window, GWLP_WNDPROC, value));
}

WNDPROC CurrentProcedure(HWND window)
{
    return reinterpret_cast<WNDPROC>(IsWindowUnicode(window)
                                         ? GetWindowLongPtrW(window, GWLP_WNDPROC)
                                         : GetWindowLongPtrA(window, GWLP_WNDPROC));
}
}  // namespace

QVHandle QVStartKeyForwarding(QVHandle pluginWindow, QVBrowserKeySink* sink)
{
    HWND plugin = static_cast<HWND>(pluginWindow);
    if (sink == nullptr || plugin == nullptr || !IsWindow(plugin))
        return nullptr;
    HWND parent = GetParent(plugin);
    HWND page = parent != nullptr ? GetParent(parent) : nullptr;
    if (page == nullptr)
        return nullptr;
    Forwarding* forwarding = new (std::nothrow) Forwarding{page, sink};
    if (forwarding == nullptr)
        return nullptr;
    auto found = Pages().find(page);
    if (found == Pages().end())
    {
        // The first watcher of this page: only then is the page's own procedure saved, so a
        // second plug-in on the same page never saves this library's procedure as the page's.
        WNDPROC saved = ReplaceProcedure(page, ForwardKeys);
        if (saved == nullptr)
        {
            delete forwarding;
            return nullptr;
        }
        found = Pages().emplace(page, PageWindow{saved, {}}).first;
    }
    found->second.forwardings.push_back(forwarding);
    return forwarding;
}

void QVStopKeyForwarding(QVHandle handle)
{
    Forwarding* forwarding = static_cast<Forwarding*>(handle);
    if (forwarding == nullptr)
        return;
    auto found = forwarding->page != nullptr ? Pages().find(forwarding->page) : Pages().end();
    if (found != Pages().end())
    {
        std::vector<Forwarding*>& watchers = found->second.forwardings;
        watchers.erase(std::remove(watchers.begin(), watchers.end(), forwarding), watchers.end());
        // The page's own procedure goes back only when ours is the one in place: one installed
        // after ours chains to ours, and putting the old one back would cut it off. Ours then
        // stays and only passes messages on.
        if (watchers.empty() && CurrentProcedure(found->first) == ForwardKeys)
        {
            ReplaceProcedure(found->first, found->second.saved);
            Pages().erase(found);
        }
    }
    delete forwarding;
}

void QVPrepareWindowThreads() {}

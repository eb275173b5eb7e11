#include "apps/qvaplayer/BrowserServices.h"

#include "apps/qvaplayer/PlayerLog.h"

#include <atomic>
#include <cstdlib>

namespace
{
std::atomic<void*> browserDisplay{nullptr};
std::atomic<void*> browserTopWindow{nullptr};

NPError GetURL(NPP, const char* url, const char* target)
{
    if (url == nullptr)
        return NPERR_INVALID_URL;
    PlayerSay("open URL \"%s\" in \"%s\"", url, target != nullptr ? target : "");
    return NPERR_NO_ERROR;
}

NPError GetURLNotify(NPP instance, const char* url, const char* target, void*)
{
    return GetURL(instance, url, target);
}

NPError PostURL(NPP, const char*, const char*, std::uint32_t, const char*, NPBool)
{
    return NPERR_GENERIC_ERROR;
}

NPError PostURLNotify(NPP, const char*, const char*, std::uint32_t, const char*, NPBool, void*)
{
    return NPERR_GENERIC_ERROR;
}

NPError RequestRead(NPStream*, NPByteRange*) { return NPERR_GENERIC_ERROR; }

NPError NewStream(NPP, NPMIMEType, const char*, NPStream** stream)
{
    if (stream != nullptr)
        *stream = nullptr;
    return NPERR_GENERIC_ERROR;
}

std::int32_t Write(NPP, NPStream*, std::int32_t, void*) { return -1; }

NPError DestroyStream(NPP, NPStream*, NPReason) { return NPERR_GENERIC_ERROR; }

void Status(NPP, const char* message)
{
    PlayerSay("status \"%s\"", message != nullptr ? message : "");
}

const char* UserAgent(NPP) { return "qvaplayer/1.0"; }

void* MemAlloc(std::uint32_t size) { return std::malloc(size != 0 ? size : 1); }

void MemFree(void* memory) { std::free(memory); }

std::uint32_t MemFlush(std::uint32_t) { return 0; }

void ReloadPlugins(NPBool) {}

NPError GetValue(NPP, NPNVariable variable, void* value)
{
    if (value == nullptr)
        return NPERR_INVALID_PARAM;
    switch (variable)
    {
    case NPNVxDisplay:
        if (browserDisplay.load() == nullptr)
            return NPERR_GENERIC_ERROR;
        *static_cast<void**>(value) = browserDisplay.load();
        return NPERR_NO_ERROR;
    case NPNVnetscapeWindow:
        *static_cast<void**>(value) = browserTopWindow.load();
        return NPERR_NO_ERROR;
    case NPNVjavascriptEnabledBool:
    case NPNVasdEnabledBool:
    case NPNVisOfflineBool:
    case NPNVSupportsXEmbedBool:
        *static_cast<NPBool*>(value) = 0;
        return NPERR_NO_ERROR;
    default:
        return NPERR_GENERIC_ERROR;
    }
}

NPError SetValue(NPP, NPPVariable variable, void* value)
{
    // Windowless plug-ins pass false; only plug-ins with a window of their own are played.
    if (variable == NPPVpluginWindowBool && value != nullptr)
        return NPERR_NO_ERROR;
    return NPERR_GENERIC_ERROR;
}

void InvalidateRect(NPP, NPRect*) {}
void InvalidateRegion(NPP, NPRegion) {}
void ForceRedraw(NPP) {}
}  // namespace

void SetBrowserWindows(void* display, void* topWindow)
{
    browserDisplay = display;
    browserTopWindow = topWindow;
}

NPNetscapeFuncs MakeBrowserFunctions()
{
    NPNetscapeFuncs table = {};
    table.size = sizeof(NPNetscapeFuncs);
    table.version = static_cast<std::uint16_t>((kNPVersionMajor << 8) | kNPVersionMinor);
    table.geturl = GetURL;
    table.posturl = PostURL;
    table.requestread = RequestRead;
    table.newstream = NewStream;
    table.write = Write;
    table.destroystream = DestroyStream;
    table.status = Status;
    table.uagent = UserAgent;
    table.memalloc = MemAlloc;
    table.memfree = MemFree;
    table.memflush = MemFlush;
    table.reloadplugins = ReloadPlugins;
    table.getJavaEnv = nullptr;
    table.getJavaPeer = nullptr;
    table.geturlnotify = GetURLNotify;
    table.posturlnotify = PostURLNotify;
    table.getvalue = GetValue;
    table.setvalue = SetValue;
    table.invalidaterect = InvalidateRect;
    table.invalidateregion = InvalidateRegion;
    table.forceredraw = ForceRedraw;
    return table;
}

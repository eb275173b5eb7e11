// A stand-in browser plug-in for the player's tests: it plays no applet, but writes down every
// call the player makes and what came with it (QV_STANDIN_LOG names the file), and behaves as
// QV_STANDIN_MODE asks: "" accepts everything and wants the package as a file only;
// "refuse-init" answers NP_Initialize with 8 (incompatible version); "refuse-new" answers new
// instances with 5 (out of memory); "normal-stream" wants the package as data through write,
// "normal-stream-100" too but takes at most 100 bytes per write, "normal-stream-refused" answers
// every write with -1.
// When handed the package file it changes the working directory to the file's, as the real
// plug-in does, and asks the browser to open a URL, as an applet's button would.
#include "WindowAncestry.h"
#include "platform/Directory.h"
#include "plugin/npapi/NPAPI.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace
{
NPNetscapeFuncs browser;
std::uint32_t streamBytes = 0;

std::string Mode()
{
    const char* mode = std::getenv("QV_STANDIN_MODE");
    return mode != nullptr ? mode : "";
}

void Note(const char* format, ...)
{
    const char* path = std::getenv("QV_STANDIN_LOG");
    if (path == nullptr)
        return;
    std::FILE* log = std::fopen(path, "ab");
    if (log == nullptr)
        return;
    std::va_list arguments;
    va_start(arguments, format);
    std::vfprintf(log, format, arguments);
    va_end(arguments);
    std::fputc('\n', log);
    std::fclose(log);
}

NPError New(NPMIMEType type, NPP instance, std::uint16_t mode, std::int16_t argc, char* argn[],
            char* argv[], NPSavedData*)
{
    Note("new type=%s mode=%d argc=%d", type, mode, argc);
    for (int i = 0; i < argc; ++i)
        Note("arg %s=%s", argn[i], argv[i]);
    if (Mode() == "refuse-new")
        return NPERR_OUT_OF_MEMORY_ERROR;
    instance->pdata = instance;
    return NPERR_NO_ERROR;
}

NPError Destroy(NPP, NPSavedData**)
{
    Note("destroy");
    return NPERR_NO_ERROR;
}

NPError SetWindow(NPP instance, NPWindow* window)
{
    void* top = nullptr;
    browser.getvalue(instance, NPNVnetscapeWindow, &top);
    Note("setwindow x=%d y=%d width=%u height=%u type=%d grandparent-is-top=%s", window->x,
         window->y, window->width, window->height, static_cast<int>(window->type),
         GrandparentIsTop(window->window, top) ? "yes" : "no");
    return NPERR_NO_ERROR;
}

NPError NewStream(NPP, NPMIMEType type, NPStream* stream, NPBool seekable, std::uint16_t* stype)
{
    Note("newstream type=%s url=%s end=%u seekable=%d proposed=%d", type, stream->url, stream->end,
         seekable, *stype);
    *stype = Mode().compare(0, 13, "normal-stream") == 0 ? NP_NORMAL : NP_ASFILEONLY;
    streamBytes = 0;
    return NPERR_NO_ERROR;
}

NPError DestroyStream(NPP, NPStream*, NPReason reason)
{
    Note("destroystream reason=%d written=%u", reason, streamBytes);
    return NPERR_NO_ERROR;
}

void StreamAsFile(NPP instance, NPStream*, const char* path)
{
    long bytes = -1;
    if (std::FILE* file = std::fopen(path, "rb"))
    {
        std::fseek(file, 0, SEEK_END);
        bytes = std::ftell(file);
        std::fclose(file);
    }
    Note("asfile path=%s bytes=%ld", path, bytes);
    // As the real plug-in does when it unpacks: the working directory becomes the file's.
    std::string directory = path;
    const std::size_t separator = directory.find_last_of("/\\");
    if (separator != std::string::npos)
        QVChangeDir(directory.substr(0, separator).c_str());
    void* memory = browser.memalloc(64);
    if (memory != nullptr)
        std::memset(memory, 0, 64);
    browser.memfree(memory);
    Note("useragent %s", browser.uagent(instance));
    const NPError opened = browser.geturl(instance, "http://example.com/standin.html", "_top");
    Note("geturl result=%d", opened);
}

std::int32_t WriteReady(NPP, NPStream*) { return 1000; }

std::int32_t Write(NPP, NPStream*, std::int32_t offset, std::int32_t length, void*)
{
    if (Mode() == "normal-stream-refused")
        return -1;
    if (Mode() == "normal-stream-100" && length > 100)
        length = 100;
    if (static_cast<std::uint32_t>(offset) != streamBytes)
        Note("write out of order: offset %d after %u bytes", offset, streamBytes);
    streamBytes += static_cast<std::uint32_t>(length);
    return length;
}

void FillEntries(NPPluginFuncs* functions)
{
    functions->version = kNPVersionMinor;
    functions->newp = New;
    functions->destroy = Destroy;
    functions->setwindow = SetWindow;
    functions->newstream = NewStream;
    functions->destroystream = DestroyStream;
    functions->asfile = StreamAsFile;
    functions->writeready = WriteReady;
    functions->write = Write;
}

NPError TakeBrowser(NPNetscapeFuncs* functions)
{
    Note("initialize size=%u version=0x%04x", functions->size, functions->version);
    if (Mode() == "refuse-init")
        return NPERR_INCOMPATIBLE_VERSION_ERROR;
    std::memcpy(&browser, functions, sizeof browser);
    return NPERR_NO_ERROR;
}
}  // namespace

#ifdef _WIN32
extern "C" __declspec(dllexport) NPError __stdcall NP_GetEntryPoints(NPPluginFuncs* functions)
{
    Note("entrypoints size=%u", functions->size);
    FillEntries(functions);
    return NPERR_NO_ERROR;
}

extern "C" __declspec(dllexport) NPError __stdcall NP_Initialize(NPNetscapeFuncs* functions)
{
    return TakeBrowser(functions);
}

extern "C" __declspec(dllexport) NPError __stdcall NP_Shutdown()
{
    Note("shutdown");
    return NPERR_NO_ERROR;
}
#else
extern "C" __attribute__((visibility("default"))) NPError
NP_Initialize(NPNetscapeFuncs* browserFuncs, NPPluginFuncs* pluginFuncs)
{
    const NPError result = TakeBrowser(browserFuncs);
    if (result == NPERR_NO_ERROR)
    {
        Note("entrypoints size=%u", pluginFuncs->size);
        FillEntries(pluginFuncs);
    }
    return result;
}

extern "C" __attribute__((visibility("default"))) NPError NP_Shutdown()
{
    Note("shutdown");
    return NPERR_NO_ERROR;
}
#endif

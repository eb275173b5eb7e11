#pragma once

#include "apps/qvaplayer/AppletElement.h"
#include "plugin/npapi/NPAPI.h"

#include <cstddef>
#include <string>
#include <vector>

// One plug-in instance of the page, driven as a browser drives it: created in embed mode with
// the element's attributes, given its window, handed the package as a stream, destroyed. The
// instance handle and the window record stay at one address while the plug-in lives (it keeps
// pointers to both): instances are not copied or moved.
class AppletInstance
{
public:
    // The most attributes new-instance can be given: its count is a signed 16-bit number.
    static const std::size_t MaxAttributes = 32767;

    AppletInstance(const NPPluginFuncs& plugin, const AppletElement& element);
    ~AppletInstance();
    AppletInstance(const AppletInstance&) = delete;
    AppletInstance& operator=(const AppletInstance&) = delete;

    // new-instance with the MIME type, NP_EMBED and the attributes in page order;
    // NPERR_INVALID_PARAM without calling the plug-in for more than MaxAttributes of them.
    NPError Create();

    // set-window with the plug-in's native window (HWND or X window id) at (x, y) of the page,
    // width x height, clipped to itself.
    NPError SetWindow(void* nativeWindow, int x, int y, int width, int height);

    // Delivers the local file (size bytes, below 2 GiB) as the stream of url: new-stream, then
    // what the plug-in asked for: the file's path (as-file-only), the data through write-ready
    // and write (normal), or both (as-file); then destroy-stream, with NPRES_NETWORK_ERR when
    // the stream was cut short. Bytes a write did not take are offered again, as browsers do; a
    // negative answer cuts the stream short. Returns the plug-in's new-stream error, or a generic
    // error when the stream was cut short (data refused, the plug-in never ready, file unreadable).
    NPError DeliverPackage(const std::string& file, const std::string& url,
                           unsigned long long size);
    // destroy (saved data freed); nothing when the instance was not created.
    void Destroy();

private:
    // Writes the file's bytes through write-ready and write, each byte until taken. False when
    // cut short.
    bool WriteData(NPStream& stream, const std::string& file);

    const NPPluginFuncs& plugin;
    NPP_t handle;
    NPWindow window;
    std::vector<std::string> names;
    std::vector<std::string> values;
    bool created;
};

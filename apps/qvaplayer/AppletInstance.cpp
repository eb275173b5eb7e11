#include "apps/qvaplayer/AppletInstance.h"

#include "apps/qvaplayer/PageReader.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace
{
// What a plug-in that asks for data may take per write at most, however much it is ready for.
const std::int32_t WriteChunk = 65536;
}  // namespace

AppletInstance::AppletInstance(const NPPluginFuncs& plugin, const AppletElement& element)
    : plugin(plugin), handle{nullptr, this}, window{}, created(false)
{
    for (const auto& attribute : element.attributes)
    {
        names.push_back(attribute.first);
        values.push_back(attribute.second);
    }
}

AppletInstance::~AppletInstance() { Destroy(); }

NPError AppletInstance::Create()
{
    if (names.size() > MaxAttributes)
        return NPERR_INVALID_PARAM;
    std::vector<char*> argn, argv;
    for (std::size_t i = 0; i < names.size(); ++i)
    {
        argn.push_back(&names[i][0]);
        argv.push_back(&values[i][0]);
    }
    std::string type = AppletMimeType;
    const NPError result =
        plugin.newp(&type[0], &handle, NP_EMBED, static_cast<std::int16_t>(names.size()),
                    argn.data(), argv.data(), nullptr);
    created = result == NPERR_NO_ERROR;
    return result;
}

NPError AppletInstance::SetWindow(void* nativeWindow, int x, int y, int width, int height)
{
    window.window = nativeWindow;
    window.x = x;
    window.y = y;
    window.width = static_cast<std::uint32_t>(width);
    window.height = static_cast<std::uint32_t>(height);
    window.clipRect.top = static_cast<std::uint16_t>(y);
    window.clipRect.left = static_cast<std::uint16_t>(x);
    window.clipRect.bottom = static_cast<std::uint16_t>(y + height);
    window.clipRect.right = static_cast<std::uint16_t>(x + width);
    window.type = NPWindowTypeWindow;
    return plugin.setwindow(&handle, &window);
}

bool AppletInstance::WriteData(NPStream& stream, const std::string& file)
{
    std::FILE* input = std::fopen(file.c_str(), "rb");
    if (input == nullptr)
        return false;
    std::vector<char> buffer(WriteChunk);
    std::size_t start = 0, end = 0;  // the bytes of the buffer not taken yet
    std::int32_t offset = 0;
    bool complete = true;
    for (int idle = 0; complete;)
    {
        if (start == end)
        {
            start = 0;
            end = std::fread(buffer.data(), 1, buffer.size(), input);
            if (end == 0)
            {
                complete = std::ferror(input) == 0;
                break;
            }
        }
        const std::int32_t ready =
            plugin.writeready != nullptr ? plugin.writeready(&handle, &stream) : WriteChunk;
        const std::int32_t length = std::min(ready, static_cast<std::int32_t>(end - start));
        const std::int32_t taken =
            length > 0 ? plugin.write(&handle, &stream, offset, length, buffer.data() + start) : 0;
        if (taken <= 0)
        {
            // Negative: the plug-in ends the stream. Zero: not ready yet; a browser would come
            // back later, the player gives up after a while.
            complete = taken == 0 && ++idle < 1000;
            continue;
        }
        idle = 0;
        // A plug-in that claims more than it was offered took what it was offered.
        const std::int32_t used = std::min(taken, length);
        // Offsets are 32-bit: a file that grew past 2 GiB while read ends the stream.
        complete = used <= std::numeric_limits<std::int32_t>::max() - offset;
        if (!complete)
            continue;
        start += static_cast<std::size_t>(used);
        offset += used;
    }
    std::fclose(input);
    return complete;
}

NPError AppletInstance::DeliverPackage(const std::string& file, const std::string& url,
                                       unsigned long long size)
{
    NPStream stream = {};
    stream.ndata = this;
    stream.url = url.c_str();
    stream.end = static_cast<std::uint32_t>(size);
    std::string type = AppletMimeType;
    std::uint16_t streamType = NP_NORMAL;
    const NPError opened = plugin.newstream(&handle, &type[0], &stream, 0, &streamType);
    if (opened != NPERR_NO_ERROR)
        return opened;
    bool complete = true;
    if (streamType != NP_ASFILEONLY)
        complete = plugin.write != nullptr && WriteData(stream, file);
    if (complete && (streamType == NP_ASFILE || streamType == NP_ASFILEONLY))
        plugin.asfile(&handle, &stream, file.c_str());
    plugin.destroystream(&handle, &stream, complete ? NPRES_DONE : NPRES_NETWORK_ERR);
    return complete ? NPERR_NO_ERROR : NPERR_GENERIC_ERROR;
}

void AppletInstance::Destroy()
{
    if (!created)
        return;
    created = false;
    NPSavedData* saved = nullptr;
    plugin.destroy(&handle, &saved);
    // Saved data belongs to the browser now; it would hand it to the next instance of the page.
    if (saved != nullptr)
    {
        std::free(saved->buf);
        std::free(saved);
    }
}

// What the library does when it is loaded, before anything else of it runs.
#include "modules/RunTimePath.h"
#include "platform/Directory.h"
#include "platform/LibraryDirectory.h"
#include "plugin/npqvarunner/BrowserKeys.h"

#include <string>
#include <vector>

namespace
{
// The working directory as the host has it now (empty when it cannot be read), without the
// allocation hook, which is not there yet.
std::string CurrentDirectory()
{
    std::vector<char> buffer(256);
    for (int round = 0; round < 4; ++round)
    {
        const int length = QVGetCurrentDir(buffer.data(), static_cast<int>(buffer.size()));
        if (length < 0)
            break;
        if (length < static_cast<int>(buffer.size()))
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        buffer.resize(static_cast<std::size_t>(length) + 1);
    }
    return std::string();
}

// Before the library's static objects (priority 101 runs ahead of the default ones): the
// allocation hook loads the memory module while they are constructed, and the browser loads the
// plug-in from its own folder, where neither the system's search nor the browser's working
// directory finds the modules that lie beside it. Every applet's start-up makes its package's
// folder the working directory, and a package may bring any library: the plug-in's module
// searches (the property sets' scans above all) keep to the places the host started from. Xlib's
// thread support must be switched on before this library's first Xlib call.
__attribute__((constructor(101))) void PrepareLibrary()
{
    SetOwnDirectory(QVLibraryDirectory().c_str());
    SetStartDirectory(CurrentDirectory().c_str());
    QVPrepareWindowThreads();
}
}  // namespace

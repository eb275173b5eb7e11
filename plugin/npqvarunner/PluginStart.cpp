// What the library does when it is loaded, before anything else of it runs.
#include "modules/RunTimePath.h"
#include "platform/BrowserKeys.h"
#include "platform/LibraryDirectory.h"

namespace
{
// Before the library's static objects (priority 101 runs ahead of the default ones): the
// allocation hook loads the memory module while they are constructed, and the browser loads the
// plug-in from its own folder, where neither the system's search nor the browser's working
// directory finds the modules that lie beside it. Xlib's thread support must be switched on
// before this library's first Xlib call.
__attribute__((constructor(101))) void PrepareLibrary()
{
    SetOwnDirectory(QVLibraryDirectory().c_str());
    QVPrepareWindowThreads();
}
}  // namespace

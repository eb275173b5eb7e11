#include "platform/LibraryDirectory.h"

#include <dlfcn.h>

std::string QVLibraryDirectory()
{
    Dl_info info;
    if (dladdr(reinterpret_cast<void*>(&QVLibraryDirectory), &info) == 0 ||
        info.dli_fname == nullptr)
        return std::string();
    std::string path(info.dli_fname);
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return std::string();
    return path.substr(0, slash == 0 ? 1 : slash);
}

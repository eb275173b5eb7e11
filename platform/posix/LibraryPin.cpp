#include "platform/LibraryPin.h"

#include <dlfcn.h>

bool QVPinOwnLibrary()
{
    Dl_info info;
    if (dladdr(reinterpret_cast<void*>(&QVPinOwnLibrary), &info) == 0 || info.dli_fname == nullptr)
        return false;
    // The reference this takes is never dropped; with RTLD_NODELETE the library would stay even
    // if it were.
    return dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE) != nullptr;
}

#include "platform/DynLibrary.h"

#include "platform/RegularFile.h"

#include <cstring>
#include <dlfcn.h>

QVHandle QVOpenLibrary(const char* path)
{
    if (path == nullptr || path[0] == '\0')
        return nullptr;  // dlopen(null) would hand out the program itself
    // dlopen reads whatever the path names: a FIFO would keep it waiting for a writer for ever.
    // A bare name is left to the system's search of the library directories.
    if (std::strchr(path, '/') != nullptr && !QVIsRegularFile(path))
        return nullptr;
    QVHandle library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr)
        dlerror();  // clear the error state; failures are reported by the null handle
    return library;
}

bool QVCloseLibrary(QVHandle library) { return library != nullptr && dlclose(library) == 0; }

void* QVLibrarySymbol(QVHandle library, const char* symbol)
{
    // A null handle would mean RTLD_DEFAULT, a search of every loaded library.
    if (library == nullptr || symbol == nullptr)
        return nullptr;
    return dlsym(library, symbol);
}

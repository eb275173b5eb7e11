// The web's libraries are the modules compiled into the program (platform/QVCompiledLibrary.h):
// opening one finds it in the program's table, and nothing is ever loaded or unloaded.
#include "platform/DynLibrary.h"

#include "platform/web/CompiledLibraryPlace.h"

#include <cstring>

namespace
{
bool lastOpenFailed = false;
}  // namespace

QVHandle QVOpenLibrary(const char* path)
{
    const QVCompiledLibrary* library = QVFindCompiledLibrary(path);
    lastOpenFailed = library == nullptr;
    return const_cast<QVCompiledLibrary*>(library);
}

std::string QVLastLibraryError()
{
    return lastOpenFailed ? "not compiled into this program (an applet names the modules it "
                            "brings in qv_add_applet's MODULES)"
                          : "";
}

// The code stays, and so do its static objects: a library opened again after its last close is
// the same as before, as if the system had kept it loaded.
bool QVCloseLibrary(QVHandle library) { return library != nullptr; }

void* QVLibrarySymbol(QVHandle library, const char* symbol)
{
    if (library == nullptr || symbol == nullptr)
        return nullptr;
    const QVCompiledLibrary* compiled = static_cast<const QVCompiledLibrary*>(library);
    for (const QVCompiledSymbol* entry = compiled->symbols;
         entry != nullptr && entry->name != nullptr; ++entry)
    {
        if (std::strcmp(entry->name, symbol) == 0)
            return entry->address;
    }
    return nullptr;
}

void QVKeepWorkingDirectoryOutOfSearch() {}

bool QVLibrariesStayLoaded() { return true; }

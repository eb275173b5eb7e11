#include "platform/DynLibrary.h"

#include "platform/ProgramDirectory.h"
#include "platform/RegularFile.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include <dlfcn.h>
#include <sys/stat.h>

namespace
{
// The last load's error, for the messages that name why a library did not load. A plain buffer
// under a lock, not thread-local storage: a thread-local object with a destructor keeps every
// library that holds this code (each module links it) from being unloaded, and thread-local
// blocks of libraries that come and go crash the leak checker's walk of the threads at exit.
std::mutex lastErrorLock;
char lastError[512];

void KeepLastError(const std::string& text)
{
    const std::lock_guard<std::mutex> hold(lastErrorLock);
    const std::size_t length = std::min(text.size(), sizeof lastError - 1);
    text.copy(lastError, length);
    lastError[length] = '\0';
}

// Whether the system's search for a bare name would meet something other than a regular file
// before any library: the programs' run path (their own directory) comes first, then
// LD_LIBRARY_PATH. The system's library directories are not checked: only root writes there.
bool SearchMeetsNonRegularFile(const char* name)
{
    std::string directories = QVProgramDirectory();
    if (const char* extra = std::getenv("LD_LIBRARY_PATH"))
    {
        directories += ':';
        directories += extra;
    }
    std::size_t start = 0;
    while (start <= directories.size())
    {
        std::size_t end = directories.find(':', start);
        if (end == std::string::npos)
            end = directories.size();
        const std::string directory = directories.substr(start, end - start);
        start = end + 1;
        if (directory.empty())
            continue;
        const std::string candidate = directory + '/' + name;
        struct stat status;
        if (stat(candidate.c_str(), &status) == 0)
            return !S_ISREG(status.st_mode);
    }
    return false;
}
}  // namespace

QVHandle QVOpenLibrary(const char* path)
{
    if (path == nullptr || path[0] == '\0')
        return nullptr;  // dlopen(null) would hand out the program itself
    // dlopen reads whatever the path names: a FIFO would keep it waiting for a writer for ever.
    // A bare name is searched by the system, whose first places are checked the same way.
    const bool bare = std::strchr(path, '/') == nullptr;
    if (bare ? SearchMeetsNonRegularFile(path) : !QVIsRegularFile(path))
    {
        KeepLastError(std::string(path) + ": no regular file there");
        return nullptr;
    }
    QVHandle library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    // Reading the error also clears it.
    const char* error = library == nullptr ? dlerror() : nullptr;
    KeepLastError(error != nullptr ? error : "");
    return library;
}

std::string QVLastLibraryError()
{
    const std::lock_guard<std::mutex> hold(lastErrorLock);
    return lastError;
}

bool QVCloseLibrary(QVHandle library) { return library != nullptr && dlclose(library) == 0; }

void* QVLibrarySymbol(QVHandle library, const char* symbol)
{
    // A null handle would mean RTLD_DEFAULT, a search of every loaded library.
    if (library == nullptr || symbol == nullptr)
        return nullptr;
    return dlsym(library, symbol);
}

void QVKeepWorkingDirectoryOutOfSearch() {}

bool QVLibrariesStayLoaded() { return false; }

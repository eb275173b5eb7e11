#include "platform/DynLibrary.h"

#include "platform/RegularFile.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <string>
#include <windows.h>

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

// The system's text for an error code about a file, without the line end it carries. Some texts
// hold a place for the file's name ("%1 is not a valid Win32 application"), filled here.
std::string SystemErrorText(DWORD code, const std::string& file)
{
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    std::string result = length > 0 && text != nullptr ? std::string(text, length) : std::string();
    LocalFree(text);
    while (!result.empty() &&
           (result.back() == '\n' || result.back() == '\r' || result.back() == ' '))
        result.pop_back();
    for (std::size_t at = result.find("%1"); at != std::string::npos;
         at = result.find("%1", at + file.size()))
        result.replace(at, 2, file);
    return result + " (error " + std::to_string(code) + ")";
}

// Set once by QVKeepWorkingDirectoryOutOfSearch; this library's own loads only, not the process's.
bool& WorkingDirectoryKeptOut()
{
    static bool keptOut = false;
    return keptOut;
}
}  // namespace

QVHandle QVOpenLibrary(const char* path)
{
    if (path == nullptr || path[0] == '\0')
        return nullptr;
    // Only a regular file is a library: a device or a pipe may keep the loader waiting. A bare
    // name is left to the system's search.
    if (std::strpbrk(path, "\\/:") != nullptr && !QVIsRegularFile(path))
    {
        KeepLastError(std::string(path) + ": no regular file there");
        return nullptr;
    }
    // No "cannot find" dialog box for a library that is missing: a failed load is a null handle.
    const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    const bool bare = std::strpbrk(path, "\\/:") == nullptr;
    HMODULE library = bare && WorkingDirectoryKeptOut()
                          ? LoadLibraryExA(path, nullptr, LOAD_LIBRARY_SEARCH_DEFAULT_DIRS)
                          : LoadLibraryA(path);
    KeepLastError(library == nullptr ? SystemErrorText(GetLastError(), path) : std::string());
    SetErrorMode(previous);
    // Each time a library built with this toolchain is loaded anew, its runtime takes a
    // thread-local storage index (for the exception data of each thread) that unloading never
    // gives back, and a process has about a thousand: scans, which load and unload the modules
    // they meet (every image, mesh and property set scans), would end the process after some
    // hundred. So a library once loaded stays loaded until the process ends; a later load takes
    // only a reference, and FreeLibrary drops it.
    HMODULE pinned = nullptr;
    if (library != nullptr)
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                           reinterpret_cast<LPCSTR>(library), &pinned);
    return reinterpret_cast<QVHandle>(library);
}

std::string QVLastLibraryError()
{
    const std::lock_guard<std::mutex> hold(lastErrorLock);
    return lastError;
}

bool QVCloseLibrary(QVHandle library)
{
    return library != nullptr && FreeLibrary(reinterpret_cast<HMODULE>(library)) != 0;
}

void* QVLibrarySymbol(QVHandle library, const char* symbol)
{
    if (library == nullptr || symbol == nullptr)
        return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(library), symbol));
}

void QVKeepWorkingDirectoryOutOfSearch() { WorkingDirectoryKeptOut() = true; }

bool QVLibrariesStayLoaded() { return true; }

#pragma once

#include "platform/QVHandle.h"

#include <string>

// Dynamic libraries. Windows: LoadLibraryA, GetProcAddress, FreeLibrary. Linux: dlopen with
// RTLD_NOW | RTLD_LOCAL (every library keeps its own symbols), dlsym, dlclose.

// Loads the library at path (a bare name uses the system's own search). Null on failure, and for
// a path that names anything but a regular file (see RegularFile.h).
QVHandle QVOpenLibrary(const char* path);

// Why the last QVOpenLibrary of the calling thread failed, as the system's loader tells it (a
// missing dependency, a file of another architecture, ...); empty after a success.
std::string QVLastLibraryError();

// Drops one reference to the library. Returns false on failure or for a null handle.
bool QVCloseLibrary(QVHandle library);

// Whether a library once loaded stays loaded until the process ends, whatever closes it, its
// static data with it: on the web (libraries are compiled in) and on Windows (each fresh load
// would take a thread-local storage index that is never given back); not on Linux.
bool QVLibrariesStayLoaded();

// Address of the exported symbol, or null (also for a null handle or symbol).
void* QVLibrarySymbol(QVHandle library, const char* symbol);

// From now on, the system's own search for a bare name that this library loads leaves the
// working directory out (Windows: LoadLibraryExA with LOAD_LIBRARY_SEARCH_DEFAULT_DIRS, which
// searches the program's directory, System32 and the directories the process added, and neither
// the working directory nor PATH; the host's own loads are not touched). Linux and the web never
// search the working directory by themselves: nothing to do there.
void QVKeepWorkingDirectoryOutOfSearch();

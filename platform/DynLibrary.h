#pragma once

#include "platform/QVHandle.h"

// Dynamic libraries. Windows: LoadLibraryA, GetProcAddress, FreeLibrary. Linux: dlopen with
// RTLD_NOW | RTLD_LOCAL (every library keeps its own symbols), dlsym, dlclose.

// Loads the library at path (a bare name uses the system's own search). Null on failure, and for
// a path that names anything but a regular file (see RegularFile.h).
QVHandle QVOpenLibrary(const char* path);

// Drops one reference to the library. Returns false on failure or for a null handle.
bool QVCloseLibrary(QVHandle library);

// Whether a library once loaded stays loaded until the process ends, whatever closes it, its
// static data with it: on the web (libraries are compiled in) and on Windows (each fresh load
// would take a thread-local storage index that is never given back); not on Linux.
bool QVLibrariesStayLoaded();

// Address of the exported symbol, or null (also for a null handle or symbol).
void* QVLibrarySymbol(QVHandle library, const char* symbol);

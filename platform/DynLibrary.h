#pragma once

#include "platform/QVHandle.h"

// Dynamic libraries. Windows: LoadLibraryA, GetProcAddress, FreeLibrary. Linux: dlopen with
// RTLD_NOW | RTLD_LOCAL (every library keeps its own symbols), dlsym, dlclose.

// Loads the library at path (a bare name uses the system's own search). Null on failure, and for
// a path that names anything but a regular file (see RegularFile.h).
QVHandle QVOpenLibrary(const char* path);

// Drops one reference to the library. Returns false on failure or for a null handle.
bool QVCloseLibrary(QVHandle library);

// Address of the exported symbol, or null (also for a null handle or symbol).
void* QVLibrarySymbol(QVHandle library, const char* symbol);

// Takes the working directory out of the system's own search for bare library names, for the
// rest of the process (Windows: SetDllDirectoryW(L""), which leaves the program's directory, the
// system directories and PATH). Linux and the web never search the working directory by
// themselves: nothing to do there.
void QVKeepWorkingDirectoryOutOfSearch();

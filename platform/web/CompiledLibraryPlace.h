#pragma once

#include "platform/QVCompiledLibrary.h"

#include <string>

// Where compiled-in libraries lie: each in the folder it names below the program's directory, as
// the library file of a desktop build would lie beside or below the program. Paths are compared
// in their absolute, normal form (no ".", "..", doubled or trailing separators); links are not
// resolved.

// The absolute normal form of path, relative paths taken from the working directory. Empty when
// the working directory cannot be read.
std::string QVNormalPath(const std::string& path);

// The absolute normal form of the directory a compiled-in library lies in.
std::string QVCompiledLibraryDirectory(const QVCompiledLibrary& library);

// The compiled-in library a library path stands for, or null:
//  - a bare name: the library of that file name in the program's directory (the first place of
//    the system's own search, as on the desktop);
//  - a path: the library whose place it names; else, when the path names a regular file, the
//    library of that file name wherever it lies. Such a file (an applet package's module,
//    unpacked in the virtual file system) stands for the code compiled in under its name: code
//    in a file is never loaded, and a file whose name is not compiled in loads nothing.
const QVCompiledLibrary* QVFindCompiledLibrary(const char* path);

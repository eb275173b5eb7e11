#pragma once

#include "core/containers/QVList.h"
#include "core/string/QVString.h"
#include "platform/QVHandle.h"

#include <string>
#include <vector>

// Where the runtime lives, directory changes, file listings and dynamic libraries, as the module
// manager and the applet runner use them. Paths are 8-bit QVStrings of any length.
// The operating-system side is in platform/ (RunTimeKey.h, Directory.h, FileSearch.h,
// DynLibrary.h), which also says how Linux stands in for the registry, the system directory and
// drive letters.

// Puts the runtime directory (no trailing separator) into path. Returns false with path empty
// when the key does not exist; true with path empty when the key holds no value.
bool GetRunTimePath(QVString& path);

// Puts the working directory (of the current drive on Windows) into path; empty when its path
// cannot be read.
void GetWorkingDirectory(QVString& path);

// Puts the system directory into path (on Linux the directory of the installed modules); empty on
// failure.
void GetSystemDir(QVString& path);

// A name without a path separator becomes working directory + separator + name; others stay.
// When the working directory's path cannot be read, "." stands for it.
void AddWorkingDirectory(QVString& name);

// Changes the working directory. A path whose second character is a colon changes the drive first
// (a..z and A..Z select drives 1..26); a drive that cannot be selected, which on Linux is every
// drive, returns false and leaves the directory as it was. Returns whether the change succeeded.
bool ChangeDirectory(const char* path);
bool ChangeDirectory(const unsigned short* path);
bool ChangeDirectory(const QVString& path);  // by the string's encoding

// Empties names and fills it with the names in the working directory matching pattern ('*', '?')
// (in the start directory instead when one is set, see SetStartDirectory).
void FindFiles(QVList<QVString>& names, const char* pattern);

// As FindFiles, in directory, which is listed by its path: the working directory never changes.
// When the directory cannot be read the working directory (or the start directory) is searched
// instead.
void FindFilesIn(const char* directory, QVList<QVString>& names, const char* pattern);

// Loads a library, trying in turn: (1) the system's own search for name, (2) the working
// directory (the start directory when one is set), then the own directory when one is set (see
// SetOwnDirectory), then the modules' directory of the installation the program belongs to
// (platform/ModulePlaces.h), (3) the system directory, (4) the runtime directory (the root when it
// is not set). Returns the handle, or null when all of them fail.
QVHandle LoadDynLibrary(const char* name);

// The paths LoadDynLibrary tries for name, in its order (the first is name itself, for the
// system's own search); empty for no name.
std::vector<std::string> LibrarySearchPaths(const char* name);

// Why LoadDynLibrary(name) gives nothing, for a person to read: the first path there that holds
// a file and the loader's reason for refusing it, or that the name was found nowhere and the
// places looked at, one per line.
std::string DescribeLibraryFailure(const char* name);

// The directory the host started in, for a library whose host later makes folders the working
// directory whose libraries must never be loaded: the browser plug-in, whose applets' start-up
// makes each package's folder the working directory, while a package may bring any library
// besides the one its configuration names. Once set, it stands for the working directory in
// this library's module searches (FindFiles, FindFilesIn, LoadDynLibrary and so the module
// manager's scans), and the system's own search (step 1 of LoadDynLibrary) no longer looks in the
// working directory either (Windows looks there, Linux never does). Empty, the default: the
// working directory itself. Set it before the first module is loaded.
void SetStartDirectory(const char* directory);
// The start directory (empty when none is set).
void GetStartDirectory(QVString& directory);

// The directory of this library's own file, for a library that a foreign host loads from
// anywhere (the browser plug-in): the modules it ships with lie beside it, where neither the
// system's search nor the host's working directory finds them. Searched by LoadDynLibrary after
// the working directory and scanned by the module manager's LoadModules after it. Empty, the
// default, adds no place. Set it before the first module is loaded.
void SetOwnDirectory(const char* directory);
// The own directory (empty when none is set).
void GetOwnDirectory(QVString& directory);

// Frees the library, sets handle to null and returns whether freeing succeeded.
bool FreeDynLibrary(QVHandle& handle);

// Address of an exported symbol, or null.
void* GetDynSymbol(QVHandle handle, const char* symbol);

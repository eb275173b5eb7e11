#pragma once

#include <string>
#include <vector>

// Where the modules installed with the programs lie, for scans by kind, which list these places
// after the working and runtime directories: a program started from anywhere finds its modules
// there as loads by name already do.
//
// Windows: the program's directory (where the installation puts the modules; the system's own
// library search looks there first). Linux: the program's directory (the build puts the modules
// beside the programs, whose run path names it), the modules' directory of the installation the
// program belongs to (QVModulesBesideProgram), then the installed modules' directory (the system
// directory of the library search). Web: the program's directory, where the modules compiled
// into the program lie. Places that cannot be told are left out.
std::vector<std::string> QVInstalledModulePlaces();

// Where an installation puts the modules, seen from the program's own directory, so that a copy
// installed under any prefix finds its own modules before those of the prefix it was configured
// for. Linux: <program directory>/../lib/qv (as the installation lays it out), whether it exists
// or not. Windows: the program's directory, where the installation puts the modules. Web: empty
// (nothing is installed). Empty as well when the program's directory cannot be told.
std::string QVModulesBesideProgram();

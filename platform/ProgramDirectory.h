#pragma once

#include <string>

// The directory that holds the running program's file, without a trailing separator: the first
// place the system's own library search looks (on Windows by the system's rule, on Linux through
// the programs' run path of their own directory). Empty when it cannot be told.
std::string QVProgramDirectory();

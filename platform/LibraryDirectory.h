#pragma once

#include <string>

// The directory of the library (or program) file that holds the calling code, without a trailing
// separator; empty when it cannot be told. A library that a foreign host loads from anywhere (the
// browser plug-in) finds the modules beside itself through it.
//
// Windows: GetModuleHandleExA of an address of this code, then GetModuleFileNameA. Linux: dladdr.
std::string QVLibraryDirectory();

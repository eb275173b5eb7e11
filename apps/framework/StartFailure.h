#pragma once

// How a program says that it cannot start when there is no window to show a message box in:
// on standard error, and with its own exit code. Programs report every other failed start with a
// message box through the UI manager.

// The exit code of a program that could not start (no UI manager, no display).
const int QV_EXIT_NOT_STARTED = 1;

// Says that the module file could not be loaded as a module of the given type, and where the
// library search looked for it: the program's directory and the system's own search, the
// working directory, the modules' directory of the program's installation, the system directory
// and the runtime directory.
void ReportModuleNotLoaded(const char* program, const char* type, const char* fileName);

// Says that the module file was loaded but is not a module of the given type.
void ReportWrongModuleType(const char* program, const char* type, const char* fileName);

// Says that no display could be opened, so the program's window could not be made.
void ReportNoDisplay(const char* program);

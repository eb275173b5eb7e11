#pragma once

// The whole path of the running program's own file, as the system knows it (not as it was
// typed on the command line: a path with blanks or a program started through a search path
// still gives the full path).
//
// Windows: GetModuleFileNameA of the program (ANSI code page). Linux: the link /proc/self/exe
// (links on the way resolved).

// Writes the program path, NUL-terminated, into out (size bytes, size > 0). Returns false, out
// empty, when it does not fit or cannot be read.
bool QVGetProgramPath(char* out, int size);

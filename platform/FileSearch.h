#pragma once

// Listing the regular files of a directory that match a wildcard pattern ('*' and '?').
//
// Windows: _findfirst/_findnext, in the order they return. Linux: readdir has no useful order,
// so the names are sorted by byte value. Directories, FIFOs, devices and sockets are never
// listed (links count as what they point to): nothing that lists files may open one by mistake.
//
// A directory is listed by its path, never by entering it: the working directory is the whole
// process's, and a listing must not move it even for a moment.

// Called once per matching name (the name alone, without the directory); name is valid only
// during the call.
typedef void (*QVFoundFileFunction)(const char* name, void* context);

// Calls found(name, context) for every entry of directory (null: the working directory) matching
// pattern. Returns false, calling nothing, when the directory cannot be read; true otherwise,
// also when nothing matches.
bool QVFindFiles(const char* directory, const char* pattern, QVFoundFileFunction found,
                 void* context);

#pragma once

// Listing the files of the working directory that match a wildcard pattern ('*' and '?').
//
// Windows: _findfirst/_findnext, in the order they return. Linux: readdir has no useful order,
// so the names are sorted by byte value; "." and ".." are never listed.

// Called once per matching name; name is valid only during the call.
typedef void (*QVFoundFileFunction)(const char* name, void* context);

// Calls found(name, context) for every entry of the working directory matching pattern. Nothing
// is called when nothing matches or the directory cannot be read.
void QVFindFiles(const char* pattern, QVFoundFileFunction found, void* context);

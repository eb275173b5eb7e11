#pragma once

#include <cstdio>

// Regular files, told apart from everything else a name can stand for (a FIFO, a device, a
// socket, a directory, a pipe) without opening it in a way that waits: an open of a FIFO waits
// for the other end, for ever when nobody comes. Only regular files are ever handed to the
// library loader or read and written as files.
//
// Linux: stat, and for streams open with O_NONBLOCK followed by fstat on the open file, so that
// the check and the use concern the same file. Windows: the attributes and type of a handle
// opened without access rights (which never waits), then the usual open; a name changed in
// between is not provided for.

// Whether path names an existing regular file (links followed).
bool QVIsRegularFile(const char* path);

// fopen(path, mode) when path names a regular file, or nothing yet and mode creates one ("w",
// "a"); null, without waiting, for anything else or when the open fails.
std::FILE* QVOpenRegularFile(const char* path, const char* mode);

// The same for a 16-bit path (UTF-16): _wfopen on Windows; converted to UTF-8 elsewhere, where
// a lone surrogate, which names no file there, fails.
std::FILE* QVOpenRegularFileWide(const unsigned short* path, const char* mode);

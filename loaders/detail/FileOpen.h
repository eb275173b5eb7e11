#pragma once

#include "core/string/QVString.h"

#include <cstdio>

// Opening a stream by name, one implementation per target (posix/, win32/ beside this folder).
// Both return null when the name cannot be opened or does not name a regular file.

// An 8-bit path: the target's narrow file names (UTF-8 on Linux, the ANSI code page on Windows).
std::FILE* QVOpenNarrowFile(const char* path, const char* mode);

// A path of 16-bit units (UTF-16): _wfopen on Windows; converted to UTF-8 elsewhere, where a
// lone surrogate, which names no file there, fails.
std::FILE* QVOpenWideFile(const unsigned short* path, const char* mode);

// Either of the two by a text of either width (a 16-bit text by the wide form). An empty name
// fails.
inline std::FILE* QVOpenFile(const QVString& path, const char* mode)
{
    if (path.GetLength() == 0)
    {
        return nullptr;
    }
    return path.GetEncoding() == QVString::Wide ? QVOpenWideFile(path.GetWideBuffer(), mode)
                                                : QVOpenNarrowFile(path.GetBuffer(), mode);
}

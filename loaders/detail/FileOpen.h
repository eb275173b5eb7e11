#pragma once

#include "core/string/QVString.h"

#include <cstdio>

// Opening, replacing and removing files by name, one implementation per target (posix/, win32/
// beside this folder). Opening returns null when the name cannot be opened or does not name a
// regular file.

// An 8-bit path: the target's narrow file names (UTF-8 on Linux, the ANSI code page on Windows).
std::FILE* QVOpenNarrowFile(const char* path, const char* mode);

// A path of 16-bit units (UTF-16): _wfopen on Windows; converted to UTF-8 elsewhere, where a
// lone surrogate, which names no file there, fails.
std::FILE* QVOpenWideFile(const unsigned short* path, const char* mode);

// Moves the file from over the file to, replacing it in one step where the system allows (rename
// on POSIX, MoveFileEx with MOVEFILE_REPLACE_EXISTING on Windows), so that to names either its
// old or its new contents, never a part. False when nothing was moved.
bool QVReplaceFile(const char* from, const char* to);
bool QVReplaceFile(const unsigned short* from, const unsigned short* to);

// Deletes a file; false when it could not be deleted.
bool QVRemoveFile(const char* path);
bool QVRemoveFile(const unsigned short* path);

// The same by a text of either width (a 16-bit text by the wide forms). An empty name fails.
inline std::FILE* QVOpenFile(const QVString& path, const char* mode)
{
    if (path.GetLength() == 0)
    {
        return nullptr;
    }
    return path.GetEncoding() == QVString::Wide ? QVOpenWideFile(path.GetWideBuffer(), mode)
                                                : QVOpenNarrowFile(path.GetBuffer(), mode);
}

// from and to are given in one width when either is 16-bit.
inline bool QVReplaceFile(const QVString& from, const QVString& to)
{
    if (from.GetLength() == 0 || to.GetLength() == 0)
    {
        return false;
    }
    if (from.GetEncoding() == QVString::Wide || to.GetEncoding() == QVString::Wide)
    {
        QVString wideFrom(from);
        QVString wideTo(to);
        return wideFrom.SetEncoding(QVString::Wide) && wideTo.SetEncoding(QVString::Wide) &&
               QVReplaceFile(wideFrom.GetWideBuffer(), wideTo.GetWideBuffer());
    }
    return QVReplaceFile(from.GetBuffer(), to.GetBuffer());
}

inline bool QVRemoveFile(const QVString& path)
{
    if (path.GetLength() == 0)
    {
        return false;
    }
    return path.GetEncoding() == QVString::Wide ? QVRemoveFile(path.GetWideBuffer())
                                                : QVRemoveFile(path.GetBuffer());
}

#include "platform/Directory.h"

#include <direct.h>
#include <windows.h>

char QVPathSeparator() { return '\\'; }

bool QVGetCurrentDir(char* out, int size)
{
    if (out == nullptr || size <= 0)
        return false;
    if (_getdcwd(_getdrive(), out, size) == nullptr)
    {
        out[0] = '\0';
        return false;
    }
    return true;
}

bool QVGetSystemDir(char* out, int size)
{
    if (out == nullptr || size <= 0)
        return false;
    const UINT length = GetSystemDirectoryA(out, static_cast<UINT>(size));
    // 0 is failure; a value not below size is the size that would have been needed.
    if (length == 0 || length >= static_cast<UINT>(size))
    {
        out[0] = '\0';
        return false;
    }
    return true;
}

bool QVChangeDrive(int drive)
{
    // Only 1 (A:) to 26 (Z:) name drives; the runtime may treat anything else as a fatal
    // parameter error instead of failing.
    return drive >= 1 && drive <= 26 && _chdrive(drive) == 0;
}

bool QVChangeDir(const char* path) { return path != nullptr && _chdir(path) == 0; }

bool QVChangeDirWide(const unsigned short* path)
{
    // wchar_t is 16 bits wide on Windows: the system's 16-bit texts are its wide texts.
    static_assert(sizeof(wchar_t) == sizeof(unsigned short), "16-bit wchar_t expected");
    return path != nullptr && _wchdir(reinterpret_cast<const wchar_t*>(path)) == 0;
}

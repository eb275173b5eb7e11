#include "platform/Directory.h"

#include <cstdlib>
#include <cstring>
#include <direct.h>
#include <string>
#include <vector>
#include <windows.h>

namespace
{
// The full path of path (relative ones from the working directory); empty when it cannot be told.
std::string FullPath(const char* path)
{
    std::vector<char> buffer(MAX_PATH);
    DWORD length =
        GetFullPathNameA(path, static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (length >= buffer.size())
    {
        buffer.resize(length + 1);
        length = GetFullPathNameA(path, static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    }
    if (length == 0 || length >= buffer.size())
        return std::string();
    std::string full(buffer.data(), length);
    // "C:\dir\" and "C:\dir" name one directory; a root keeps its separator.
    while (full.size() > 3 && (full.back() == '\\' || full.back() == '/'))
        full.pop_back();
    return full;
}
}  // namespace

char QVPathSeparator() { return '\\'; }

int QVGetCurrentDir(char* out, int size)
{
    if (out == nullptr || size <= 0)
        return -1;
    out[0] = '\0';
    // With a null buffer _getdcwd allocates one as long as the path needs.
    char* path = _getdcwd(_getdrive(), nullptr, 0);
    if (path == nullptr)
        return -1;
    const std::size_t length = std::strlen(path);
    if (length < static_cast<std::size_t>(size))
        std::memcpy(out, path, length + 1);
    std::free(path);
    return static_cast<int>(length);
}

int QVGetSystemDir(char* out, int size)
{
    if (out == nullptr || size <= 0)
        return -1;
    const UINT length = GetSystemDirectoryA(out, static_cast<UINT>(size));
    if (length == 0)
    {
        out[0] = '\0';
        return -1;
    }
    // A value not below size is the room that would have been needed, terminator included.
    if (length >= static_cast<UINT>(size))
        out[0] = '\0';
    return static_cast<int>(length);
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

bool QVSameDirectory(const char* first, const char* second)
{
    if (first == nullptr || second == nullptr)
        return false;
    const std::string one = FullPath(first);
    const std::string other = FullPath(second);
    return !one.empty() && lstrcmpiA(one.c_str(), other.c_str()) == 0;
}

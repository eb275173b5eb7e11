#include "platform/Directory.h"

#include "platform/posix/Utf8Names.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#ifndef QV_SYSTEM_MODULE_DIR
#define QV_SYSTEM_MODULE_DIR "/usr/local/lib/qv"
#endif

namespace
{

// Copies text into out when it fits and returns its length (see Directory.h); -1 for no text.
int CopyOut(const char* text, char* out, int size)
{
    if (out == nullptr || size <= 0)
        return -1;
    out[0] = '\0';
    if (text == nullptr)
        return -1;
    const std::size_t length = std::strlen(text);
    if (length > static_cast<std::size_t>(INT_MAX) - 1)
        return -1;
    if (length < static_cast<std::size_t>(size))
        std::memcpy(out, text, length + 1);
    return static_cast<int>(length);
}

}  // namespace

char QVPathSeparator() { return '/'; }

int QVGetCurrentDir(char* out, int size)
{
    // getcwd with a null buffer allocates one as long as the path needs.
    char* path = getcwd(nullptr, 0);
    const int length = CopyOut(path, out, size);
    std::free(path);
    return length;
}

int QVGetSystemDir(char* out, int size)
{
    const char* dir = std::getenv("QV_SYSTEM_DIR");
    return CopyOut(dir != nullptr ? dir : QV_SYSTEM_MODULE_DIR, out, size);
}

// Linux has no drives; a path with a drive prefix names nothing here.
bool QVChangeDrive(int) { return false; }

bool QVChangeDir(const char* path) { return path != nullptr && chdir(path) == 0; }

bool QVChangeDirWide(const unsigned short* path)
{
    if (path == nullptr)
        return false;
    // A lone surrogate names no directory here.
    std::string narrow;
    if (!QVUtf16ToUtf8(path, narrow))
        return false;
    return chdir(narrow.c_str()) == 0;
}

bool QVSameDirectory(const char* first, const char* second)
{
    struct stat one;
    struct stat other;
    return first != nullptr && second != nullptr && stat(first, &one) == 0 &&
           stat(second, &other) == 0 && one.st_dev == other.st_dev && one.st_ino == other.st_ino;
}

#include "platform/Directory.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
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

// Appends one code point as UTF-8.
void AppendUtf8(std::string& out, unsigned long c)
{
    if (c < 0x80)
    {
        out += static_cast<char>(c);
    }
    else if (c < 0x800)
    {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    else if (c < 0x10000)
    {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    else
    {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
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
    // UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
    std::string narrow;
    for (const unsigned short* p = path; *p != 0; ++p)
    {
        unsigned long c = *p;
        if (c >= 0xD800 && c < 0xDC00 && p[1] >= 0xDC00 && p[1] < 0xE000)
        {
            c = 0x10000 + ((c - 0xD800) << 10) + (p[1] - 0xDC00);
            ++p;
        }
        else if (c >= 0xD800 && c < 0xE000)
        {
            c = 0xFFFD;
        }
        AppendUtf8(narrow, c);
    }
    return chdir(narrow.c_str()) == 0;
}

// Files by name on Windows: narrow names in the ANSI code page, wide names through the wide
// functions.
#include "loaders/detail/FileOpen.h"

#include <string>

#include <stdio.h>

namespace
{
// wchar_t holds UTF-16 units here, but it is a type of its own: copy rather than cast.
std::wstring WideName(const unsigned short* path)
{
    std::wstring name;
    for (const unsigned short* p = path; *p != 0; ++p)
    {
        name += static_cast<wchar_t>(*p);
    }
    return name;
}
}  // namespace

std::FILE* QVOpenNarrowFile(const char* path, const char* mode) { return std::fopen(path, mode); }

std::FILE* QVOpenWideFile(const unsigned short* path, const char* mode)
{
    const std::wstring name = WideName(path);
    std::wstring wideMode;
    for (const char* p = mode; *p != '\0'; ++p)
    {
        wideMode += static_cast<wchar_t>(static_cast<unsigned char>(*p));
    }
    return _wfopen(name.c_str(), wideMode.c_str());
}

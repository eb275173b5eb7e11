#include "platform/RegularFile.h"

#include <stdio.h>
#include <string>
#include <windows.h>

namespace
{

enum class Kind
{
    Missing,  // nothing of that name (yet)
    Regular,
    Other  // a directory, a device, a pipe, or a name that cannot be asked about
};

// What an open handle without access rights says about the name: such an open reads nothing,
// so it never waits, not even for a pipe or a console.
Kind KindOf(HANDLE handle)
{
    if (handle == INVALID_HANDLE_VALUE)
    {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? Kind::Missing
                                                                              : Kind::Other;
    }
    BY_HANDLE_FILE_INFORMATION information;
    const bool regular = GetFileType(handle) == FILE_TYPE_DISK &&
                         GetFileInformationByHandle(handle, &information) != 0 &&
                         (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    CloseHandle(handle);
    return regular ? Kind::Regular : Kind::Other;
}

const DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

Kind KindOf(const char* path)
{
    return KindOf(CreateFileA(path, 0, ShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                              nullptr));
}

Kind KindOf(const wchar_t* path)
{
    return KindOf(CreateFileW(path, 0, ShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                              nullptr));
}

// A missing file may be opened by a mode that creates it; reading one then fails by itself.
bool MayOpen(Kind kind) { return kind != Kind::Other; }

}  // namespace

bool QVIsRegularFile(const char* path) { return path != nullptr && KindOf(path) == Kind::Regular; }

std::FILE* QVOpenRegularFile(const char* path, const char* mode)
{
    if (path == nullptr || mode == nullptr || !MayOpen(KindOf(path)))
        return nullptr;
    return std::fopen(path, mode);
}

std::FILE* QVOpenRegularFileWide(const unsigned short* path, const char* mode)
{
    if (path == nullptr || mode == nullptr)
        return nullptr;
    // wchar_t holds UTF-16 units here, but it is a type of its own: copy rather than cast.
    std::wstring name;
    for (const unsigned short* p = path; *p != 0; ++p)
        name += static_cast<wchar_t>(*p);
    std::wstring wideMode;
    for (const char* p = mode; *p != '\0'; ++p)
        wideMode += static_cast<wchar_t>(static_cast<unsigned char>(*p));
    if (!MayOpen(KindOf(name.c_str())))
        return nullptr;
    return _wfopen(name.c_str(), wideMode.c_str());
}

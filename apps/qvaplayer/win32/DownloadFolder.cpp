#include "apps/qvaplayer/DownloadFolder.h"

#include "apps/qvaplayer/LocalPaths.h"

#include <windows.h>

#include <cstdio>
#include <vector>

std::string CreateDownloadFolder(const std::string& parent)
{
    std::string base = parent;
    if (base.empty())
    {
        char temp[MAX_PATH + 1];
        const DWORD length = GetTempPathA(sizeof temp, temp);
        if (length == 0 || length > MAX_PATH)
            return std::string();
        base.assign(temp, length);
    }
    // A name that no other folder has yet: CreateDirectoryA fails for an existing one.
    const DWORD seed = GetTickCount() ^ (GetCurrentProcessId() << 16);
    for (DWORD attempt = 0; attempt < 1000; ++attempt)
    {
        char name[32];
        std::snprintf(name, sizeof name, "qvaplayer-%08lx",
                      static_cast<unsigned long>(seed + attempt * 7919u));
        const std::string folder = JoinPath(base, name);
        if (CreateDirectoryA(folder.c_str(), nullptr))
            return AbsolutePath(folder);
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            return std::string();
    }
    return std::string();
}

bool CopyIntoFolder(const std::string& source, const std::string& folder, const std::string& name,
                    unsigned long long maxBytes)
{
    HANDLE in = CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (in == INVALID_HANDLE_VALUE)
        return false;
    const std::string target = JoinPath(folder, name);
    HANDLE out = CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE)
    {
        CloseHandle(in);
        return false;
    }
    bool complete = true;
    std::vector<char> buffer(65536);
    for (unsigned long long copied = 0;;)
    {
        DWORD got = 0, put = 0;
        complete =
            ReadFile(in, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) != 0;
        copied += got;
        if (!complete || got == 0)
            break;
        complete = copied <= maxBytes && WriteFile(out, buffer.data(), got, &put, nullptr) != 0 &&
                   put == got;
        if (!complete)
            break;
    }
    CloseHandle(in);
    if (!CloseHandle(out))
        complete = false;
    if (!complete)
        DeleteFileA(target.c_str());
    return complete;
}

bool IsReadableFile(const std::string& path, unsigned long long& size)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return false;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
}

#include "../FileState.h"

#include <windows.h>

namespace
{
std::int64_t UnixSeconds(const FILETIME& time)
{
    const std::uint64_t ticks =
        (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return static_cast<std::int64_t>(ticks / 10000000ULL) - 11644473600LL;
}
}  // namespace

FileState StateOf(const std::filesystem::path& path)
{
    FileState state;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return state;
    state.exists = true;
    state.readOnly = (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    state.hidden = (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0;
    state.system = (data.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM) != 0;
    state.archive = (data.dwFileAttributes & FILE_ATTRIBUTE_ARCHIVE) != 0;
    state.write = UnixSeconds(data.ftLastWriteTime);
    state.access = UnixSeconds(data.ftLastAccessTime);
    // Wine keeps files on a Linux file system, where no creation time can be set: it reports
    // another time there, so only real Windows has one to compare.
    static const bool wine =
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    if (!wine)
        state.creation = UnixSeconds(data.ftCreationTime);
    return state;
}

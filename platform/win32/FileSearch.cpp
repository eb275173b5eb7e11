#include "platform/FileSearch.h"

#include <cstring>
#include <io.h>
#include <string>
#include <windows.h>

namespace
{

// The search text for pattern in directory: "dir\pattern", without doubling a separator that
// the directory already ends with ("C:\", "d:").
std::string InDirectory(const char* directory, const char* pattern)
{
    std::string search(directory);
    const char last = search.back();
    if (last != '\\' && last != '/' && last != ':')
        search += '\\';
    return search + pattern;
}

// _findfirst fails alike for a missing directory and for no match: ask the directory itself.
bool IsReadableDirectory(const char* directory)
{
    const DWORD attributes = GetFileAttributesA(directory);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

bool QVFindFiles(const char* directory, const char* pattern, QVFoundFileFunction found,
                 void* context)
{
    if (directory != nullptr && (directory[0] == '\0' || !IsReadableDirectory(directory)))
        return false;
    if (pattern == nullptr || found == nullptr)
        return true;
    const std::string search = directory != nullptr ? InDirectory(directory, pattern) : pattern;
    _finddata_t entry;
    const intptr_t handle = _findfirst(search.c_str(), &entry);
    if (handle == -1)
        return true;
    do
    {
        // Directories are no files to load; devices and pipes are never listed here.
        if ((entry.attrib & _A_SUBDIR) == 0)
            found(entry.name, context);
    } while (_findnext(handle, &entry) == 0);
    _findclose(handle);
    return true;
}

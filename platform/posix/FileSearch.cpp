#include "platform/FileSearch.h"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace
{

// Whether the entry is a regular file, links followed; asked of the directory by name, which
// opens nothing.
bool IsRegularEntry(DIR* dir, const dirent* entry)
{
    if (entry->d_type == DT_REG)
        return true;
    if (entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN)
        return false;
    struct stat info;
    return fstatat(dirfd(dir), entry->d_name, &info, 0) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

bool QVFindFiles(const char* directory, const char* pattern, QVFoundFileFunction found,
                 void* context)
{
    DIR* dir = opendir(directory != nullptr ? directory : ".");
    if (dir == nullptr)
        return false;
    std::vector<std::string> names;
    while (const dirent* entry = readdir(dir))
    {
        if (pattern != nullptr && fnmatch(pattern, entry->d_name, 0) == 0 &&
            IsRegularEntry(dir, entry))
            names.emplace_back(entry->d_name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    if (found != nullptr)
    {
        for (const std::string& name : names)
            found(name.c_str(), context);
    }
    return true;
}

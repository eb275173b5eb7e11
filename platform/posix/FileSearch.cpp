#include "platform/FileSearch.h"

#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <fnmatch.h>
#include <string>
#include <vector>

bool QVFindFiles(const char* directory, const char* pattern, QVFoundFileFunction found,
                 void* context)
{
    DIR* dir = opendir(directory != nullptr ? directory : ".");
    if (dir == nullptr)
        return false;
    std::vector<std::string> names;
    while (const dirent* entry = readdir(dir))
    {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        if (pattern != nullptr && fnmatch(pattern, entry->d_name, 0) == 0)
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

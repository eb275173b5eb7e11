#include "platform/FileSearch.h"

#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <fnmatch.h>
#include <string>
#include <vector>

void QVFindFiles(const char* pattern, QVFoundFileFunction found, void* context)
{
    if (pattern == nullptr || found == nullptr)
        return;
    DIR* dir = opendir(".");
    if (dir == nullptr)
        return;
    std::vector<std::string> names;
    while (const dirent* entry = readdir(dir))
    {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        if (fnmatch(pattern, entry->d_name, 0) == 0)
            names.emplace_back(entry->d_name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    for (const std::string& name : names)
        found(name.c_str(), context);
}

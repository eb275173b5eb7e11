// Listings on the web: the files of the virtual (or, under node, the real) file system, joined by
// the compiled-in libraries that lie in the listed directory (platform/QVCompiledLibrary.h), so
// that a scan for "*.qvm" finds the modules compiled into the program where a desktop build's
// module files would lie.
#include "platform/FileSearch.h"

#include "platform/web/CompiledLibraryPlace.h"

#include <algorithm>
#include <dirent.h>
#include <fnmatch.h>
#include <string>
#include <sys/stat.h>
#include <vector>

bool QVFindFiles(const char* directory, const char* pattern, QVFoundFileFunction found,
                 void* context)
{
    const std::string listed = directory != nullptr ? directory : ".";
    DIR* dir = opendir(listed.c_str());
    if (dir == nullptr)
        return false;
    std::vector<std::string> names;
    while (const dirent* entry = readdir(dir))
    {
        if (pattern == nullptr || fnmatch(pattern, entry->d_name, 0) != 0)
            continue;
        // Regular files only, links followed (d_type is not filled in by every file system).
        struct stat info;
        const std::string path = listed + '/' + entry->d_name;
        if (stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode))
            names.emplace_back(entry->d_name);
    }
    closedir(dir);

    if (pattern != nullptr)
    {
        const std::string normal = QVNormalPath(listed);
        for (const QVCompiledLibrary* library = QVFirstCompiledLibrary(); library != nullptr;
             library = library->next)
        {
            if (fnmatch(pattern, library->fileName, 0) == 0 &&
                QVCompiledLibraryDirectory(*library) == normal)
                names.emplace_back(library->fileName);
        }
    }
    // In byte order, as on Linux; a library whose place also holds a file of its name once.
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    if (found != nullptr)
    {
        for (const std::string& name : names)
            found(name.c_str(), context);
    }
    return true;
}

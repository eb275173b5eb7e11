#include "platform/web/CompiledLibraryPlace.h"

#include "platform/Directory.h"
#include "platform/ProgramDirectory.h"
#include "platform/RegularFile.h"

#include <cstring>
#include <vector>

std::string QVNormalPath(const std::string& path)
{
    std::string whole = path;
    if (whole.empty() || whole[0] != '/')
    {
        std::vector<char> buffer(256);
        int length = QVGetCurrentDir(buffer.data(), static_cast<int>(buffer.size()));
        if (length >= static_cast<int>(buffer.size()))
        {
            buffer.resize(static_cast<std::size_t>(length) + 1);
            length = QVGetCurrentDir(buffer.data(), static_cast<int>(buffer.size()));
        }
        if (length < 0 || length >= static_cast<int>(buffer.size()))
            return std::string();
        whole = std::string(buffer.data()) + '/' + whole;
    }
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= whole.size())
    {
        std::size_t end = whole.find('/', start);
        if (end == std::string::npos)
            end = whole.size();
        const std::string part = whole.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".")
            continue;
        if (part == "..")
        {
            if (!parts.empty())
                parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    std::string normal;
    for (const std::string& part : parts)
        normal += '/' + part;
    return normal.empty() ? std::string("/") : normal;
}

std::string QVCompiledLibraryDirectory(const QVCompiledLibrary& library)
{
    std::string directory = QVProgramDirectory();
    if (library.folder != nullptr && library.folder[0] != '\0')
        directory += std::string("/") + library.folder;
    return QVNormalPath(directory);
}

const QVCompiledLibrary* QVFindCompiledLibrary(const char* path)
{
    if (path == nullptr || path[0] == '\0')
        return nullptr;
    const char* slash = std::strrchr(path, '/');
    if (slash == nullptr)
    {
        for (const QVCompiledLibrary* library = QVFirstCompiledLibrary(); library != nullptr;
             library = library->next)
        {
            if (std::strcmp(library->fileName, path) == 0 &&
                (library->folder == nullptr || library->folder[0] == '\0'))
                return library;
        }
        return nullptr;
    }
    const char* name = slash + 1;
    const std::string directory = QVNormalPath(std::string(path, slash == path ? 1 : slash - path));
    const QVCompiledLibrary* named = nullptr;
    for (const QVCompiledLibrary* library = QVFirstCompiledLibrary(); library != nullptr;
         library = library->next)
    {
        if (std::strcmp(library->fileName, name) != 0)
            continue;
        if (QVCompiledLibraryDirectory(*library) == directory)
            return library;
        if (named == nullptr)
            named = library;
    }
    return named != nullptr && QVIsRegularFile(path) ? named : nullptr;
}

#include "modules/RunTimePath.h"

#include "platform/Directory.h"
#include "platform/DynLibrary.h"
#include "platform/FileSearch.h"
#include "platform/ModulePlaces.h"
#include "platform/RegularFile.h"
#include "platform/RunTimeKey.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

namespace
{

// Room the operating system gets for a path at first, terminator excluded. Longer paths are
// asked for again with room for all of them.
const int PathLength = 250;

// Empties path as an 8-bit string with room for characters characters; the buffer, or null
// when memory was not available.
char* PreparePath(QVString& path, int characters)
{
    path.Assign("");
    if (!path.Grow(characters) || path.GetBuffer() == nullptr)
        return nullptr;
    path.GetBuffer()[0] = '\0';
    return path.GetBuffer();
}

// Fills path through a platform call that writes a text into a buffer of a given size and
// returns its length (see platform/Directory.h): -1 when there is none, a length not below the
// size when it did not fit. Returns the call's result; path holds the text, or is empty.
int FillPath(QVString& path, int (*fill)(char* out, int size))
{
    int characters = PathLength;
    // The text may grow between two calls (a working directory changed by another thread);
    // a few rounds are enough for anything but a race that never ends.
    for (int round = 0; round < 4; ++round)
    {
        char* buffer = PreparePath(path, characters);
        if (buffer == nullptr)
            return -1;
        const int length = fill(buffer, path.GetCapacity());
        if (length < path.GetCapacity())
        {
            path.SyncLength();
            return length;
        }
        characters = length;
    }
    path.Assign("");
    return -1;
}

void EmptyNames(QVList<QVString>& names)
{
    // The list has no operation that removes every element, but its destructor leaves an empty
    // list behind; it is rebuilt in place.
    names.~QVList<QVString>();
    ::new (&names) QVList<QVString>();
}

void InsertName(const char* name, void* context)
{
    static_cast<QVList<QVString>*>(context)->Insert(QVString(name));
}

int DriveNumber(unsigned short letter)
{
    if (letter >= 'a' && letter <= 'z')
        return letter - 'a' + 1;
    return static_cast<int>(letter) - 'A' + 1;
}

std::string InDirectory(const QVString& directory, const char* name)
{
    QVString path(directory);
    path.AppendChar(QVPathSeparator());
    path.Append(name);
    return path.GetBuffer();
}

// Kept as a standard string: it is set before the allocation hook may be used and read until the
// process ends.
std::string& OwnDirectory()
{
    static std::string directory;
    return directory;
}

// The same for the start directory.
std::string& StartDirectory()
{
    static std::string directory;
    return directory;
}

// Lists the working directory, or the start directory that stands for it.
void FindInWorkingPlace(const char* pattern, QVList<QVString>& names)
{
    const std::string& start = StartDirectory();
    // A start directory that cannot be read lists nothing: never the working directory.
    QVFindFiles(start.empty() ? nullptr : start.c_str(), pattern, InsertName, &names);
}

}  // namespace

bool GetRunTimePath(QVString& path) { return FillPath(path, QVReadRunTimeKey) >= 0; }

void GetWorkingDirectory(QVString& path) { FillPath(path, QVGetCurrentDir); }

void GetSystemDir(QVString& path) { FillPath(path, QVGetSystemDir); }

void AddWorkingDirectory(QVString& name)
{
    if (name.FindWide(static_cast<unsigned char>(QVPathSeparator())) >= 0)
        return;
    QVString full;
    GetWorkingDirectory(full);
    // A working directory whose path cannot be read is still there to be named relatively;
    // an empty path would make the name one at the root.
    if (full.GetLength() == 0)
        full.Assign(".");
    full.AppendChar(QVPathSeparator());
    full.Append(name);
    name.Assign(full);
}

bool ChangeDirectory(const char* path)
{
    if (path == nullptr)
        return false;
    if (path[0] != '\0' && path[1] == ':')
    {
        if (!QVChangeDrive(DriveNumber(static_cast<unsigned char>(path[0]))))
            return false;
        path += 2;
        // "d:" alone names the drive's current directory, which is where we are now.
        if (path[0] == '\0')
            return true;
    }
    return QVChangeDir(path);
}

bool ChangeDirectory(const unsigned short* path)
{
    if (path == nullptr)
        return false;
    if (path[0] != 0 && path[1] == ':')
    {
        if (!QVChangeDrive(DriveNumber(path[0])))
            return false;
        path += 2;
        if (path[0] == 0)
            return true;
    }
    return QVChangeDirWide(path);
}

bool ChangeDirectory(const QVString& path)
{
    if (path.GetEncoding() == QVString::Wide)
        return ChangeDirectory(path.GetWideBuffer());
    return ChangeDirectory(path.GetBuffer());
}

void FindFiles(QVList<QVString>& names, const char* pattern)
{
    EmptyNames(names);
    FindInWorkingPlace(pattern, names);
}

void FindFilesIn(const char* directory, QVList<QVString>& names, const char* pattern)
{
    EmptyNames(names);
    // Listed by its path rather than entered: a change of the working directory, and the change
    // back, could fail and leave every later relative path of the process resolving elsewhere.
    // A directory that cannot be read gives the working directory's files, as a failed change
    // into it would.
    if (directory == nullptr || !QVFindFiles(directory, pattern, InsertName, &names))
        FindInWorkingPlace(pattern, names);
}

std::vector<std::string> LibrarySearchPaths(const char* name)
{
    std::vector<std::string> paths;
    if (name == nullptr || name[0] == '\0')
        return paths;
    paths.emplace_back(name);

    QVString directory;
    GetStartDirectory(directory);
    if (directory.GetLength() > 0)
    {
        // A name with a directory part is tried as it is, as AddWorkingDirectory leaves it.
        const bool bare = std::strchr(name, QVPathSeparator()) == nullptr;
        paths.push_back(bare ? InDirectory(directory, name) : std::string(name));
    }
    else
    {
        QVString inWorkingDirectory(name);
        AddWorkingDirectory(inWorkingDirectory);
        paths.emplace_back(inWorkingDirectory.GetBuffer());
    }

    GetOwnDirectory(directory);
    if (directory.GetLength() > 0)
        paths.push_back(InDirectory(directory, name));
    // An installation under another prefix than the one it was built for finds its own modules.
    const std::string besideProgram = QVModulesBesideProgram();
    if (!besideProgram.empty())
        paths.push_back(InDirectory(QVString(besideProgram.c_str()), name));

    GetSystemDir(directory);
    paths.push_back(InDirectory(directory, name));
    // An absent runtime directory leaves an empty text: the name is then tried at the root.
    GetRunTimePath(directory);
    paths.push_back(InDirectory(directory, name));
    return paths;
}

QVHandle LoadDynLibrary(const char* name)
{
    for (const std::string& path : LibrarySearchPaths(name))
    {
        QVHandle library = QVOpenLibrary(path.c_str());
        if (library != nullptr)
            return library;
    }
    return nullptr;
}

std::string DescribeLibraryFailure(const char* name)
{
    const std::vector<std::string> paths = LibrarySearchPaths(name);
    if (paths.empty())
        return "no library name was given";
    std::vector<std::string> looked;
    for (const std::string& path : paths)
    {
        // A bare name is the system's own search; every other try is a file.
        if (path.find(QVPathSeparator()) == std::string::npos)
        {
            looked.emplace_back("the system's library search");
            continue;
        }
        if (QVIsRegularFile(path.c_str()))
        {
            QVHandle library = QVOpenLibrary(path.c_str());
            if (library == nullptr)
                return path + " failed to load: " + QVLastLibraryError();
            QVCloseLibrary(library);
            return path + " loads now: it changed while it was looked for";
        }
        if (std::find(looked.begin(), looked.end(), path) == looked.end())
            looked.push_back(path);
    }
    std::string text = std::string(name) + " was not found. Looked for it at:";
    for (const std::string& place : looked)
        text += "\n  " + place;
    return text;
}

void SetOwnDirectory(const char* directory)
{
    OwnDirectory() = directory != nullptr ? directory : "";
}

void GetOwnDirectory(QVString& directory) { directory.Assign(OwnDirectory().c_str()); }

void SetStartDirectory(const char* directory)
{
    StartDirectory() = directory != nullptr ? directory : "";
    if (!StartDirectory().empty())
        QVKeepWorkingDirectoryOutOfSearch();
}

void GetStartDirectory(QVString& directory) { directory.Assign(StartDirectory().c_str()); }

bool FreeDynLibrary(QVHandle& handle)
{
    const bool freed = QVCloseLibrary(handle);
    handle = nullptr;
    return freed;
}

void* GetDynSymbol(QVHandle handle, const char* symbol) { return QVLibrarySymbol(handle, symbol); }

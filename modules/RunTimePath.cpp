#include "modules/RunTimePath.h"

#include "platform/Directory.h"
#include "platform/DynLibrary.h"
#include "platform/FileSearch.h"
#include "platform/RunTimeKey.h"

#include <new>

namespace
{

// Room the operating system gets for a path, terminator excluded.
const int PathLength = 250;

// Empties path as an 8-bit string with room for a whole path; the buffer, or null when memory
// was not available.
char* PreparePath(QVString& path)
{
    path.Assign("");
    if (!path.Grow(PathLength) || path.GetBuffer() == nullptr)
        return nullptr;
    path.GetBuffer()[0] = '\0';
    return path.GetBuffer();
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

QVHandle TryInDirectory(const QVString& directory, const char* name)
{
    QVString path(directory);
    path.AppendChar(QVPathSeparator());
    path.Append(name);
    return QVOpenLibrary(path.GetBuffer());
}

}  // namespace

bool GetRunTimePath(QVString& path)
{
    char* buffer = PreparePath(path);
    if (buffer == nullptr)
        return false;
    const bool found = QVReadRunTimeKey(buffer, path.GetCapacity());
    path.SyncLength();
    return found;
}

void GetWorkingDirectory(QVString& path)
{
    char* buffer = PreparePath(path);
    if (buffer == nullptr)
        return;
    QVGetCurrentDir(buffer, path.GetCapacity());
    path.SyncLength();
}

void GetSystemDir(QVString& path)
{
    char* buffer = PreparePath(path);
    if (buffer == nullptr)
        return;
    QVGetSystemDir(buffer, path.GetCapacity());
    path.SyncLength();
}

void AddWorkingDirectory(QVString& name)
{
    if (name.FindWide(static_cast<unsigned char>(QVPathSeparator())) >= 0)
        return;
    QVString full;
    GetWorkingDirectory(full);
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
    QVFindFiles(pattern, InsertName, &names);
}

void FindFilesIn(const char* directory, QVList<QVString>& names, const char* pattern)
{
    EmptyNames(names);
    QVString saved;
    GetWorkingDirectory(saved);
    ChangeDirectory(directory);  // on failure the working directory is searched
    FindFiles(names, pattern);
    ChangeDirectory(saved);
}

QVHandle LoadDynLibrary(const char* name)
{
    if (name == nullptr || name[0] == '\0')
        return nullptr;
    QVHandle library = QVOpenLibrary(name);
    if (library != nullptr)
        return library;

    QVString inWorkingDirectory(name);
    AddWorkingDirectory(inWorkingDirectory);
    library = QVOpenLibrary(inWorkingDirectory.GetBuffer());
    if (library != nullptr)
        return library;

    QVString directory;
    GetSystemDir(directory);
    library = TryInDirectory(directory, name);
    if (library != nullptr)
        return library;

    // An absent runtime directory leaves an empty text: the name is then tried at the root.
    GetRunTimePath(directory);
    return TryInDirectory(directory, name);
}

bool FreeDynLibrary(QVHandle& handle)
{
    const bool freed = QVCloseLibrary(handle);
    handle = nullptr;
    return freed;
}

void* GetDynSymbol(QVHandle handle, const char* symbol) { return QVLibrarySymbol(handle, symbol); }

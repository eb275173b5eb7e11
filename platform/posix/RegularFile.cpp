#include "platform/RegularFile.h"

#include "platform/posix/Utf8Names.h"

#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

// The open flags of an fopen mode, and whether the mode empties the file. False for a mode
// fopen does not know.
bool OpenFlags(const char* mode, int& flags, bool& truncate)
{
    const bool update = std::strchr(mode, '+') != nullptr;
    truncate = false;
    switch (mode[0])
    {
    case 'r':
        flags = update ? O_RDWR : O_RDONLY;
        break;
    case 'w':
        flags = (update ? O_RDWR : O_WRONLY) | O_CREAT;
        truncate = true;
        break;
    case 'a':
        flags = (update ? O_RDWR : O_WRONLY) | O_CREAT | O_APPEND;
        break;
    default:
        return false;
    }
    if (std::strchr(mode, 'x') != nullptr)
        flags |= O_EXCL;
    flags |= O_CLOEXEC;
    return true;
}

}  // namespace

bool QVIsRegularFile(const char* path)
{
    struct stat info;
    return path != nullptr && stat(path, &info) == 0 && S_ISREG(info.st_mode);
}

std::FILE* QVOpenRegularFile(const char* path, const char* mode)
{
    int flags = 0;
    bool truncate = false;
    if (path == nullptr || mode == nullptr || !OpenFlags(mode, flags, truncate))
        return nullptr;
    // Without O_NONBLOCK the open of a FIFO waits for the other end; a FIFO without one fails
    // for writing (ENXIO) and opens at once for reading, to be refused below. The file is only
    // emptied once it is known to be a regular one.
    const int fd = open(path, flags | O_NONBLOCK, 0666);
    if (fd < 0)
        return nullptr;
    struct stat info;
    const bool regular = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    const int status = fcntl(fd, F_GETFL);
    if (!regular || (truncate && ftruncate(fd, 0) != 0) || status == -1 ||
        fcntl(fd, F_SETFL, status & ~O_NONBLOCK) == -1)
    {
        close(fd);
        return nullptr;
    }
    std::FILE* stream = fdopen(fd, mode);
    if (stream == nullptr)
        close(fd);
    return stream;
}

std::FILE* QVOpenRegularFileWide(const unsigned short* path, const char* mode)
{
    std::string name;
    if (path == nullptr || !QVUtf16ToUtf8(path, name))
        return nullptr;
    return QVOpenRegularFile(name.c_str(), mode);
}

#include "platform/TempFile.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <vector>

std::string QVWriteTemporaryFile(const std::string& suffix, const void* data, std::size_t size)
{
    const char* folder = std::getenv("TMPDIR");
    std::string name = (folder != nullptr && *folder != '\0') ? folder : "/tmp";
    name += "/qv-XXXXXX" + suffix;
    std::vector<char> path(name.begin(), name.end());
    path.push_back('\0');
    const int fd = mkstemps(path.data(), static_cast<int>(suffix.size()));
    if (fd < 0)
    {
        return std::string();
    }
    const char* bytes = static_cast<const char*>(data);
    std::size_t done = 0;
    while (done < size)
    {
        const ssize_t wrote = write(fd, bytes + done, size - done);
        if (wrote <= 0)
        {
            break;
        }
        done += static_cast<std::size_t>(wrote);
    }
    const bool closed = close(fd) == 0;
    if (done < size || !closed)
    {
        unlink(path.data());
        return std::string();
    }
    return std::string(path.data());
}

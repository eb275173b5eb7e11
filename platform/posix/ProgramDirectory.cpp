#include "platform/ProgramDirectory.h"

#include <unistd.h>

#include <vector>

std::string QVProgramDirectory()
{
    // The link names the program's file; its length is not known in advance.
    std::vector<char> buffer(256);
    for (;;)
    {
        ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0)
            return std::string();
        if (static_cast<std::size_t>(length) < buffer.size())
        {
            std::string path(buffer.data(), static_cast<std::size_t>(length));
            std::size_t slash = path.rfind('/');
            return slash == std::string::npos ? std::string()
                                              : path.substr(0, slash == 0 ? 1 : slash);
        }
        buffer.resize(buffer.size() * 2);
    }
}

#include "platform/ProgramDirectory.h"

#include <windows.h>

#include <vector>

std::string QVProgramDirectory()
{
    // GetModuleFileNameA fills the whole buffer when the name does not fit: grow until it does.
    std::vector<char> buffer(MAX_PATH);
    for (;;)
    {
        DWORD length =
            GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return std::string();
        if (length < buffer.size())
        {
            std::string path(buffer.data(), length);
            std::size_t separator = path.find_last_of("\\/");
            return separator == std::string::npos ? std::string() : path.substr(0, separator);
        }
        buffer.resize(buffer.size() * 2);
    }
}

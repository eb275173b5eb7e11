#include "platform/LibraryDirectory.h"

#include <windows.h>

#include <vector>

std::string QVLibraryDirectory()
{
    HMODULE self = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCSTR>(&QVLibraryDirectory), &self))
        return std::string();
    std::vector<char> buffer(MAX_PATH);
    for (;;)
    {
        const DWORD length =
            GetModuleFileNameA(self, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return std::string();
        if (length < buffer.size())
        {
            std::string path(buffer.data(), length);
            const std::size_t cut = path.find_last_of("\\/");
            return cut == std::string::npos ? std::string() : path.substr(0, cut);
        }
        buffer.resize(buffer.size() * 2);
    }
}

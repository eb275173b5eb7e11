#include "platform/TempFile.h"

#include <windows.h>

#include <string>

std::string QVWriteTemporaryFile(const std::string& suffix, const void* data, std::size_t size)
{
    char folder[MAX_PATH + 1];
    const DWORD length = GetTempPathA(sizeof folder, folder);
    if (length == 0 || length > MAX_PATH)
    {
        return std::string();
    }
    // A new name from the process, the tick count and a counter; CREATE_NEW refuses one that
    // exists, so a clash only costs another try.
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt)
    {
        const std::string path =
            std::string(folder) + "qv-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(GetTickCount()) + "-" + std::to_string(++counter) + suffix;
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_TEMPORARY, nullptr);
        if (file == INVALID_HANDLE_VALUE)
        {
            if (GetLastError() == ERROR_FILE_EXISTS)
            {
                continue;
            }
            return std::string();
        }
        const char* bytes = static_cast<const char*>(data);
        std::size_t done = 0;
        while (done < size)
        {
            const DWORD ask = static_cast<DWORD>(size - done > 1u << 30 ? 1u << 30 : size - done);
            DWORD wrote = 0;
            if (!WriteFile(file, bytes + done, ask, &wrote, nullptr) || wrote == 0)
            {
                break;
            }
            done += wrote;
        }
        const bool closed = CloseHandle(file) != 0;
        if (done < size || !closed)
        {
            DeleteFileA(path.c_str());
            return std::string();
        }
        return path;
    }
    return std::string();
}

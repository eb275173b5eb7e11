// The runtime directory from the registry (see RunTimeKey.h).
#include "platform/RunTimeKey.h"

#include <climits>
#include <cstring>
#include <windows.h>

int QVReadRunTimeKey(char* out, int size)
{
    if (out == nullptr || size <= 0)
        return -1;
    out[0] = '\0';
    HKEY key = nullptr;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvane\\common", &key) != ERROR_SUCCESS)
        return -1;
    // One byte stays free for the terminator: a stored text need not end with one.
    DWORD type = REG_SZ;
    DWORD bytes = static_cast<DWORD>(size - 1);
    const LONG result = RegQueryValueExA(key, "QVRunTimePath", nullptr, &type,
                                         reinterpret_cast<BYTE*>(out), &bytes);
    RegCloseKey(key);
    if (result == ERROR_MORE_DATA && bytes < static_cast<DWORD>(INT_MAX))
    {
        // bytes is the room the value needs (its terminator, when stored, included): enough
        // to ask again; the partial value in the buffer is dropped.
        out[0] = '\0';
        return static_cast<int>(bytes);
    }
    // A missing value still counts as a present key with an empty path.
    if (result != ERROR_SUCCESS || bytes > static_cast<DWORD>(size - 1))
    {
        out[0] = '\0';
        return 0;
    }
    out[bytes] = '\0';
    return static_cast<int>(std::strlen(out));
}

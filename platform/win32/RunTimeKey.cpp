// The runtime directory from the registry (see RunTimeKey.h).
#include "platform/RunTimeKey.h"

#include <windows.h>

bool QVReadRunTimeKey(char* out, int size)
{
    if (out == nullptr || size <= 0)
        return false;
    out[0] = '\0';
    HKEY key = nullptr;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvane\\common", &key) != ERROR_SUCCESS)
        return false;
    // One byte stays free for the terminator: a stored text need not end with one.
    DWORD type = REG_SZ;
    DWORD bytes = static_cast<DWORD>(size - 1);
    const LONG result = RegQueryValueExA(key, "QVRunTimePath", nullptr, &type,
                                         reinterpret_cast<BYTE*>(out), &bytes);
    RegCloseKey(key);
    // A missing value (or one that does not fit) still counts as a present key with an empty
    // path; the buffer may hold a partial value then, so it is emptied.
    if (result != ERROR_SUCCESS || bytes > static_cast<DWORD>(size - 1))
        out[0] = '\0';
    else
        out[bytes] = '\0';
    return true;
}

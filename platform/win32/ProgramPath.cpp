#include "platform/ProgramPath.h"

#include <windows.h>

bool QVGetProgramPath(char* out, int size)
{
    if (out == nullptr || size <= 0)
        return false;
    const DWORD length = GetModuleFileNameA(nullptr, out, static_cast<DWORD>(size));
    // A result that fills the buffer was cut (and is not terminated on older systems).
    if (length == 0 || length >= static_cast<DWORD>(size))
    {
        out[0] = '\0';
        return false;
    }
    return true;
}

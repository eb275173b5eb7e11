#include "platform/ProgramPath.h"

#include <cstddef>

#include <unistd.h>

bool QVGetProgramPath(char* out, int size)
{
    if (out == nullptr || size <= 0)
        return false;
    const ssize_t length = readlink("/proc/self/exe", out, static_cast<std::size_t>(size));
    // readlink does not terminate; a result that fills the buffer may have been cut.
    if (length <= 0 || length >= size)
    {
        out[0] = '\0';
        return false;
    }
    out[length] = '\0';
    return true;
}

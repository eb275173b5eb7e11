// The program's file on the web: under node the script node runs (links resolved), in a page a
// file of no meaning at the root of the virtual file system ("/program").
#include "platform/ProgramPath.h"

#include <emscripten.h>

// Writes the path into out when it fits in size bytes; returns its length in bytes.
// clang-format off
EM_JS(int, QVWebProgramPath, (char* out, int size), {
    var path = "/program";
    if (typeof process === "object" && process.argv && process.argv.length > 1) {
        try {
            path = require("fs").realpathSync(process.argv[1]);
        } catch (e) {
            path = require("path").resolve(process.argv[1]);
        }
    }
    var length = lengthBytesUTF8(path);
    if (length < size) stringToUTF8(path, out, size);
    return length;
});
// clang-format on

bool QVGetProgramPath(char* out, int size)
{
    if (out == nullptr || size <= 0)
        return false;
    out[0] = '\0';
    const int length = QVWebProgramPath(out, size);
    if (length >= size)
    {
        out[0] = '\0';
        return false;
    }
    return true;
}

// The program's directory on the web: under node the directory of the program's script (the
// build's bin/ for the tests and tools); in a page the root of the virtual file system, where
// nothing else lies. Compiled-in modules lie here (platform/QVCompiledLibrary.h).
#include "platform/ProgramDirectory.h"

#include "platform/ProgramPath.h"

#include <vector>

std::string QVProgramDirectory()
{
    std::vector<char> buffer(4096);
    if (!QVGetProgramPath(buffer.data(), static_cast<int>(buffer.size())))
        return std::string();
    const std::string path(buffer.data());
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash == 0 ? 1 : slash);
}

#include "platform/ModulePlaces.h"

#include "platform/Directory.h"
#include "platform/ProgramDirectory.h"

#include <cstring>

#ifndef QV_PROGRAM_MODULE_DIR
#define QV_PROGRAM_MODULE_DIR "../lib/qv"
#endif

namespace
{
// directory joined with a relative path whose leading ".." parts take off directory's last parts,
// so that messages name the place without detours.
std::string JoinRelative(std::string directory, const char* relative)
{
    while (std::strncmp(relative, "../", 3) == 0 && directory.size() > 1)
    {
        const std::size_t slash = directory.rfind('/');
        if (slash == std::string::npos)
            break;
        directory.erase(slash == 0 ? 1 : slash);
        relative += 3;
    }
    if (directory.empty() || directory.back() != '/')
        directory += '/';
    return directory + relative;
}
}  // namespace

std::string QVModulesBesideProgram()
{
    const std::string program = QVProgramDirectory();
    return program.empty() ? program : JoinRelative(program, QV_PROGRAM_MODULE_DIR);
}

std::vector<std::string> QVInstalledModulePlaces()
{
    std::vector<std::string> places;
    const std::string program = QVProgramDirectory();
    if (!program.empty())
        places.push_back(program);
    const std::string installed = QVModulesBesideProgram();
    if (!installed.empty())
        places.push_back(installed);
    std::vector<char> system(256);
    int length = QVGetSystemDir(system.data(), static_cast<int>(system.size()));
    if (length >= static_cast<int>(system.size()))
    {
        system.resize(static_cast<std::size_t>(length) + 1);
        length = QVGetSystemDir(system.data(), static_cast<int>(system.size()));
    }
    if (length > 0 && length < static_cast<int>(system.size()))
        places.emplace_back(system.data());
    return places;
}

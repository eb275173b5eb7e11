#include "platform/ModulePlaces.h"

#include "platform/Directory.h"
#include "platform/ProgramDirectory.h"

std::vector<std::string> QVInstalledModulePlaces()
{
    std::vector<std::string> places;
    const std::string program = QVProgramDirectory();
    if (!program.empty())
        places.push_back(program);
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

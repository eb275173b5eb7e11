#include "platform/ModulePlaces.h"

#include "platform/ProgramDirectory.h"

std::vector<std::string> QVInstalledModulePlaces()
{
    std::vector<std::string> places;
    const std::string program = QVProgramDirectory();
    if (!program.empty())
        places.push_back(program);
    return places;
}

std::string QVModulesBesideProgram() { return QVProgramDirectory(); }

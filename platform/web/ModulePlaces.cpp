// On the web nothing is installed: the modules are compiled into the program and lie in its
// directory (platform/QVCompiledLibrary.h), which is the one place listed.
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

std::string QVModulesBesideProgram() { return std::string(); }

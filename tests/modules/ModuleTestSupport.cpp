#include "tests/modules/ModuleTestSupport.h"

#include "modules/QVModule.h"

#include <cstring>

namespace
{

// Captured before any test changes directory.
const std::string startDirectory = CurrentDir();

}  // namespace

std::string CurrentDir()
{
    QVString path;
    GetWorkingDirectory(path);
    return path.GetBuffer() != nullptr ? path.GetBuffer() : "";
}

std::string InDir(const std::string& directory, const char* name)
{
    return directory + QVPathSeparator() + name;
}

std::string BinDir() { return startDirectory; }
std::string TestModuleDir() { return InDir(BinDir(), "testmods"); }
std::string RunTimeModuleDir() { return InDir(TestModuleDir(), "rt"); }

bool IsTestModule(QVModule* module)
{
    const char* name = module->GetName().GetBuffer();
    return name != nullptr && std::strncmp(name, "Test module ", 12) == 0;
}

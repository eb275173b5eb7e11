#include "apps/framework/StartFailure.h"

#include "modules/RunTimePath.h"
#include "platform/ModulePlaces.h"
#include "platform/ProgramDirectory.h"

#include <cstdio>

namespace
{

const char* TextOf(const QVString& text)
{
    return text.GetBuffer() != nullptr ? text.GetBuffer() : "";
}

// One place of the search: its role and its path, or why there is none.
void Place(const char* role, const char* path, const char* whenEmpty)
{
    std::fprintf(stderr, "  %s: %s\n", role, path[0] != '\0' ? path : whenEmpty);
}

}  // namespace

void ReportModuleNotLoaded(const char* program, const char* type, const char* fileName)
{
    // The places in the order in which the library search tries them.
    QVString working, system, runtime;
    GetWorkingDirectory(working);
    GetSystemDir(system);
    bool hasRuntime = GetRunTimePath(runtime);
    std::fprintf(stderr, "%s: the %s module %s could not be loaded. Looked for it in:\n", program,
                 type, fileName);
    Place("the program's directory", QVProgramDirectory().c_str(), "(unknown)");
    std::fprintf(stderr, "  the system's library search path\n");
    Place("the working directory", TextOf(working), "(unknown)");
    Place("the installation's modules", QVModulesBesideProgram().c_str(), "(none)");
    Place("the system directory", TextOf(system), "(unknown)");
    Place("the runtime directory", TextOf(runtime),
          hasRuntime ? "(key without value; the root directory instead)"
                     : "(not set; the root directory instead)");
}

void ReportWrongModuleType(const char* program, const char* type, const char* fileName)
{
    std::fprintf(stderr, "%s: %s was loaded but is not a %s module.\n", program, fileName, type);
}

void ReportNoDisplay(const char* program)
{
    std::fprintf(stderr, "%s: no display could be opened, so the window could not be made.\n",
                 program);
}

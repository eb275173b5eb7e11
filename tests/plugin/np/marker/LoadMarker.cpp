// A library that tells when it is loaded: its static initialisation appends a line to the file
// named by the environment variable QV_NP_LOAD_MARKER. The plug-in's tests put it into packages
// under a module's file name, where nothing may ever load it.
#include <cstdio>
#include <cstdlib>

namespace
{
struct LoadMarker
{
    LoadMarker()
    {
        const char* path = std::getenv("QV_NP_LOAD_MARKER");
        if (path == nullptr || *path == '\0')
            return;
        if (std::FILE* file = std::fopen(path, "ab"))
        {
            std::fputs("loaded\n", file);
            std::fclose(file);
        }
    }
} marker;
}  // namespace

#include "apps/qvaplayer/PluginExports.h"

#include "platform/DynLibrary.h"

const char* PluginFileName() { return "npqvarunner.dll"; }

bool FindPluginExports(QVHandle library, PluginExports& exports, std::string& missing)
{
    exports.getEntryPoints = QVLibrarySymbol(library, "NP_GetEntryPoints");
    exports.initialize = QVLibrarySymbol(library, "NP_Initialize");
    exports.shutdown = QVLibrarySymbol(library, "NP_Shutdown");
    missing.clear();
    const struct
    {
        void* address;
        const char* name;
    } needed[] = {{exports.getEntryPoints, "NP_GetEntryPoints"},
                  {exports.initialize, "NP_Initialize"},
                  {exports.shutdown, "NP_Shutdown"}};
    for (const auto& entry : needed)
    {
        if (entry.address == nullptr)
            missing += missing.empty() ? entry.name : std::string(" ") + entry.name;
    }
    return missing.empty();
}

NPError InitializePlugin(const PluginExports& exports, NPNetscapeFuncs* browserFuncs,
                         NPPluginFuncs* pluginFuncs)
{
    // The plug-in's own table first, as browsers on Windows ask for it.
    const NPError entries =
        reinterpret_cast<NP_GetEntryPointsFunc>(exports.getEntryPoints)(pluginFuncs);
    if (entries != NPERR_NO_ERROR)
        return entries;
    return reinterpret_cast<NP_InitializeFunc>(exports.initialize)(browserFuncs);
}

NPError ShutdownPlugin(const PluginExports& exports)
{
    return reinterpret_cast<NP_ShutdownFunc>(exports.shutdown)();
}

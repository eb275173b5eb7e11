#include "apps/qvaplayer/PluginExports.h"

#include "platform/DynLibrary.h"

const char* PluginFileName() { return "libnpqvarunner.so"; }

bool FindPluginExports(QVHandle library, PluginExports& exports, std::string& missing)
{
    exports.initialize = QVLibrarySymbol(library, "NP_Initialize");
    exports.shutdown = QVLibrarySymbol(library, "NP_Shutdown");
    missing.clear();
    if (exports.initialize == nullptr)
        missing += "NP_Initialize";
    if (exports.shutdown == nullptr)
        missing += missing.empty() ? "NP_Shutdown" : " NP_Shutdown";
    return missing.empty();
}

NPError InitializePlugin(const PluginExports& exports, NPNetscapeFuncs* browserFuncs,
                         NPPluginFuncs* pluginFuncs)
{
    return reinterpret_cast<NP_InitializeFunc>(exports.initialize)(browserFuncs, pluginFuncs);
}

NPError ShutdownPlugin(const PluginExports& exports)
{
    return reinterpret_cast<NP_ShutdownFunc>(exports.shutdown)();
}

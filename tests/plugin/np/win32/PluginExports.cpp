// The Windows form of the exports: NP_Initialize and NP_GetEntryPoints, stdcall.
#include "tests/plugin/np/PluginHost.h"

namespace nptest
{
NPError CallInitialize(NPNetscapeFuncs* browserFuncs)
{
    return reinterpret_cast<NP_InitializeFunc>(PluginSymbol("NP_Initialize"))(browserFuncs);
}

NPError CallGetEntryPoints(NPPluginFuncs* pluginFuncs)
{
    return reinterpret_cast<NP_GetEntryPointsFunc>(PluginSymbol("NP_GetEntryPoints"))(pluginFuncs);
}

NPError CallShutdown() { return reinterpret_cast<NP_ShutdownFunc>(PluginSymbol("NP_Shutdown"))(); }
}  // namespace nptest

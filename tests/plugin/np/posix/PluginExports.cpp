// The Unix form of the exports: NP_Initialize takes both tables.
#include "tests/plugin/np/PluginHost.h"

namespace nptest
{
NPError CallInitialize(NPNetscapeFuncs* browserFuncs)
{
    auto initialize = reinterpret_cast<NP_InitializeFunc>(PluginSymbol("NP_Initialize"));
    NPPluginFuncs scratch = {};
    scratch.size = sizeof scratch;
    return initialize(browserFuncs, &scratch);
}

NPError CallGetEntryPoints(NPPluginFuncs* pluginFuncs)
{
    auto initialize = reinterpret_cast<NP_InitializeFunc>(PluginSymbol("NP_Initialize"));
    NPNetscapeFuncs browser = MakeBrowserFuncs();
    return initialize(&browser, pluginFuncs);
}

NPError CallShutdown() { return reinterpret_cast<NP_ShutdownFunc>(PluginSymbol("NP_Shutdown"))(); }
}  // namespace nptest

// The Windows entry points, exported by plain name with ordinals 1, 2, 3 (npqvarunner.def).
#include "plugin/npqvarunner/BrowserTableCopy.h"
#include "plugin/npqvarunner/PluginFuncs.h"

extern "C" NPError QV_NP_EXPORT_CALL NP_GetEntryPoints(NPPluginFuncs* pluginFuncs)
{
    return QVFillPluginFuncs(pluginFuncs);
}

extern "C" NPError QV_NP_EXPORT_CALL NP_Initialize(NPNetscapeFuncs* browserFuncs)
{
    return QVCopyBrowserFuncs(browserFuncs);
}

extern "C" NPError QV_NP_EXPORT_CALL NP_Shutdown() { return NPERR_NO_ERROR; }

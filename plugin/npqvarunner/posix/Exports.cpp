// The Unix entry points: the browser hands both tables to NP_Initialize and asks
// NP_GetMIMEDescription and NP_GetValue for the registration.
#include "plugin/npqvarunner/BrowserTableCopy.h"
#include "plugin/npqvarunner/PluginFuncs.h"

#define QV_NP_EXPORT extern "C" __attribute__((visibility("default")))

QV_NP_EXPORT NPError NP_Initialize(NPNetscapeFuncs* browserFuncs, NPPluginFuncs* pluginFuncs)
{
    const NPError result = QVCopyBrowserFuncs(browserFuncs);
    if (result != NPERR_NO_ERROR)
        return result;
    return QVFillPluginFuncs(pluginFuncs);
}

QV_NP_EXPORT const char* NP_GetMIMEDescription()
{
    return "application/qv-applet:qva:Quarvo Applet";
}

QV_NP_EXPORT NPError NP_GetValue(void*, NPPVariable variable, void* value)
{
    if (value == nullptr)
        return NPERR_INVALID_PARAM;
    switch (variable)
    {
    case NPPVpluginNameString:
        *static_cast<const char**>(value) = QVPluginName();
        return NPERR_NO_ERROR;
    case NPPVpluginDescriptionString:
        *static_cast<const char**>(value) = QVPluginDescription();
        return NPERR_NO_ERROR;
    default:
        return NPERR_INVALID_PARAM;
    }
}

QV_NP_EXPORT NPError NP_Shutdown() { return NPERR_NO_ERROR; }

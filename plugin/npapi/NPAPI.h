#pragma once

// The browser plug-in interface as the plug-in and its hosts (qvaplayer, the tests) see it: the
// handles, records, function tables and constants that cross between a browser and a plug-in
// library. Field order and sizes are fixed by browsers; tests check the sizes on every target.

#include <cstdint>

typedef unsigned char NPBool;
typedef std::int16_t NPError;
typedef std::int16_t NPReason;
typedef char* NPMIMEType;

// An instance handle: the plug-in's data first, the browser's second.
struct NPP_t
{
    void* pdata;
    void* ndata;
};
typedef NPP_t* NPP;

struct NPRect
{
    std::uint16_t top;
    std::uint16_t left;
    std::uint16_t bottom;
    std::uint16_t right;
};

struct NPSavedData
{
    std::int32_t len;
    void* buf;
};

struct NPStream
{
    void* pdata;
    void* ndata;
    const char* url;
    std::uint32_t end;
    std::uint32_t lastmodified;
    void* notifyData;
    // Present from minor version 17 on; the plug-in never reads it.
    const char* headers;
};

struct NPByteRange
{
    std::int32_t offset;
    std::uint32_t length;
    NPByteRange* next;
};

enum NPWindowType
{
    NPWindowTypeWindow = 1,
    NPWindowTypeDrawable = 2
};

// The plug-in's area of the page. window is a window handle on Windows, an X window id on Unix.
struct NPWindow
{
    void* window;
    std::int32_t x;
    std::int32_t y;
    std::uint32_t width;
    std::uint32_t height;
    NPRect clipRect;
#ifndef _WIN32
    void* ws_info;
#endif
    NPWindowType type;
};

// Printing and event records are passed through untouched.
struct NPPrint;
typedef void* NPRegion;

// What a browser asks of a plug-in (NPP_GetValue) and a plug-in of a browser (NPN_GetValue).
enum NPPVariable
{
    NPPVpluginNameString = 1,
    NPPVpluginDescriptionString = 2,
    NPPVpluginWindowBool = 3,
    NPPVpluginTransparentBool = 4,
    NPPVpluginWindowSize = 6,
    NPPVpluginNeedsXEmbed = 14
};
enum NPNVariable
{
    NPNVxDisplay = 1,
    NPNVxtAppContext = 2,
    NPNVnetscapeWindow = 3,
    NPNVjavascriptEnabledBool = 4,
    NPNVasdEnabledBool = 5,
    NPNVisOfflineBool = 6,
    NPNVSupportsXEmbedBool = 14
};

// Plug-in entry points (plain C calling convention on every target).
typedef NPError (*NPP_NewProcPtr)(NPMIMEType pluginType, NPP instance, std::uint16_t mode,
                                  std::int16_t argc, char* argn[], char* argv[],
                                  NPSavedData* saved);
typedef NPError (*NPP_DestroyProcPtr)(NPP instance, NPSavedData** save);
typedef NPError (*NPP_SetWindowProcPtr)(NPP instance, NPWindow* window);
typedef NPError (*NPP_NewStreamProcPtr)(NPP instance, NPMIMEType type, NPStream* stream,
                                        NPBool seekable, std::uint16_t* stype);
typedef NPError (*NPP_DestroyStreamProcPtr)(NPP instance, NPStream* stream, NPReason reason);
typedef void (*NPP_StreamAsFileProcPtr)(NPP instance, NPStream* stream, const char* fname);
typedef std::int32_t (*NPP_WriteReadyProcPtr)(NPP instance, NPStream* stream);
typedef std::int32_t (*NPP_WriteProcPtr)(NPP instance, NPStream* stream, std::int32_t offset,
                                         std::int32_t len, void* buffer);
typedef void (*NPP_PrintProcPtr)(NPP instance, NPPrint* platformPrint);
typedef std::int16_t (*NPP_HandleEventProcPtr)(NPP instance, void* event);
typedef void (*NPP_URLNotifyProcPtr)(NPP instance, const char* url, NPReason reason,
                                     void* notifyData);
typedef NPError (*NPP_GetValueProcPtr)(NPP instance, NPPVariable variable, void* value);
typedef NPError (*NPP_SetValueProcPtr)(NPP instance, NPNVariable variable, void* value);

// The plug-in's function table, filled by the plug-in for the browser.
struct NPPluginFuncs
{
    std::uint16_t size;
    std::uint16_t version;
    NPP_NewProcPtr newp;
    NPP_DestroyProcPtr destroy;
    NPP_SetWindowProcPtr setwindow;
    NPP_NewStreamProcPtr newstream;
    NPP_DestroyStreamProcPtr destroystream;
    NPP_StreamAsFileProcPtr asfile;
    NPP_WriteReadyProcPtr writeready;
    NPP_WriteProcPtr write;
    NPP_PrintProcPtr print;
    NPP_HandleEventProcPtr event;
    NPP_URLNotifyProcPtr urlnotify;
    void* javaClass;
    NPP_GetValueProcPtr getvalue;
    NPP_SetValueProcPtr setvalue;
};

// Browser entry points.
typedef NPError (*NPN_GetURLProcPtr)(NPP instance, const char* url, const char* window);
typedef NPError (*NPN_PostURLProcPtr)(NPP instance, const char* url, const char* window,
                                      std::uint32_t len, const char* buf, NPBool file);
typedef NPError (*NPN_RequestReadProcPtr)(NPStream* stream, NPByteRange* rangeList);
typedef NPError (*NPN_NewStreamProcPtr)(NPP instance, NPMIMEType type, const char* window,
                                        NPStream** stream);
typedef std::int32_t (*NPN_WriteProcPtr)(NPP instance, NPStream* stream, std::int32_t len,
                                         void* buffer);
typedef NPError (*NPN_DestroyStreamProcPtr)(NPP instance, NPStream* stream, NPReason reason);
typedef void (*NPN_StatusProcPtr)(NPP instance, const char* message);
typedef const char* (*NPN_UserAgentProcPtr)(NPP instance);
typedef void* (*NPN_MemAllocProcPtr)(std::uint32_t size);
typedef void (*NPN_MemFreeProcPtr)(void* ptr);
typedef std::uint32_t (*NPN_MemFlushProcPtr)(std::uint32_t size);
typedef void (*NPN_ReloadPluginsProcPtr)(NPBool reloadPages);
typedef void* (*NPN_GetJavaEnvProcPtr)();
typedef void* (*NPN_GetJavaPeerProcPtr)(NPP instance);
typedef NPError (*NPN_GetURLNotifyProcPtr)(NPP instance, const char* url, const char* window,
                                           void* notifyData);
typedef NPError (*NPN_PostURLNotifyProcPtr)(NPP instance, const char* url, const char* window,
                                            std::uint32_t len, const char* buf, NPBool file,
                                            void* notifyData);
typedef NPError (*NPN_GetValueProcPtr)(NPP instance, NPNVariable variable, void* value);
typedef NPError (*NPN_SetValueProcPtr)(NPP instance, NPPVariable variable, void* value);
typedef void (*NPN_InvalidateRectProcPtr)(NPP instance, NPRect* rect);
typedef void (*NPN_InvalidateRegionProcPtr)(NPP instance, NPRegion region);
typedef void (*NPN_ForceRedrawProcPtr)(NPP instance);

// The browser's function table, through force-redraw. Browsers append the scripting entries
// after it; the plug-in uses none of them.
struct NPNetscapeFuncs
{
    std::uint16_t size;
    std::uint16_t version;
    NPN_GetURLProcPtr geturl;
    NPN_PostURLProcPtr posturl;
    NPN_RequestReadProcPtr requestread;
    NPN_NewStreamProcPtr newstream;
    NPN_WriteProcPtr write;
    NPN_DestroyStreamProcPtr destroystream;
    NPN_StatusProcPtr status;
    NPN_UserAgentProcPtr uagent;
    NPN_MemAllocProcPtr memalloc;
    NPN_MemFreeProcPtr memfree;
    NPN_MemFlushProcPtr memflush;
    NPN_ReloadPluginsProcPtr reloadplugins;
    NPN_GetJavaEnvProcPtr getJavaEnv;
    NPN_GetJavaPeerProcPtr getJavaPeer;
    NPN_GetURLNotifyProcPtr geturlnotify;
    NPN_PostURLNotifyProcPtr posturlnotify;
    NPN_GetValueProcPtr getvalue;
    NPN_SetValueProcPtr setvalue;
    NPN_InvalidateRectProcPtr invalidaterect;
    NPN_InvalidateRegionProcPtr invalidateregion;
    NPN_ForceRedrawProcPtr forceredraw;
};

// Error codes.
enum : NPError
{
    NPERR_NO_ERROR = 0,
    NPERR_GENERIC_ERROR = 1,
    NPERR_INVALID_INSTANCE_ERROR = 2,
    NPERR_INVALID_FUNCTABLE_ERROR = 3,
    NPERR_MODULE_LOAD_FAILED_ERROR = 4,
    NPERR_OUT_OF_MEMORY_ERROR = 5,
    NPERR_INVALID_PLUGIN_ERROR = 6,
    NPERR_INVALID_PLUGIN_DIR_ERROR = 7,
    NPERR_INCOMPATIBLE_VERSION_ERROR = 8,
    NPERR_INVALID_PARAM = 9,
    NPERR_INVALID_URL = 10,
    NPERR_FILE_NOT_FOUND = 11,
    NPERR_NO_DATA = 12,
    NPERR_STREAM_NOT_SEEKABLE = 13
};

// Reasons a stream or URL request ended.
enum : NPReason
{
    NPRES_DONE = 0,
    NPRES_NETWORK_ERR = 1,
    NPRES_USER_BREAK = 2
};

// Stream types a plug-in may ask for.
enum : std::uint16_t
{
    NP_NORMAL = 1,
    NP_SEEK = 2,
    NP_ASFILE = 3,
    NP_ASFILEONLY = 4
};

// Instance modes.
enum : std::uint16_t
{
    NP_EMBED = 1,
    NP_FULL = 2
};

// The interface version this plug-in implements: major 0, minor 13.
constexpr std::uint16_t kNPVersionMajor = 0;
constexpr std::uint16_t kNPVersionMinor = 13;

// The library's exports. On Windows they use the stdcall convention and are exported by plain
// name; on Unix the browser hands both tables to NP_Initialize and asks NP_GetMIMEDescription
// and NP_GetValue for the registration.
#ifdef _WIN32
#define QV_NP_EXPORT_CALL __stdcall
typedef NPError(QV_NP_EXPORT_CALL* NP_GetEntryPointsFunc)(NPPluginFuncs* pluginFuncs);
typedef NPError(QV_NP_EXPORT_CALL* NP_InitializeFunc)(NPNetscapeFuncs* browserFuncs);
typedef NPError(QV_NP_EXPORT_CALL* NP_ShutdownFunc)();
#else
#define QV_NP_EXPORT_CALL
typedef NPError (*NP_InitializeFunc)(NPNetscapeFuncs* browserFuncs, NPPluginFuncs* pluginFuncs);
typedef const char* (*NP_GetMIMEDescriptionFunc)();
typedef NPError (*NP_GetValueFunc)(void* future, NPPVariable variable, void* value);
typedef NPError (*NP_ShutdownFunc)();
#endif

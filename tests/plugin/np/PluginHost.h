#pragma once

#include "plugin/npapi/NPAPI.h"

#include <string>
#include <vector>

// The browser's part in the plug-in's tests. The plug-in library is copied with the modules it
// needs (the UI manager, the property loader, the memory module) into a folder of its own and
// loaded from there, while the test runs in another, empty working directory: as a browser loads
// a plug-in from its plug-in folder.
namespace nptest
{
// Where the copied plug-in lies, and the working directory of the test (the "browser's").
std::string PluginFolder();
std::string HostFolder();

// Loads the plug-in once per process; false when it cannot be loaded.
bool LoadPlugin();
void* PluginSymbol(const char* name);

// The exports, in the form of the platform (NP_Initialize with one table on Windows, with both
// on Unix; NP_GetEntryPoints on Windows, the plug-in table of NP_Initialize on Unix).
NPError CallInitialize(NPNetscapeFuncs* browserFuncs);
NPError CallGetEntryPoints(NPPluginFuncs* pluginFuncs);
NPError CallShutdown();

// A complete browser table: every entry through force-redraw set, the get-URL entry recording.
NPNetscapeFuncs MakeBrowserFuncs();
// The plug-in's table, after the plug-in accepted MakeBrowserFuncs.
const NPPluginFuncs& PluginFuncs();

// Calls of the browser's get-URL entry, in order.
struct GetURLCall
{
    NPP instance;
    std::string url;
    std::string target;
};
std::vector<GetURLCall> GetURLCalls();
void ClearGetURLCalls();
// What get-URL answers (0 unless set).
void SetGetURLAnswer(NPError answer);
}  // namespace nptest

#pragma once

#include "platform/QVHandle.h"
#include "plugin/npapi/NPAPI.h"

#include <string>

// The plug-in library's exports in the platform's own form. Windows: NP_GetEntryPoints fills the
// plug-in's table, then NP_Initialize takes the browser's (both stdcall). Unix:
// NP_Initialize(browser table, plug-in table) does both. NP_Shutdown on both.
struct PluginExports
{
    void* getEntryPoints = nullptr;  // Windows only
    void* initialize = nullptr;
    void* shutdown = nullptr;
};

// The plug-in library's file name on this platform ("npqvarunner.dll", "libnpqvarunner.so").
const char* PluginFileName();

// Finds the exports this platform's browsers call. False with the missing names (blank
// separated) in missing.
bool FindPluginExports(QVHandle library, PluginExports& exports, std::string& missing);

// Hands the browser's table to the plug-in and has it fill its own (pluginFuncs->size set by the
// caller). Returns the first error the plug-in answered.
NPError InitializePlugin(const PluginExports& exports, NPNetscapeFuncs* browserFuncs,
                         NPPluginFuncs* pluginFuncs);

// NP_Shutdown's answer.
NPError ShutdownPlugin(const PluginExports& exports);

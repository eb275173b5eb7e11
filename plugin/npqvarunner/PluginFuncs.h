#pragma once

#include "plugin/npapi/NPAPI.h"

// The plug-in's side of the interface: the thirteen instance entry points handed to the browser.

// Fills the browser's plug-in table: version 13 (major 0, minor 13) and the entry points from
// new instance through set-value. The size field and the Java class entry stay as the browser
// set them. Null → 3 (invalid function table); 0 otherwise.
NPError QVFillPluginFuncs(NPPluginFuncs* pluginFuncs);

// The plug-in's name and description, as the registration asks for them.
const char* QVPluginName();
const char* QVPluginDescription();

#pragma once

#include "plugin/npapi/NPAPI.h"

#include <cstddef>

// The browser's function table, one copy for the library, taken by NP_Initialize.

// The smallest table the plug-in accepts: one that reaches through force-redraw (88 bytes on
// i386, 176 on x86_64).
constexpr std::size_t QVMinimumBrowserFuncsSize =
    offsetof(NPNetscapeFuncs, forceredraw) + sizeof(void*);

// Checks the browser's table and copies its size, version and the entries from get-URL through
// force-redraw (not the two Java ones). Null → 3 (invalid function table), a major version
// above 0 → 8 (incompatible version), a size below QVMinimumBrowserFuncsSize → 3; 0 otherwise.
// A refused table leaves the copy as it was.
NPError QVCopyBrowserFuncs(const NPNetscapeFuncs* browserFuncs);

// The copy (all null until a table was accepted).
const NPNetscapeFuncs& QVBrowserFuncs();

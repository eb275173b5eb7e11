#pragma once

#include "plugin/npapi/NPAPI.h"

// The browser's services as the player offers them to the plug-in. The plug-in may call them from
// its applet threads as well as from the player's thread: they touch no player state but the
// handles given by SetBrowserWindows, which are set before the first instance is made.
//
// - get-URL (and get-URL-notify): prints `qvaplayer: open URL "<url>" in "<target>"` on standard
//   output and reports success; the player opens nothing and delivers no data (so no
//   notification follows). A null URL gives invalid-URL.
// - status: prints `qvaplayer: status "<text>"`. user agent: "qvaplayer/1.0".
// - memory: allocate, free (the C heap), flush (frees nothing: 0).
// - get-value: the display connection (Unix), the top window, scripting off, online, no XEmbed;
//   anything else a generic error. set-value: accepts being a windowed plug-in only.
// - posting, plug-in-made streams and byte-range reads: generic error (not offered).
// - invalidate and force-redraw: nothing (a windowed plug-in draws its own window).

// The display connection (an X Display*; null on Windows) and the top window (an HWND or an X
// window id) that get-value hands out.
void SetBrowserWindows(void* display, void* topWindow);

// The table handed to NP_Initialize: every entry through force-redraw, size of the whole table,
// version 0.13 (the Java entries are null).
NPNetscapeFuncs MakeBrowserFunctions();

#pragma once

#include "platform/QVHandle.h"

#include <cstdint>

// What a host tells a renderer in Init: where to draw and with which buffers. The host fills it
// on its stack and passes its address; the renderer may write an own window back into window.
// The field order is shared with separately built renderer modules. The three handle fields are
// pointer-sized: on Windows they hold the HINSTANCE, WNDPROC and HWND; on Linux (X11) the instance
// is the program's Display* (null: the GL binding opens a connection of its own), the window is
// the X window id of the UI manager's window item, and the window procedure is unused.
struct RendererSetup
{
    std::int32_t createOwnWindow;  // non-zero: the renderer opens its own top-level window
    std::int32_t x;                // left edge of an own window, pixels
    std::int32_t y;                // top edge of an own window, pixels
    std::int32_t fullScreen;       // non-zero: an own window switches the display mode
    std::int32_t width;            // image/window width, pixels
    std::int32_t height;           // image/window height, pixels
    std::int32_t colourBits;       // colour depth requested for the pixel format
    std::int32_t depthBits;        // depth buffer bits
    std::int32_t stencilBits;      // stencil buffer bits
    QVHandle instance;             // program instance (X11: the Display*)
    QVHandle windowProcedure;      // procedure of an own window class, or null
    QVHandle window;               // in: window to draw into (X11: window id); out: own window
};

#pragma once

#include "platform/QVHandle.h"
#include "renderers/RendererSetup.h"

// The setup of a renderer that draws into a window the host made (no window of its own): an
// image of width x height pixels with 32 colour, 24 depth and 8 stencil bits. instance is the
// program instance (X11: the Display*, or null for a connection of the renderer's own); window
// is the host's window (X11: its window id; web: the element's number). The position and the
// window procedure only serve an own window and stay zero.
inline RendererSetup HostWindowSetup(QVHandle instance, QVHandle window, int width, int height)
{
    RendererSetup setup = {};
    setup.createOwnWindow = 0;
    setup.width = width;
    setup.height = height;
    setup.colourBits = 32;
    setup.depthBits = 24;
    setup.stencilBits = 8;
    setup.instance = instance;
    setup.window = window;
    return setup;
}

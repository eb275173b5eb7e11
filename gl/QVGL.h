#pragma once

// The platform's OpenGL 1.1 declarations for renderers that draw with fixed-function OpenGL. On
// Windows the GL header needs the Windows declarations first; keep them lean.
//
// On the web the declarations are emscripten's copy of the desktop header, and the functions
// behind them are the fixed-function layer in gl/webgl. The layer defines the OpenGL names
// itself (C functions, not macros) and reaches WebGL through emscripten's second names
// (emscripten_glX): the renderers stay as they are, the compiler checks every definition against
// the standard prototype, and a call the layer does not serve fails at link time instead of
// reaching emscripten's own emulation of the old API, which draws some of them wrongly.
#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

#include <GL/gl.h>

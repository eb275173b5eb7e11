#ifndef QV_PLATFORM_QVGL_H
#define QV_PLATFORM_QVGL_H

// The platform's OpenGL 1.1 declarations for renderers that draw with fixed-function OpenGL. On
// Windows the GL header needs the Windows declarations first; keep them lean.
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

#endif

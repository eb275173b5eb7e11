#pragma once

#include "gl/QVGL.h"

// Values from OpenGL 1.2 and 1.3 that the renderer uses. The Windows GL header stops at 1.1; the
// drivers accept them all the same.
constexpr GLenum QV_GL_BGR = 0x80E0;
constexpr GLenum QV_GL_BGRA = 0x80E1;
constexpr GLenum QV_GL_TEXTURE_3D = 0x806F;
constexpr GLenum QV_GL_TEXTURE_CUBE_MAP = 0x8513;
constexpr GLenum QV_GL_RESCALE_NORMAL = 0x803A;

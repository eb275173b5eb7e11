#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <vector>

// Pixels of 8-bit components between the formats OpenGL 1.x accepts and the ones WebGL 1 keeps.
// WebGL knows neither GL_BGR nor GL_BGRA and wants the internal format equal to the format, so the
// layer converts every upload to the base format of the internal format the caller asked for.
using Pixels = std::vector<std::uint8_t>;

// Bytes of one pixel of format (GL_RGB, GL_BGR, GL_RGBA, GL_BGRA, GL_LUMINANCE,
// GL_LUMINANCE_ALPHA, GL_ALPHA, GL_RED, GL_GREEN, GL_BLUE), 0 for another format.
int BytesPerPixel(GLenum format);

// The base format of a glTexImage2D internal format (1 to 4 components, or a named format), 0 for
// one WebGL cannot hold.
GLenum BaseFormatOf(GLint internalFormat);

// width x height pixels of format, whose rows start at multiples of alignment (1, 2, 4 or 8),
// as tightly packed pixels of baseFormat. A pixel is taken to RGBA as OpenGL does (luminance L
// is (L, L, L, 1), alpha A is (0, 0, 0, A), missing components 0 and alpha 1) and from there to
// the base format (luminance is red).
Pixels ConvertPixels(const void* data, int width, int height, GLenum format, int alignment,
                     GLenum baseFormat);

// Tightly packed RGBA rows as a caller of glReadPixels wants them: in format (GL_RGBA, GL_RGB,
// GL_BGRA, GL_BGR, GL_LUMINANCE, GL_ALPHA ...) with rows padded to alignment. False for a format
// it does not know.
bool PackPixels(const std::uint8_t* rgba, int width, int height, GLenum format, int alignment,
                void* out);

#pragma once

#include "gl/webgl/PixelConversion.h"

// Image sizes and scaling on the CPU for textures. WebGL 1 repeats and mipmaps only textures whose
// sides are powers of two, and has no GLU: mipmaps are built here as GLU builds them, so the
// levels hold the same pixels as on the desktop. Images are tightly packed, components bytes per
// pixel, rows from the bottom.

// The power of two GLU scales a side to for mipmaps: the nearest one, where 3 * 2^k rounds up.
int NearestPowerOfTwo(int size);
// The smallest power of two not below size.
int PowerOfTwoAtLeast(int size);
bool IsPowerOfTwo(int size);

// GLU's scaling: every output pixel is the area-weighted mean of the input pixels its box covers
// (a box of one input pixel when enlarging), wrapping around the edges.
Pixels ScaleBox(const Pixels& in, int width, int height, int components, int newWidth,
                int newHeight);

// Resampling as linear filtering with repeat would read the image at the new texel centres: a
// texture enlarged to a power of two looks as the original does under GL_LINEAR.
Pixels ScaleLinear(const Pixels& in, int width, int height, int components, int newWidth,
                   int newHeight);

// The next mipmap level: 2 x 2 means (rounded), or pairs along a side that is 1 already.
Pixels HalveImage(const Pixels& in, int width, int height, int components, int& newWidth,
                  int& newHeight);

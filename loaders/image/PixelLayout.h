#pragma once

#include "loaders/image/StbDecoder.h"

#include <cstdint>

// From the decoder's layout (top row first; grey, grey+alpha, RGB or RGBA) to the one QVImage
// holds and the renderers expect: rows bottom-up, left to right, 8 bits grey, 24 bits blue,
// green, red, or 32 bits blue, green, red, alpha.
namespace img
{
// Bits per pixel of the image made from that many decoded channels: grey with alpha widens to
// 32 bits (grey repeated in blue, green and red), since the TGA loader's layout has no 16-bit
// grey-alpha kind.
int BitsPerPixelFor(int channels);

struct LayoutOptions
{
    bool mirrored = false;  // the decoded rows run right to left: turn each
    bool opaque = false;    // set every alpha to 255
};

// Writes the decoded pixels into target, which holds width * height * BitsPerPixelFor / 8 bytes.
void StoreBottomUp(const DecodedPixels& decoded, LayoutOptions options, std::uint8_t* target);
}  // namespace img

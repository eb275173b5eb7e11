#pragma once

#include <cstdint>

namespace tga
{
// Copies a picture stored from the given origin (Header::Origin: 0 bottom-left, 1 bottom-right,
// 2 top-left, 3 top-right) into out so that out's first row is the bottom of the picture and
// each row runs left to right. The bytes inside a pixel keep their order (no channel swap).
// in and out hold width * height * bytesPerPixel bytes each and do not overlap.
void CopyRowsBottomUp(const std::uint8_t* in, std::uint8_t* out, int width, int height,
                      int bytesPerPixel, int origin);
}  // namespace tga

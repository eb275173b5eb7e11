#pragma once

#include "core/string/QVString.h"

#include <cstdint>

namespace tga
{
// Writes an uncompressed true-colour file: the header (no image ID, no colour map, bottom-left
// origin, 8 attribute bits for 32-bit pixels), the pixels as given (rows bottom-up, bytes in
// file order), and a TGA 2.0 footer without extension area or developer directory. The file
// appears complete or not at all (written beside the target, then moved over it). False for
// depths other than 8, 24 and 32, sizes outside 1..65535, null pixels, or any write failure.
bool WriteFile(const QVString& fileName, int width, int height, int depth,
               const std::uint8_t* pixels);
}  // namespace tga

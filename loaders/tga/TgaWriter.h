#pragma once

#include "core/string/QVString.h"

#include <cstdint>

namespace tga
{
// How the pixels handed to WriteFile are laid out, and where the file may go.
struct WriteOptions
{
    // Where the first pixel given lies (Header::Origin: 0 bottom-left, 2 top-left, ...): the
    // rows go to the file in the order given and the header says where they start.
    int origin = 0;
    // The pixels hold red first (RGB, RGBA) and are turned into the file's blue-first order on
    // the way; otherwise they are in file order already. For 24 and 32 bits only.
    bool redFirst = false;
    // A TGA 2.0 footer (no extension area, no developer directory) after the pixels.
    bool footer = true;
    // A narrow path that is no regular file (a device, a FIFO: /dev/stdout, a pipe to another
    // program) is written in place instead of refused. Whatever happens, it is never removed.
    bool writeInPlace = false;
};

// The form of the images qvrender traces and qvglview's screenshots: RGB rows from the top,
// no footer, outputs such as /dev/stdout written in place.
const WriteOptions kRgbRowsFromTop = {2, true, false, true};

// Writes an uncompressed true-colour file: the header (no image ID, no colour map, 8 attribute
// bits for 32-bit pixels), the pixels, and the footer as options say. A regular file appears
// complete or not at all (written beside the target, then moved over it). False for depths
// other than 8, 24 and 32 (red first: 24 and 32), sizes outside 1..65535 or over 2 GiB of
// pixels, null pixels, or any write failure.
bool WriteFile(const QVString& fileName, int width, int height, int depth,
               const std::uint8_t* pixels, const WriteOptions& options = WriteOptions());
}  // namespace tga

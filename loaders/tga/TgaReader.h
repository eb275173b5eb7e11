#pragma once

#include "core/string/QVString.h"
#include "loaders/tga/TgaFormat.h"

#include <cstdint>
#include <memory>

namespace tga
{
// Largest pixel block read: an image's byte count is a 32-bit int, and so is the size the
// allocation hook takes.
const std::uint64_t kLargestPixelData = 0x7FFFFFFF;

// What one read of a file gives: the decoded header, the image ID, the footer and the pixels as
// they are stored in the file (in the file's row and pixel order).
struct ImageRecord
{
    Header header = {};
    std::unique_ptr<char[]> imageId;  // header.idLength bytes, not terminated; null without ID
    std::uint8_t footer[kFooterSize] = {};
    // 2 when the footer carries the TGA 2.0 signature, otherwise 1; both are read alike.
    int version = 0;
    // width * height * depth / 8, computed in 64 bits (up to 65535 * 65535 * 4).
    std::uint64_t dataSize = 0;
    std::unique_ptr<std::uint8_t[]> pixels;  // dataSize bytes in file order; null until read
};

// Reads an uncompressed true-colour file of 8, 24 or 32 bits per pixel (32 only with 8 alpha
// bits) into record, printing on standard output the data-size line, the image ID and, for
// every refusal, its message:
//   "File not opened.\n", "Read Footer Failed.\n" (also for files shorter than the footer),
//   "Image type [%d] not supported.\n", "Image Pixel Depth [%d] not supported.\n",
//   "Image size [%dx%d] not supported.\n", "Alpha Channel bits [%d] not supported.\n",
//   "There shouldn't be a colormap here!!!\n", "Error reading Image ID.\n",
//   "Error Reading Image Data.\n".
// The last one also refuses pixel data larger than what the file holds after the header and the
// image ID, or than kLargestPixelData, before anything of that size is allocated; so a hostile
// header costs no memory. A header that cannot be read fails without message. The file name is
// a path of either width. False on every refusal; the file is closed on every exit.
bool ReadFile(const QVString& fileName, ImageRecord& record);
}  // namespace tga

#pragma once

#include <cstddef>
#include <cstdint>

// Which files the image loader takes, told by their first bytes and, for TGA (which has no
// signature), by the name's extension as well. A TGA file that the TGA loader reads
// (uncompressed true-colour of 8, 24 or 32 bits, 32 only with 8 alpha bits, no colour map) is
// never taken, so it keeps going to that loader whatever order a host tries loaders in.
namespace img
{
enum class ImageKind
{
    None,  // not a file this loader reads: it says nothing and leaves it to others
    Png,
    Jpeg,
    Gif,
    Bmp,
    Tga
};

// Bytes of the file's start that RecogniseImage looks at (fewer when the file is shorter).
const std::size_t kRecogniseBytes = 18;

// The kind of the file that starts with head (size bytes of it); tgaName: the name ends in .tga.
ImageKind RecogniseImage(const std::uint8_t* head, std::size_t size, bool tgaName);

// What the loader must do on top of the decoder for a TGA file that starts with head (18 bytes).
struct TgaFixes
{
    bool mirrored;  // pixels stored right to left: the decoder does not turn them
    bool opaque;    // 32 bits with no alpha bits declared: the fourth byte is not alpha
};
TgaFixes TgaFixesOf(const std::uint8_t* head);
}  // namespace img

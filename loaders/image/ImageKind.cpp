#include "loaders/image/ImageKind.h"

#include <cstring>

namespace img
{
namespace
{
int Word(const std::uint8_t* at) { return at[0] | (at[1] << 8); }

bool StartsWith(const std::uint8_t* head, std::size_t size, const char* magic, std::size_t length)
{
    return size >= length && std::memcmp(head, magic, length) == 0;
}

// TGA header fields (little-endian) the decision needs.
struct TgaHeader
{
    int colourMapType, imageType, colourMapLength, colourMapEntryBits, width, height, depth,
        alphaBits;
};

TgaHeader ReadTgaHeader(const std::uint8_t* head)
{
    return {head[1],         head[2],         Word(head + 5), head[7],
            Word(head + 12), Word(head + 14), head[16],       head[17] & 0x0F};
}

// The only kind the TGA loader reads; it keeps every such file, even a damaged one.
bool TgaLoaderReads(const TgaHeader& h)
{
    const bool depthRead = h.depth == 8 || h.depth == 24 || (h.depth == 32 && h.alphaBits == 8);
    return h.imageType == 2 && depthRead && h.width != 0 && h.height != 0 && h.colourMapLength == 0;
}

// What the decoder reads correctly: colour-mapped (1, 9) with 15 to 32-bit entries, true-colour
// (2, 10) of 15, 16, 24 or 32 bits, grey (3, 11) of 8 or 16 (with alpha) bits. The decoder skips
// no colour map in a file that does not use one, so such files are left alone.
bool DecoderReads(const TgaHeader& h)
{
    if (h.width == 0 || h.height == 0)
        return false;
    switch (h.imageType)
    {
    case 1:
    case 9:
        return h.colourMapType == 1 && h.colourMapLength > 0 && h.depth == 8 &&
               (h.colourMapEntryBits == 15 || h.colourMapEntryBits == 16 ||
                h.colourMapEntryBits == 24 || h.colourMapEntryBits == 32);
    case 2:
    case 10:
        return h.colourMapType == 0 && h.colourMapLength == 0 &&
               (h.depth == 15 || h.depth == 16 || h.depth == 24 || h.depth == 32);
    case 3:
    case 11:
        return h.colourMapType == 0 && h.colourMapLength == 0 && (h.depth == 8 || h.depth == 16);
    default:
        return false;
    }
}

bool IsBmp(const std::uint8_t* head, std::size_t size)
{
    if (!StartsWith(head, size, "BM", 2) || size < 18)
        return false;
    // The info header's size names its version; anything else is not a bitmap.
    const long infoSize = Word(head + 14) | (static_cast<long>(Word(head + 16)) << 16);
    return infoSize == 12 || infoSize == 40 || infoSize == 56 || infoSize == 108 || infoSize == 124;
}
}  // namespace

ImageKind RecogniseImage(const std::uint8_t* head, std::size_t size, bool tgaName)
{
    const bool tgaHeader = tgaName && size >= 18;
    if (tgaHeader && TgaLoaderReads(ReadTgaHeader(head)))
        return ImageKind::None;
    if (StartsWith(head, size, "\x89PNG\r\n\x1a\n", 8))
        return ImageKind::Png;
    if (StartsWith(head, size, "\xFF\xD8\xFF", 3))
        return ImageKind::Jpeg;
    if (StartsWith(head, size, "GIF87a", 6) || StartsWith(head, size, "GIF89a", 6))
        return ImageKind::Gif;
    if (IsBmp(head, size))
        return ImageKind::Bmp;
    if (tgaHeader && DecoderReads(ReadTgaHeader(head)))
        return ImageKind::Tga;
    return ImageKind::None;
}

TgaFixes TgaFixesOf(const std::uint8_t* head)
{
    const TgaHeader h = ReadTgaHeader(head);
    const bool trueColour32 = (h.imageType == 2 || h.imageType == 10) && h.depth == 32;
    return {(head[17] & 0x10) != 0, trueColour32 && h.alphaBits == 0};
}
}  // namespace img

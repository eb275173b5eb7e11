#include "loaders/tga/TgaFormat.h"

namespace tga
{
namespace
{
std::uint16_t Word(const std::uint8_t* at)
{
    return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
}

void PutWord(std::uint8_t* at, std::uint16_t value)
{
    at[0] = static_cast<std::uint8_t>(value & 0xFF);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}
}  // namespace

Header Header::Decode(const std::uint8_t (&bytes)[kHeaderSize])
{
    Header header;
    header.idLength = bytes[0];
    header.colourMapType = bytes[1];
    header.imageType = bytes[2];
    header.firstColourMapEntry = Word(bytes + 3);
    header.colourMapLength = Word(bytes + 5);
    header.colourMapEntrySize = bytes[7];
    header.xOrigin = Word(bytes + 8);
    header.yOrigin = Word(bytes + 10);
    header.width = Word(bytes + 12);
    header.height = Word(bytes + 14);
    header.pixelDepth = bytes[16];
    header.descriptor = bytes[17];
    return header;
}

void Header::Encode(std::uint8_t (&bytes)[kHeaderSize]) const
{
    bytes[0] = idLength;
    bytes[1] = colourMapType;
    bytes[2] = imageType;
    PutWord(bytes + 3, firstColourMapEntry);
    PutWord(bytes + 5, colourMapLength);
    bytes[7] = colourMapEntrySize;
    PutWord(bytes + 8, xOrigin);
    PutWord(bytes + 10, yOrigin);
    PutWord(bytes + 12, width);
    PutWord(bytes + 14, height);
    bytes[16] = pixelDepth;
    bytes[17] = descriptor;
}
}  // namespace tga

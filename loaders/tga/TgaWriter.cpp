#include "loaders/tga/TgaWriter.h"

#include "loaders/tga/TgaFormat.h"
#include "platform/QVFileReplacement.h"

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

namespace tga
{
namespace
{
struct Image
{
    int width;
    int height;
    int depth;
    const std::uint8_t* pixels;
    std::size_t size;  // bytes of pixels
};

bool WritePixels(std::FILE* stream, const Image& image, bool redFirst)
{
    if (!redFirst)
    {
        return std::fwrite(image.pixels, 1, image.size, stream) == image.size;
    }
    // Red and blue change places row by row, so the caller's pixels stay as they are.
    const int bytesPerPixel = image.depth / 8;
    const std::size_t rowSize = static_cast<std::size_t>(image.width) * bytesPerPixel;
    std::vector<std::uint8_t> row(rowSize);
    for (int y = 0; y < image.height; ++y)
    {
        std::memcpy(row.data(), image.pixels + y * rowSize, rowSize);
        for (std::size_t x = 0; x < rowSize; x += bytesPerPixel)
        {
            std::swap(row[x], row[x + 2]);
        }
        if (std::fwrite(row.data(), 1, rowSize, stream) != rowSize)
        {
            return false;
        }
    }
    return true;
}

bool WriteImage(std::FILE* stream, const Image& image, const WriteOptions& options)
{
    Header header = {};
    header.imageType = kTrueColour;
    header.width = static_cast<std::uint16_t>(image.width);
    header.height = static_cast<std::uint16_t>(image.height);
    header.pixelDepth = static_cast<std::uint8_t>(image.depth);
    header.descriptor =
        static_cast<std::uint8_t>((image.depth == 32 ? 8 : 0) | ((options.origin & 3) << 4));
    std::uint8_t headerBytes[kHeaderSize];
    header.Encode(headerBytes);
    if (std::fwrite(headerBytes, 1, sizeof headerBytes, stream) != sizeof headerBytes ||
        !WritePixels(stream, image, options.redFirst))
    {
        return false;
    }
    if (!options.footer)
    {
        return true;
    }
    // No extension area, no developer directory: both offsets stay zero.
    std::uint8_t footer[kFooterSize] = {};
    std::memcpy(footer + kSignatureOffset, kSignature, kSignatureSize);
    footer[kSignatureOffset + kSignatureSize] = '.';
    return std::fwrite(footer, 1, sizeof footer, stream) == sizeof footer;
}
}  // namespace

bool WriteFile(const QVString& fileName, int width, int height, int depth,
               const std::uint8_t* pixels, const WriteOptions& options)
{
    if ((depth != 8 && depth != 24 && depth != 32) || (options.redFirst && depth == 8) ||
        width < 1 || width > 0xFFFF || height < 1 || height > 0xFFFF || pixels == nullptr)
    {
        return false;
    }
    // No image holds more bytes than an int counts (and a 32-bit size_t would overflow).
    const std::uint64_t dataSize = static_cast<std::uint64_t>(width) *
                                   static_cast<std::uint64_t>(height) *
                                   static_cast<std::uint64_t>(depth / 8);
    if (dataSize > 0x7FFFFFFF)
    {
        return false;
    }
    const Image image = {width, height, depth, pixels, static_cast<std::size_t>(dataSize)};

    // A regular file is replaced whole or not at all.
    const bool wide = fileName.GetEncoding() == QVString::Wide;
    QVFileReplacement file;
    switch (wide ? file.Begin(fileName.GetWideBuffer()) : file.Begin(fileName.GetBuffer()))
    {
    case QVFileReplacement::Started:
        if (!WriteImage(file.GetStream(), image, options))
        {
            file.Discard();
            return false;
        }
        return file.Commit();
    case QVFileReplacement::NotAFile:
    {
        if (!options.writeInPlace || wide)
        {
            return false;
        }
        std::FILE* stream = std::fopen(fileName.GetBuffer(), "wb");
        if (stream == nullptr)
        {
            return false;
        }
        const bool written = WriteImage(stream, image, options);
        // A failed close can lose buffered data: it counts as a failed write.
        return std::fclose(stream) == 0 && written;
    }
    case QVFileReplacement::Failed:
        break;
    }
    return false;
}
}  // namespace tga

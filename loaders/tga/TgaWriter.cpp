#include "loaders/tga/TgaWriter.h"

#include "loaders/tga/TgaFormat.h"
#include "platform/FileReplacement.h"

#include <cstddef>
#include <cstdio>
#include <cstring>

namespace tga
{
bool WriteFile(const QVString& fileName, int width, int height, int depth,
               const std::uint8_t* pixels)
{
    if ((depth != 8 && depth != 24 && depth != 32) || width < 1 || width > 0xFFFF || height < 1 ||
        height > 0xFFFF || pixels == nullptr)
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
    Header header = {};
    header.imageType = kTrueColour;
    header.width = static_cast<std::uint16_t>(width);
    header.height = static_cast<std::uint16_t>(height);
    header.pixelDepth = static_cast<std::uint8_t>(depth);
    header.descriptor = depth == 32 ? 8 : 0;
    std::uint8_t headerBytes[kHeaderSize];
    header.Encode(headerBytes);

    // No extension area, no developer directory: both offsets stay zero.
    std::uint8_t footer[kFooterSize] = {};
    std::memcpy(footer + kSignatureOffset, kSignature, kSignatureSize);
    footer[kSignatureOffset + kSignatureSize] = '.';

    // The file is replaced whole or not at all; a path that is no regular file (a device, a
    // folder) is refused rather than written in place.
    QVFileReplacement file;
    const QVFileReplacement::Start start = fileName.GetEncoding() == QVString::Wide
                                               ? file.Begin(fileName.GetWideBuffer())
                                               : file.Begin(fileName.GetBuffer());
    if (start != QVFileReplacement::Started)
    {
        return false;
    }
    std::FILE* stream = file.GetStream();
    const std::size_t size = static_cast<std::size_t>(dataSize);
    const bool written =
        std::fwrite(headerBytes, 1, sizeof headerBytes, stream) == sizeof headerBytes &&
        std::fwrite(pixels, 1, size, stream) == size &&
        std::fwrite(footer, 1, sizeof footer, stream) == sizeof footer;
    if (!written)
    {
        file.Discard();
        return false;
    }
    return file.Commit();
}
}  // namespace tga

#include "loaders/tga/TgaReader.h"

#include "core/string/PrintableText.h"
#include "platform/RegularFile.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <new>

namespace tga
{
namespace
{
struct CloseStream
{
    void operator()(std::FILE* stream) const { std::fclose(stream); }
};
using Stream = std::unique_ptr<std::FILE, CloseStream>;

bool ReadExactly(std::FILE* stream, void* buffer, std::size_t size)
{
    return std::fread(buffer, 1, size, stream) == size;
}

// The stream's size in bytes; -1 when it cannot be learnt.
long SizeOf(std::FILE* stream)
{
    if (std::fseek(stream, 0, SEEK_END) != 0)
    {
        return -1;
    }
    return std::ftell(stream);
}

bool ReadFooter(std::FILE* stream, long fileSize, ImageRecord& record)
{
    if (fileSize < kFooterSize || std::fseek(stream, fileSize - kFooterSize, SEEK_SET) != 0 ||
        !ReadExactly(stream, record.footer, kFooterSize))
    {
        return false;
    }
    record.version =
        std::memcmp(record.footer + kSignatureOffset, kSignature, kSignatureSize) == 0 ? 2 : 1;
    return true;
}

// The header checks in their order; false after printing the refusal.
bool Accepts(const Header& header)
{
    if (header.imageType != kTrueColour)
    {
        std::printf("Image type [%d] not supported.\n", header.imageType);
        return false;
    }
    if (header.pixelDepth != 8 && header.pixelDepth != 24 && header.pixelDepth != 32)
    {
        std::printf("Image Pixel Depth [%d] not supported.\n", header.pixelDepth);
        return false;
    }
    if (header.width == 0 || header.height == 0)
    {
        std::printf("Image size [%dx%d] not supported.\n", header.width, header.height);
        return false;
    }
    if (header.pixelDepth == 32 && header.AttributeBits() != 8)
    {
        std::printf("Alpha Channel bits [%d] not supported.\n", header.AttributeBits());
        return false;
    }
    return true;
}

bool ReadImageId(std::FILE* stream, ImageRecord& record)
{
    const int length = record.header.idLength;
    if (length == 0)
    {
        return true;
    }
    record.imageId.reset(new (std::nothrow) char[length]);
    if (record.imageId == nullptr || !ReadExactly(stream, record.imageId.get(), length))
    {
        std::printf("Error reading Image ID.\n");
        return false;
    }
    // The ID's bytes up to the first zero byte (it is not terminated), escaped: they come from
    // the file and must not reach a terminal as control sequences.
    const char* id = record.imageId.get();
    const std::size_t shown = static_cast<std::size_t>(std::find(id, id + length, '\0') - id);
    std::printf("Image ID: %s\n", QVPrintableText(id, shown).c_str());
    return true;
}

// The pixel block, once the file is known to hold it: one allocation and one read.
bool ReadPixels(std::FILE* stream, long fileSize, ImageRecord& record)
{
    const std::uint64_t start = kHeaderSize + record.header.idLength;
    const std::uint64_t available = static_cast<std::uint64_t>(fileSize) > start
                                        ? static_cast<std::uint64_t>(fileSize) - start
                                        : 0;
    if (record.dataSize > available || record.dataSize > kLargestPixelData)
    {
        return false;
    }
    const std::size_t size = static_cast<std::size_t>(record.dataSize);
    record.pixels.reset(new (std::nothrow) std::uint8_t[size]);
    if (record.pixels == nullptr || !ReadExactly(stream, record.pixels.get(), size))
    {
        record.pixels.reset();
        return false;
    }
    return true;
}
}  // namespace

// Opens a regular file by a name of either width; null for an empty name and for anything that
// is not a regular file (a FIFO would make the read wait for ever).
std::FILE* OpenForReading(const QVString& fileName)
{
    if (fileName.GetLength() == 0)
    {
        return nullptr;
    }
    return fileName.GetEncoding() == QVString::Wide
               ? QVOpenRegularFileWide(fileName.GetWideBuffer(), "rb")
               : QVOpenRegularFile(fileName.GetBuffer(), "rb");
}

bool ReadFile(const QVString& fileName, ImageRecord& record)
{
    const Stream stream(OpenForReading(fileName));
    if (stream == nullptr)
    {
        std::printf("File not opened.\n");
        return false;
    }
    const long fileSize = SizeOf(stream.get());
    if (!ReadFooter(stream.get(), fileSize, record))
    {
        std::printf("Read Footer Failed.\n");
        return false;
    }

    std::uint8_t headerBytes[kHeaderSize];
    if (std::fseek(stream.get(), 0, SEEK_SET) != 0 ||
        !ReadExactly(stream.get(), headerBytes, kHeaderSize))
    {
        return false;
    }
    record.header = Header::Decode(headerBytes);
    const Header& header = record.header;
    if (!Accepts(header))
    {
        return false;
    }

    // Up to 65535 * 65535 * 4 bytes: 64-bit arithmetic, printed as the number it is.
    record.dataSize = static_cast<std::uint64_t>(header.width) * header.height *
                      static_cast<std::uint64_t>(header.pixelDepth / 8);
    std::printf("DataSize in bytes: %" PRIu64 ", in Kbytes: %" PRIu64 "\n", record.dataSize,
                record.dataSize / 1024);

    if (header.colourMapLength != 0)
    {
        std::printf("There shouldn't be a colormap here!!!\n");
        return false;
    }
    if (!ReadImageId(stream.get(), record))
    {
        return false;
    }
    if (!ReadPixels(stream.get(), fileSize, record))
    {
        std::printf("Error Reading Image Data.\n");
        return false;
    }
    return true;
}
}  // namespace tga

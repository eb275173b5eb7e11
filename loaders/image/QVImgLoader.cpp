#include "loaders/image/QVImgLoader.h"

#include "loaders/QVImage.h"
#include "loaders/image/ImageKind.h"
#include "loaders/image/PixelLayout.h"
#include "loaders/image/StbDecoder.h"
#include "platform/RegularFile.h"

#include <cstdio>
#include <memory>
#include <new>
#include <string>

namespace
{
// Largest file read: the largest picture stored without compression, and some.
const long kLargestFileBytes = static_cast<long>(img::kLargestImageBytes + (1 << 20));

struct CloseStream
{
    void operator()(std::FILE* stream) const { std::fclose(stream); }
};
using Stream = std::unique_ptr<std::FILE, CloseStream>;

// Regular files only, by a name of either width (a FIFO would make the read wait for ever).
Stream OpenForReading(const QVString& fileName)
{
    if (fileName.GetLength() == 0)
        return Stream();
    return Stream(fileName.GetEncoding() == QVString::Wide
                      ? QVOpenRegularFileWide(fileName.GetWideBuffer(), "rb")
                      : QVOpenRegularFile(fileName.GetBuffer(), "rb"));
}

bool HasTgaExtension(const QVString& fileName)
{
    const int dot = fileName.FindLast('.', -1);
    if (dot < 0)
        return false;
    QVString extension;
    fileName.Mid(extension, dot + 1, fileName.GetLength());
    extension.ToLower();
    return extension.Equals(QVString("tga"));
}

img::ImageKind KindOf(const std::uint8_t* head, std::size_t size, const QVString& fileName)
{
    return img::RecogniseImage(head, size, HasTgaExtension(fileName));
}

// The whole file, when it holds no more than kLargestFileBytes; size 0 on failure.
std::unique_ptr<std::uint8_t[]> ReadWhole(std::FILE* stream, std::size_t& size)
{
    size = 0;
    if (std::fseek(stream, 0, SEEK_END) != 0)
        return nullptr;
    const long length = std::ftell(stream);
    if (length <= 0 || length > kLargestFileBytes || std::fseek(stream, 0, SEEK_SET) != 0)
        return nullptr;
    std::unique_ptr<std::uint8_t[]> bytes(new (std::nothrow) std::uint8_t[length]);
    if (bytes == nullptr || std::fread(bytes.get(), 1, static_cast<std::size_t>(length), stream) !=
                                static_cast<std::size_t>(length))
        return nullptr;
    size = static_cast<std::size_t>(length);
    return bytes;
}
}  // namespace

QVImgLoader::QVImgLoader()
{
    SetName(QVString("Image loader"));
    SetPlatform(QVString("All"));
    SetType(QVString("Image Loader"));
    SetDescription(QVString("Png Jpeg Bmp Gif"));
    SetExtension(QVString("any"));
}

QVImgLoader::~QVImgLoader() = default;

bool QVImgLoader::CanLoad(const QVString& fileName)
{
    const Stream stream = OpenForReading(fileName);
    if (stream == nullptr)
        return false;
    std::uint8_t head[img::kRecogniseBytes];
    const std::size_t got = std::fread(head, 1, sizeof head, stream.get());
    return KindOf(head, got, fileName) != img::ImageKind::None;
}

bool QVImgLoader::Load(QVModCollection* client, const QVString& fileName)
{
    QVImage* image = QVImage::FromModCollection(client);
    if (image == nullptr)
        return false;
    const Stream stream = OpenForReading(fileName);
    if (stream == nullptr)
        return false;
    std::uint8_t head[img::kRecogniseBytes];
    const std::size_t got = std::fread(head, 1, sizeof head, stream.get());
    const img::ImageKind kind = KindOf(head, got, fileName);
    if (kind == img::ImageKind::None)
        return false;

    std::size_t size = 0;
    const std::unique_ptr<std::uint8_t[]> bytes = ReadWhole(stream.get(), size);
    if (bytes == nullptr)
    {
        std::printf("Image file not read (empty, unreadable or larger than %ld bytes).\n",
                    kLargestFileBytes);
        return false;
    }
    img::DecodedPixels decoded;
    std::string reason;
    if (!img::DecodeImage(bytes.get(), size, decoded, reason))
    {
        std::printf("Image not decoded: %s.\n", reason.c_str());
        return false;
    }
    img::LayoutOptions options;
    if (kind == img::ImageKind::Tga)
    {
        const img::TgaFixes fixes = img::TgaFixesOf(head);
        options.mirrored = fixes.mirrored;
        options.opaque = fixes.opaque;
    }
    // Every refusal is behind us: only now does the image change.
    if (!image->SetSize(decoded.width, decoded.height, img::BitsPerPixelFor(decoded.channels)))
        return false;
    img::StoreBottomUp(decoded, options, image->GetPixels());
    return true;
}

bool QVImgLoader::Save(QVModCollection*, const QVString&) { return false; }

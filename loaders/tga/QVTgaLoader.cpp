#include "loaders/tga/QVTgaLoader.h"

#include "loaders/QVImage.h"
#include "loaders/tga/TgaReader.h"
#include "loaders/tga/TgaRowOrder.h"
#include "loaders/tga/TgaWriter.h"

#include <cstdint>

QVTgaLoader::QVTgaLoader()
{
    SetName(QVString("TGA loader"));
    SetPlatform(QVString("All"));
    SetType(QVString("Image Loader"));
    SetDescription(QVString("Tga"));
    SetExtension(QVString("tga"));
}

QVTgaLoader::~QVTgaLoader() = default;

bool QVTgaLoader::Load(QVModCollection* client, const QVString& fileName)
{
    QVImage* image = QVImage::FromModCollection(client);
    if (image == nullptr)
    {
        return false;
    }
    tga::ImageRecord record;
    if (!tga::ReadFile(fileName, record))
    {
        return false;
    }
    // Every refusal is behind us: only now does the image change.
    const tga::Header& header = record.header;
    if (!image->SetSize(header.width, header.height, header.pixelDepth))
    {
        return false;
    }
    tga::CopyRowsBottomUp(record.pixels.get(), image->GetPixels(), header.width, header.height,
                          header.pixelDepth / 8, header.Origin());
    return true;
}

bool QVTgaLoader::Save(QVModCollection* client, const QVString& fileName)
{
    QVImage* image = QVImage::FromModCollection(client);
    if (image == nullptr)
    {
        return false;
    }
    const int depth = image->GetBitsPerPixel();
    const std::int64_t expected =
        static_cast<std::int64_t>(image->GetWidth()) * image->GetHeight() * (depth / 8);
    if (depth % 8 != 0 || image->GetPixels() == nullptr || expected != image->GetByteSize())
    {
        return false;
    }
    return tga::WriteFile(fileName, image->GetWidth(), image->GetHeight(), depth,
                          image->GetPixels());
}

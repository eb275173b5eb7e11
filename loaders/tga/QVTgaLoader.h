#pragma once

#include "loaders/QVLoaderModule.h"

// The module of "qvtgaloader.qvm" (type "Image Loader"): reads and writes uncompressed
// true-colour TGA files for QVImage clients.
//
// Read: image type 2 with 8, 24 or 32 bits per pixel, no colour map, and for 32 bits exactly 8
// alpha bits; every other file is refused with a message on standard output (see
// tga::ReadFile). Pixels of any of the four origins arrive rows bottom-up, left to right, with
// their bytes in file order (blue, green, red, alpha). The footer's TGA 2.0 signature is noted
// but not needed.
class QVTgaLoader : public QVLoaderModule
{
public:
    // Name "TGA loader", platform "All", type "Image Loader", description "Tga", extension
    // "tga"; the file name stays empty.
    QVTgaLoader();
    virtual ~QVTgaLoader();

    using QVLoaderModule::Load;
    using QVLoaderModule::Save;

    // Reads the file and gives the image its size and pixels. False, with the image unchanged,
    // when client is not an image or the file is refused or cannot be read; also false when the
    // image cannot take the pixels (memory short), and then the image is left empty. Peak
    // memory is the pixel data twice: read once, then reordered into the image's buffer.
    bool Load(QVModCollection* client, const QVString& fileName) override;

    // Writes the image as an uncompressed type-2 file of its depth (8, 24, or 32 with 8 alpha
    // bits), rows bottom-up, with a TGA 2.0 footer; loading it gives back the same pixels. True
    // only when the file was written completely (the target is replaced in one step). False
    // when client is not an image, the image is empty, of another depth, wider or higher than
    // 65535 pixels, or the file cannot be written.
    bool Save(QVModCollection* client, const QVString& fileName) override;
};

#pragma once

#include "loaders/QVLoaderModule.h"

// The module of "qvimgloader.qvm" (type "Image Loader"): reads the image files of today into
// QVImage, in the layout the TGA loader fills (rows bottom-up; 8-bit grey, 24-bit BGR or 32-bit
// BGRA). PNG (1 to 16 bits, grey, palette, alpha), JPEG (baseline and progressive), BMP, GIF
// (its first frame) and the TGA files the TGA loader refuses: run-length encoded,
// colour-mapped, grey, 15/16-bit. It writes nothing.
//
// Files are told by content: by their signature, and for TGA (which has none) by the .tga
// extension and a header this loader reads. A file it does not recognise, including every TGA
// file the TGA loader reads, it declines without a word; a recognised file that cannot be read
// is refused with one message line on standard output.
class QVImgLoader : public QVLoaderModule
{
public:
    // Name "Image loader", platform "All", type "Image Loader", description "Png Jpeg Bmp Gif",
    // extension "any" (CanLoad decides by content); the file name stays empty.
    QVImgLoader();
    virtual ~QVImgLoader();

    using QVLoaderModule::CanLoad;
    using QVLoaderModule::Load;
    using QVLoaderModule::Save;

    // True when the file exists and is of a kind this loader reads (it reads the first bytes).
    bool CanLoad(const QVString& fileName) override;

    // Reads and decodes the whole file, then gives the image its size and pixels. False, with
    // the image unchanged, when client is not an image, the file is not recognised (silently),
    // cannot be read, is damaged or larger than the decoder's limits (with a message); false
    // with the image left empty when it cannot take the pixels.
    bool Load(QVModCollection* client, const QVString& fileName) override;

    // Writes nothing: false (a host's Save goes on to the next loader).
    bool Save(QVModCollection* client, const QVString& fileName) override;
};

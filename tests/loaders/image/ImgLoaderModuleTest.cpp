// The real "qvimgloader.qvm" as hosts meet it: an image gathers it beside the TGA loader, each
// file goes to the one loader that reads it whatever order the image tries them in, and the TGA
// kinds only this loader reads arrive in the TGA loader's layout.
#include "loaders/QVLoaderModule.h"
#include "modules/QVModManager.h"

#include "ImageTestSupport.h"

#include <gtest/gtest.h>

namespace
{
std::string Tga(int type, int depth, int descriptor, int width, const std::string& pixels)
{
    TgaSpec spec;
    spec.imageType = type;
    spec.depth = depth;
    spec.descriptor = descriptor;
    spec.width = width;
    spec.height = type == 3 ? 2 : 1;
    spec.pixels = pixels;
    return TgaBytes(spec);
}

// A 1 x 1 grey PNG of value 0x80, as zlib compresses it.
const std::string kPng("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x01\0\0\0\x01\x08\0\0\0\0\x3a\x7e\x9b"
                       "\x55\0\0\0\x0aIDAT\x78\x9c\x63\x68\x00\x00\x00\x82\x00\x81\x77\xcd\x72\xb6"
                       "\0\0\0\0IEND\xae\x42\x60\x82",
                       67);
}  // namespace

TEST(ImgLoaderModule, EachFileGoesToTheOneLoaderThatReadsIt)
{
    QVImage image;
    QVLoaderModule* imgLoader = nullptr;
    bool tgaLoaderFound = false;
    for (unsigned i = 0; i < image.GetLoaders().GetCount(); ++i)
    {
        QVModule* module = image.GetLoaders().GetAt(i);
        if (Narrow(module->GetName()) == "Image loader")
            imgLoader = static_cast<QVLoaderModule*>(module);
        tgaLoaderFound = tgaLoaderFound || Narrow(module->GetName()) == "TGA loader";
    }
    ASSERT_TRUE(imgLoader != nullptr && tgaLoaderFound);

    const struct
    {
        const char* name;
        std::string bytes;
        bool imgLoaderTakes;
        std::string pixels;  // what the image holds after the host's Load; empty: not loaded
    } files[] = {
        // The TGA loader's kind stays with it (it prints its data-size line).
        {"plain.tga", Tga(2, 24, 0, 2, "abcdef"), false, "abcdef"},
        {"plain.TGA", Tga(2, 32, 8, 1, "abcd"), false, "abcd"},
        // Run-length encoded: one raw packet of two pixels; right to left turns them.
        {"rle.tga", Tga(10, 24, 0, 2, "\001abcdef"), true, "abcdef"},
        {"rle-mirrored.tga", Tga(10, 24, 0x10, 2, "\001abcdef"), true, "defabc"},
        // 32 bits declaring no alpha bits: the fourth byte is not alpha.
        {"no-alpha.tga", Tga(2, 32, 0, 1, std::string("abc\0", 4)), true, "abc\xFF"},
        // Grey stored top row first; grey with alpha widens to BGRA.
        {"grey.tga", Tga(3, 8, 0x20, 2, "1234"), true, "3412"},
        {"grey-alpha.tga", Tga(3, 16, 0x08, 1, "a1b2"), true, "aaa1bbb2"},
        // 16 bits: 5 bits per colour, all set, is white.
        {"16-bit.tga", Tga(2, 16, 0, 1, "\xFF\x7F"), true, "\xFF\xFF\xFF"},
        // Told by content whatever the name; run-length TGA bytes under another name are nobody's.
        {"grey.texture", kPng, true, "\x80"},
        {"rle.bin", Tga(10, 24, 0, 2, "\001abcdef"), false, ""},
    };
    for (const auto& file : files)
    {
        SCOPED_TRACE(file.name);
        ScratchFile scratch(file.name, file.bytes);
        EXPECT_EQ(file.imgLoaderTakes, imgLoader->CanLoad(scratch.Name()));
        MarkImage(image);
        const std::string output =
            StandardOutputOf([&] { EXPECT_EQ(!file.pixels.empty(), image.Load(scratch.Text())); });
        if (file.pixels.empty())
        {
            ExpectMarked(image);
            continue;
        }
        EXPECT_EQ(file.pixels, PixelsOf(image));
        EXPECT_EQ(!file.imgLoaderTakes, output.find("DataSize in bytes") != std::string::npos);
    }
    // Clients that are no images are refused without a word; nothing is ever saved.
    ScratchFile png("client.png", kPng);
    QVModCollection meshes(0x4009, "Object Loader");
    for (QVModCollection* client : {&meshes, static_cast<QVModCollection*>(nullptr)})
    {
        EXPECT_EQ("", StandardOutputOf([&] { EXPECT_FALSE(imgLoader->Load(client, png.Name())); }));
        EXPECT_FALSE(imgLoader->Save(client, png.Name()));
    }
}

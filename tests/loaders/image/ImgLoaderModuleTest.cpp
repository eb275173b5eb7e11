// The real "qvimgloader.qvm" as hosts meet it: an image gathers it beside the TGA loader, each
// file goes to the one loader that reads it whatever order the image tries them in, and the TGA
// kinds only this loader reads arrive in the TGA loader's layout.
#include "loaders/QVLoaderModule.h"
#include "modules/QVModManager.h"

#include "ImageTestSupport.h"

#include <gtest/gtest.h>

namespace
{
QVLoaderModule* CollectedLoader(QVImage& image, const char* name)
{
    for (unsigned i = 0; i < image.GetLoaders().GetCount(); ++i)
        if (Narrow(image.GetLoaders().GetAt(i)->GetName()) == name)
            return static_cast<QVLoaderModule*>(image.GetLoaders().GetAt(i));
    return nullptr;
}

TgaSpec Tga(int type, int depth, int descriptor, int width, int height, const std::string& pixels)
{
    TgaSpec spec;
    spec.imageType = type;
    spec.depth = depth;
    spec.descriptor = descriptor;
    spec.width = width;
    spec.height = height;
    spec.pixels = pixels;
    return spec;
}

struct Answer
{
    const char* name;
    std::string bytes;
    bool imgLoaderTakes;
    std::string pixels;  // what the image holds after a host's Load; empty: not loaded
};

std::vector<Answer> Answers()
{
    const std::string png1x1 = std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x01\0\0\0\x01\x08"
                                           "\x00\x00\x00\x00\x3a\x7e\x9b\x55\0\0\0\x0aIDAT\x78\x9c"
                                           "\x63\x68\x00\x00\x00\x82\x00\x81\x77\xcd\x72\xb6\0\0\0"
                                           "\0IEND\xae\x42\x60\x82",
                                           67);
    return {
        // The TGA loader's kind stays with it, under any name the TGA loader takes.
        {"plain.tga", TgaBytes(Tga(2, 24, 0, 2, 1, "abcdef")), false, "abcdef"},
        {"plain.TGA", TgaBytes(Tga(2, 32, 8, 1, 1, "abcd")), false, "abcd"},
        // Run-length encoded: one raw packet of two pixels; right to left turns them.
        {"rle.tga",
         TgaBytes(Tga(10, 24, 0, 2, 1,
                      "\x01"
                      "abcdef")),
         true, "abcdef"},
        {"rle-mirrored.tga",
         TgaBytes(Tga(10, 24, 0x10, 2, 1,
                      "\x01"
                      "abcdef")),
         true, "defabc"},
        // 32 bits declaring no alpha bits: the fourth byte is not alpha.
        {"no-alpha.tga", TgaBytes(Tga(2, 32, 0, 1, 1, std::string("abc\0", 4))), true, "abc\xFF"},
        // Grey, stored top row first.
        {"grey.tga", TgaBytes(Tga(3, 8, 0x20, 2, 2, "1234")), true, "3412"},
        // 16 bits: 5 bits per colour, all set, is white.
        {"16-bit.tga", TgaBytes(Tga(2, 16, 0, 1, 1, "\xFF\x7F")), true, "\xFF\xFF\xFF"},
        // Told by content whatever the name; RLE TGA bytes under another name are nobody's.
        {"grey.texture", png1x1, true, "\x80"},
        {"rle.bin",
         TgaBytes(Tga(10, 24, 0, 2, 1,
                      "\x01"
                      "abcdef")),
         false, ""},
    };
}
}  // namespace

TEST(ImgLoaderModule, TheManagerLoadsItWithItsDescriptors)
{
    QVLoaderModule* loader =
        static_cast<QVLoaderModule*>(GetModManager().LoadModule("qvimgloader.qvm"));
    ASSERT_NE(nullptr, loader);
    EXPECT_EQ("Image loader", Narrow(loader->GetName()));
    EXPECT_EQ("Image Loader", Narrow(loader->GetType()));
    EXPECT_EQ("All", Narrow(loader->GetPlatform()));
    EXPECT_EQ("Png Jpeg Bmp Gif", Narrow(loader->GetDescription()));
    EXPECT_EQ("", Narrow(loader->GetFileName()));
}

TEST(ImgLoaderModule, EachFileGoesToTheOneLoaderThatReadsIt)
{
    QVImage image;
    QVLoaderModule* imgLoader = CollectedLoader(image, "Image loader");
    ASSERT_NE(nullptr, imgLoader);
    ASSERT_NE(nullptr, CollectedLoader(image, "TGA loader"));
    for (const Answer& answer : Answers())
    {
        SCOPED_TRACE(answer.name);
        ScratchFile file(answer.name, answer.bytes);
        EXPECT_EQ(answer.imgLoaderTakes, imgLoader->CanLoad(file.Name()));
        MarkImage(image);
        const std::string output =
            StandardOutputOf([&] { EXPECT_EQ(!answer.pixels.empty(), image.Load(file.Text())); });
        if (answer.pixels.empty())
        {
            ExpectMarked(image);
            continue;
        }
        EXPECT_EQ(answer.pixels, PixelsOf(image));
        // The TGA loader's files get its data-size line; the image loader adds nothing.
        const bool tgaLoaderRead = output.find("DataSize in bytes") != std::string::npos;
        EXPECT_EQ(!answer.imgLoaderTakes, tgaLoaderRead) << output;
    }
}

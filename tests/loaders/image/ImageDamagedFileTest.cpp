// Crafted files that lie about their size, stop short, or claim pictures far too large: each is
// refused with one message (or, when the loader does not recognise it, silently) and leaves the
// image as it was. Under the sanitizers this also shows that no table or buffer is overrun.
#include "ImageTestSupport.h"

#include <gtest/gtest.h>

namespace
{
std::string Be(unsigned v) { return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)}; }
std::string Le(unsigned v) { return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; }

// A PNG of that header (RGBA, 8 bits) and image data; the decoder checks no CRC.
std::string Png(unsigned width, unsigned height, const std::string& idat)
{
    return "\x89PNG\r\n\x1a\n" + Be(13) + "IHDR" + Be(width) + Be(height) +
           std::string("\x08\x06\0\0\0", 5) + Be(0) + Be(unsigned(idat.size())) + "IDAT" + idat +
           Be(0) + Be(0) + "IEND" + Be(0);
}

// A baseline JPEG's start: SOI and a three-component frame header of that size.
std::string Jpeg(unsigned width, unsigned height)
{
    return std::string("\xFF\xD8\xFF\xC0\0\x11\x08", 7) + Be(height << 16 | width) +
           std::string("\x03\x01\x11\0\x02\x11\0\x03\x11\0", 10);
}

// A Huffman table whose 16 code counts claim 255 symbols each: 4080 for a table of 256.
std::string JpegWithOversizedHuffmanTable()
{
    const int length = 2 + 17 + 16 * 255;
    return "\xFF\xD8\xFF\xC4" + std::string{char(length >> 8), char(length), '\x13'} +
           std::string(16, '\xFF') + std::string(16 * 255, '\x01') + "\xFF\xD9";
}

// A 24-bit bitmap of that size; a negative height stores rows top-down.
std::string Bmp(int width, int height, const std::string& pixels)
{
    return "BM" + Le(54 + unsigned(pixels.size())) + Le(0) + Le(54) + Le(40) + Le(unsigned(width)) +
           Le(unsigned(height)) + std::string("\x01\0\x18\0", 4) + std::string(24, '\0') + pixels;
}

TgaSpec Tga(int type, int depth, int side, const std::string& pixels)
{
    TgaSpec spec;
    spec.imageType = type;
    spec.depth = depth;
    spec.width = spec.height = side;
    spec.pixels = pixels;
    return spec;
}
}  // namespace

TEST(ImageDamagedFiles, AreRefusedAndLeaveTheImageAlone)
{
    TgaSpec palette = Tga(1, 12, 2, "");
    palette.colourMapType = 1;
    palette.colourMapLength = 2;
    const struct
    {
        const char* name;
        std::string bytes;
        bool recognised;  // then refused with a message, otherwise silently
    } files[] = {
        {"huge.png", Png(60000, 60000, std::string(16, '\0')), true},
        {"zero.png", Png(0, 4, ""), true},
        {"bad-stream.png", Png(2, 2, std::string("\x78\x9C\xFF\xFF\xFF\xFF", 6)), true},
        {"cut.png", Png(2, 2, "").substr(0, 20), true},
        {"empty-image-data.png", Png(2, 2, ""), true},
        // zlib headers that ask for a preset dictionary or name another method than deflate; a
        // stored block of the picture's 18 bytes that stops after 10.
        {"preset-dictionary.png", Png(2, 2, std::string("\x78\xBB\x01\x12\0\xED\xFF", 7)), true},
        {"not-deflate.png", Png(2, 2, std::string("\x79\x18\x01\x12\0\xED\xFF", 7)), true},
        {"stream-cut-short.png",
         Png(2, 2, std::string("\x78\x01\x01\x12\0\xED\xFF", 7) + std::string(10, '\0')), true},
        {"huge.jpg", Jpeg(60000, 60000), true},
        {"cut.jpg", "\xFF\xD8\xFF", true},
        {"huffman-overflow.jpg", JpegWithOversizedHuffmanTable(), true},
        {"huge.gif", std::string("GIF89a\xFF\xFF\xFF\xFF\0\0\0\x3B", 14), true},
        {"huge.bmp", Bmp(30000, -30000, "abc"), true},
        {"huge-rle.tga", TgaBytes(Tga(10, 32, 65535, "")), true},
        // A few bytes that would make the decoder fill a picture of tens of megabytes.
        {"short-rle.tga", TgaBytes(Tga(10, 24, 6168, std::string(64, '\x18'))), true},
        {"short-grey.tga", TgaBytes(Tga(3, 8, 4096, "abc")), true},
        {"short.bmp", Bmp(4096, 4096, "abc"), true},
        {"twelve-bit-index.tga", TgaBytes(palette), false},
        {"empty.png", "", false},
        {"text.png", "width=4\nheight=4\n", false},
        {"absent.png", "", false},
    };
    QVImage image;
    for (const auto& file : files)
    {
        SCOPED_TRACE(file.name);
        ScratchFile scratch(file.name, file.bytes);
        if (file.name == std::string("absent.png"))
            scratch.Remove();
        MarkImage(image);
        std::string output;
        EXPECT_FALSE(LoadWithImgLoader(image, scratch.Name(), &output));
        EXPECT_EQ(file.recognised ? "Image not decoded: " : "", output.substr(0, 19));
        EXPECT_EQ(file.recognised, QVImgLoader().CanLoad(scratch.Name()));
        ExpectMarked(image);
    }
}

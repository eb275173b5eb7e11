// Crafted files that lie about their size, stop short, or claim pictures far too large: each is
// refused with one message (or, when the loader does not recognise it, silently), leaves the
// image as it was, and allocates nothing of the claimed size.
#include "ImageTestSupport.h"

#include <gtest/gtest.h>

namespace
{
std::string BigEndian(unsigned value)
{
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
            static_cast<char>(value >> 8), static_cast<char>(value)};
}

std::string LittleEndian(unsigned value)
{
    return {static_cast<char>(value), static_cast<char>(value >> 8), static_cast<char>(value >> 16),
            static_cast<char>(value >> 24)};
}

// A PNG of the given header and no image data worth the name (the decoder checks no CRC).
std::string Png(unsigned width, unsigned height, const std::string& idat)
{
    const std::string ihdr = BigEndian(width) + BigEndian(height) + "\x08\x06\x00\x00\x00";
    std::string bytes = "\x89PNG\r\n\x1a\n";
    bytes += BigEndian(13) + "IHDR" + ihdr + BigEndian(0);
    if (!idat.empty())
        bytes += BigEndian(static_cast<unsigned>(idat.size())) + "IDAT" + idat + BigEndian(0);
    return bytes + BigEndian(0) + "IEND" + BigEndian(0);
}

// A baseline JPEG's start: SOI and a frame header of that size, three components.
std::string Jpeg(unsigned width, unsigned height)
{
    std::string bytes = "\xFF\xD8\xFF\xC0";
    bytes += std::string("\x00\x11\x08", 3);
    bytes += {static_cast<char>(height >> 8), static_cast<char>(height),
              static_cast<char>(width >> 8), static_cast<char>(width)};
    bytes += std::string("\x03\x01\x11\x00\x02\x11\x00\x03\x11\x00", 10);
    return bytes;
}

std::string Gif(unsigned width, unsigned height)
{
    std::string bytes = "GIF89a";
    bytes += {static_cast<char>(width), static_cast<char>(width >> 8), static_cast<char>(height),
              static_cast<char>(height >> 8)};
    return bytes + std::string("\x00\x00\x00\x3B", 4);
}

// A 24-bit bitmap header of that size; a negative height stores rows top-down.
std::string Bmp(int width, int height, const std::string& pixels)
{
    std::string bytes = "BM" + LittleEndian(54 + static_cast<unsigned>(pixels.size())) +
                        LittleEndian(0) + LittleEndian(54) + LittleEndian(40);
    bytes +=
        LittleEndian(static_cast<unsigned>(width)) + LittleEndian(static_cast<unsigned>(height));
    bytes += std::string("\x01\x00\x18\x00", 4) + std::string(24, '\0');
    return bytes + pixels;
}

struct Damaged
{
    const char* name;
    std::string bytes;
    const char* message;  // the start of what loading prints; empty: nothing
};

std::vector<Damaged> DamagedFiles()
{
    TgaSpec rleHuge;
    rleHuge.imageType = 10;
    rleHuge.width = rleHuge.height = 65535;
    rleHuge.depth = 32;
    rleHuge.descriptor = 8;
    TgaSpec paletteOfTwelveBits;
    paletteOfTwelveBits.imageType = 1;
    paletteOfTwelveBits.colourMapType = 1;
    paletteOfTwelveBits.colourMapLength = 2;
    paletteOfTwelveBits.depth = 12;
    return {
        {"huge.png", Png(60000, 60000, std::string(16, '\0')), "Image not decoded: "},
        {"wide.png", Png(1u << 31, 1, ""), "Image not decoded: "},
        {"zero.png", Png(0, 4, ""), "Image not decoded: "},
        {"bad-stream.png", Png(2, 2, std::string("\x78\x9C\xFF\xFF\xFF\xFF", 6)),
         "Image not decoded: "},
        {"no-data.png", Png(2, 2, ""), "Image not decoded: "},
        {"cut.png", Png(2, 2, "").substr(0, 20), "Image not decoded: "},
        {"huge.jpg", Jpeg(60000, 60000), "Image not decoded: "},
        {"large-no-scan.jpg", Jpeg(8000, 8000), "Image not decoded: "},
        {"zero.jpg", Jpeg(0, 16), "Image not decoded: "},
        {"cut.jpg", "\xFF\xD8\xFF", "Image not decoded: "},
        {"huge.gif", Gif(65535, 65535), "Image not decoded: "},
        {"no-frame.gif", Gif(4, 4), "Image not decoded: "},
        {"huge.bmp", Bmp(30000, -30000, "abc"), "Image not decoded: "},
        {"zero.bmp", Bmp(0, 0, ""), "Image not decoded: "},
        {"huge-rle.tga", TgaBytes(rleHuge), "Image not decoded: "},
        // Not recognised: nothing said, left to other loaders.
        {"twelve-bit-palette.tga", TgaBytes(paletteOfTwelveBits), ""},
        {"empty.png", "", ""},
        {"text.png", "width=4\nheight=4\n", ""},
        {"png-signature-only.tga", "\x89PNG", ""},
    };
}
}  // namespace

TEST(ImageDamagedFiles, AreRefusedAndLeaveTheImageAlone)
{
    QVImage image;
    for (const Damaged& file : DamagedFiles())
    {
        SCOPED_TRACE(file.name);
        ScratchFile scratch(file.name, file.bytes);
        MarkImage(image);
        std::string output;
        EXPECT_FALSE(LoadWithImgLoader(image, scratch.Name(), &output));
        EXPECT_EQ(file.message, output.substr(0, std::string(file.message).size()));
        EXPECT_EQ(std::string(file.message).empty(), output.empty()) << output;
        ExpectMarked(image);
    }
}

TEST(ImageDamagedFiles, MissingFilesAndOtherClientsAreRefusedSilently)
{
    QVImage image;
    MarkImage(image);
    std::string output;
    EXPECT_FALSE(LoadWithImgLoader(image, "loaders-test-absent.png", &output));
    EXPECT_FALSE(LoadWithImgLoader(image, "", &output));
    EXPECT_EQ("", output);
    ExpectMarked(image);
    EXPECT_FALSE(ImgLoader().CanLoad("loaders-test-absent.png"));

    ScratchFile png("client.png", Png(1, 1, ""));
    QVModCollection meshes(0x4009, "Object Loader");
    for (QVModCollection* client : {&meshes, static_cast<QVModCollection*>(nullptr)})
    {
        EXPECT_EQ("",
                  StandardOutputOf([&] { EXPECT_FALSE(ImgLoader().Load(client, png.Name())); }));
        EXPECT_FALSE(ImgLoader().Save(client, png.Name()));
    }
}

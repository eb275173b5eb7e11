#pragma once

#include "loaders/QVImage.h"

#include "../LoaderTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

// A TGA file as the tests write it, field by field (independently of the loader's own
// encoder). Defaults: an uncompressed true-colour 2 x 2 picture of 24 bits, bottom-left origin,
// no image ID, no colour map, with a TGA 2.0 footer.
struct TgaSpec
{
    int idLength = -1;  // -1: the length of imageId
    int colourMapType = 0;
    int imageType = 2;
    int colourMapLength = 0;
    int width = 2;
    int height = 2;
    int depth = 24;
    int descriptor = 0;
    std::string imageId;
    std::string pixels;  // as stored in the file
    std::string extra;   // between the pixels and the footer (an extension area, say)
    bool footer = true;  // the TGA 2.0 footer; false: none (a version 1 file)
};

inline void PutWord(std::string& bytes, int value)
{
    bytes += static_cast<char>(value & 0xFF);
    bytes += static_cast<char>((value >> 8) & 0xFF);
}

inline std::string TgaBytes(const TgaSpec& spec)
{
    std::string bytes;
    bytes += static_cast<char>(spec.idLength >= 0 ? spec.idLength
                                                  : static_cast<int>(spec.imageId.size()));
    bytes += static_cast<char>(spec.colourMapType);
    bytes += static_cast<char>(spec.imageType);
    PutWord(bytes, 0);                     // first colour map entry
    PutWord(bytes, spec.colourMapLength);  // colour map length
    bytes += static_cast<char>(spec.colourMapLength != 0 ? 24 : 0);
    PutWord(bytes, 0);  // x origin
    PutWord(bytes, 0);  // y origin
    PutWord(bytes, spec.width);
    PutWord(bytes, spec.height);
    bytes += static_cast<char>(spec.depth);
    bytes += static_cast<char>(spec.descriptor);
    bytes += spec.imageId + spec.pixels + spec.extra;
    if (spec.footer)
    {
        bytes += std::string(8, '\0') + "TRUEVISION-XFILE" + '.' + '\0';
    }
    return bytes;
}

// A picture held as the image holds it: rows bottom-up, left to right, bytes per pixel in
// file order. Every byte differs from its neighbours, so a misplaced row, pixel or byte shows.
struct Picture
{
    int width;
    int height;
    int bytesPerPixel;
    std::string bytes;

    Picture(int w, int h, int b) : width(w), height(h), bytesPerPixel(b)
    {
        for (int i = 0; i < w * h * b; ++i)
        {
            bytes += static_cast<char>((i * 7 + 3) & 0xFF);
        }
    }

    // The picture stored from an origin (0 bottom-left, 1 bottom-right, 2 top-left, 3
    // top-right): stored row s and column t hold the picture's pixel at row (from the bottom)
    // s or height - 1 - s and column t or width - 1 - t.
    std::string StoredFrom(int origin) const
    {
        std::string stored;
        for (int s = 0; s < height; ++s)
        {
            const int row = (origin & 2) != 0 ? height - 1 - s : s;
            for (int t = 0; t < width; ++t)
            {
                const int column = (origin & 1) != 0 ? width - 1 - t : t;
                stored +=
                    bytes.substr((static_cast<std::size_t>(row) * width + column) * bytesPerPixel,
                                 bytesPerPixel);
            }
        }
        return stored;
    }
};

inline std::string PixelsOf(const QVImage& image)
{
    if (image.GetPixels() == nullptr)
    {
        return std::string();
    }
    return std::string(reinterpret_cast<const char*>(image.GetPixels()),
                       static_cast<std::size_t>(image.GetByteSize()));
}

// Gives the image a recognisable state (1 x 1, 8 bits, one byte 0x5A), to tell that a refused
// load left it alone.
inline void MarkImage(QVImage& image)
{
    ASSERT_TRUE(image.SetSize(1, 1, 8));
    image.GetPixels()[0] = 0x5A;
}

inline void ExpectMarked(const QVImage& image)
{
    EXPECT_EQ(1, image.GetWidth());
    EXPECT_EQ(1, image.GetHeight());
    EXPECT_EQ(8, image.GetBitsPerPixel());
    EXPECT_EQ(std::string("\x5A"), PixelsOf(image));
}

// What the code run by call printed on standard output.
template <typename Call>
std::string StandardOutputOf(Call call)
{
    testing::internal::CaptureStdout();
    call();
    return testing::internal::GetCapturedStdout();
}

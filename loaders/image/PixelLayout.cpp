#include "loaders/image/PixelLayout.h"

#include <cstddef>
#include <cstring>

namespace img
{
namespace
{
// One row, pixel by pixel, with the channel count fixed at compile time so that the loop is
// a plain shuffle the compiler can vectorise.
template <int In>
void StoreRow(const std::uint8_t* source, std::uint8_t* pixel, std::size_t width)
{
    for (std::size_t column = 0; column < width; ++column, source += In)
    {
        if constexpr (In == 2)
        {
            pixel[0] = pixel[1] = pixel[2] = source[0];
            pixel[3] = source[1];
            pixel += 4;
        }
        else
        {
            pixel[0] = source[2];
            pixel[1] = source[1];
            pixel[2] = source[0];
            if constexpr (In == 4)
                pixel[3] = source[3];
            pixel += In;
        }
    }
}

void StoreRow(int in, const std::uint8_t* source, std::uint8_t* pixel, std::size_t width)
{
    switch (in)
    {
    case 1:
        std::memcpy(pixel, source, width);
        break;
    case 2:
        StoreRow<2>(source, pixel, width);
        break;
    case 3:
        StoreRow<3>(source, pixel, width);
        break;
    default:
        StoreRow<4>(source, pixel, width);
        break;
    }
}

// Turns a row of pixels of that size end for end.
void MirrorRow(std::uint8_t* row, std::size_t width, int bytes)
{
    for (std::size_t left = 0, right = width - 1; left < right; ++left, --right)
    {
        for (int b = 0; b < bytes; ++b)
        {
            const std::uint8_t kept = row[left * bytes + b];
            row[left * bytes + b] = row[right * bytes + b];
            row[right * bytes + b] = kept;
        }
    }
}
}  // namespace

int BitsPerPixelFor(int channels) { return channels == 1 ? 8 : channels == 3 ? 24 : 32; }

void StoreBottomUp(const DecodedPixels& decoded, LayoutOptions options, std::uint8_t* target)
{
    const int in = decoded.channels;
    const int out = BitsPerPixelFor(in) / 8;
    const std::size_t width = static_cast<std::size_t>(decoded.width);
    const std::size_t height = static_cast<std::size_t>(decoded.height);
    for (std::size_t row = 0; row < height; ++row)
    {
        std::uint8_t* pixels = target + row * width * out;
        StoreRow(in, decoded.samples.get() + (height - 1 - row) * width * in, pixels, width);
        if (options.mirrored)
            MirrorRow(pixels, width, out);
        if (options.opaque && out == 4)
        {
            for (std::size_t column = 0; column < width; ++column)
                pixels[column * 4 + 3] = 0xFF;
        }
    }
}
}  // namespace img

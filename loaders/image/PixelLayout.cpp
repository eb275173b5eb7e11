#include "loaders/image/PixelLayout.h"

#include <cstddef>

namespace img
{
int BitsPerPixelFor(int channels) { return channels == 1 ? 8 : channels == 3 ? 24 : 32; }

void StoreBottomUp(const DecodedPixels& decoded, LayoutOptions options, std::uint8_t* target)
{
    const int in = decoded.channels;
    const int out = BitsPerPixelFor(in) / 8;
    const std::size_t width = static_cast<std::size_t>(decoded.width);
    const std::size_t height = static_cast<std::size_t>(decoded.height);
    for (std::size_t row = 0; row < height; ++row)
    {
        const std::uint8_t* source = decoded.samples.get() + (height - 1 - row) * width * in;
        std::uint8_t* pixel = target + row * width * out;
        for (std::size_t column = 0; column < width; ++column, pixel += out)
        {
            const std::size_t from = options.mirrored ? width - 1 - column : column;
            const std::uint8_t* s = source + from * in;
            switch (in)
            {
            case 1:
                pixel[0] = s[0];
                break;
            case 2:
                pixel[0] = pixel[1] = pixel[2] = s[0];
                pixel[3] = s[1];
                break;
            default:
                pixel[0] = s[2];
                pixel[1] = s[1];
                pixel[2] = s[0];
                if (in == 4)
                    pixel[3] = s[3];
                break;
            }
            if (options.opaque && out == 4)
                pixel[3] = 0xFF;
        }
    }
}
}  // namespace img

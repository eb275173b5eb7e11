#include "loaders/tga/TgaRowOrder.h"

#include "loaders/tga/TgaFormat.h"

#include <cstddef>
#include <cstring>

namespace tga
{
namespace
{
// One row reversed pixel by pixel; the pixel size is a constant, so each copy is a move of a
// register or two.
template <int Bytes>
void MirrorRow(const std::uint8_t* in, std::uint8_t* out, int width)
{
    const std::uint8_t* from = in + static_cast<std::size_t>(width - 1) * Bytes;
    for (int c = 0; c < width; ++c, from -= Bytes, out += Bytes)
    {
        std::memcpy(out, from, Bytes);
    }
}

void MirrorRow(const std::uint8_t* in, std::uint8_t* out, int width, int bytesPerPixel)
{
    switch (bytesPerPixel)
    {
    case 1:
        MirrorRow<1>(in, out, width);
        break;
    case 3:
        MirrorRow<3>(in, out, width);
        break;
    case 4:
        MirrorRow<4>(in, out, width);
        break;
    default:
        for (int c = 0; c < width; ++c)
        {
            std::memcpy(out + static_cast<std::size_t>(c) * bytesPerPixel,
                        in + static_cast<std::size_t>(width - 1 - c) * bytesPerPixel,
                        static_cast<std::size_t>(bytesPerPixel));
        }
        break;
    }
}
}  // namespace

void CopyRowsBottomUp(const std::uint8_t* in, std::uint8_t* out, int width, int height,
                      int bytesPerPixel, int origin)
{
    const std::size_t rowBytes = static_cast<std::size_t>(width) * bytesPerPixel;
    const bool mirrored = (origin & kOriginRight) != 0;
    const bool topDown = (origin & kOriginTop) != 0;
    if (!mirrored && !topDown)
    {
        std::memcpy(out, in, rowBytes * static_cast<std::size_t>(height));
        return;
    }
    for (int r = 0; r < height; ++r)
    {
        const std::uint8_t* from =
            in + rowBytes * static_cast<std::size_t>(topDown ? height - 1 - r : r);
        std::uint8_t* to = out + rowBytes * static_cast<std::size_t>(r);
        if (mirrored)
        {
            MirrorRow(from, to, width, bytesPerPixel);
        }
        else
        {
            std::memcpy(to, from, rowBytes);
        }
    }
}
}  // namespace tga

#include "gl/webgl/PixelConversion.h"

#include <cstddef>

namespace
{
struct Rgba
{
    std::uint8_t c[4];
};

std::size_t RowBytes(int width, int bytesPerPixel, int alignment)
{
    const std::size_t tight = static_cast<std::size_t>(width) * bytesPerPixel;
    const std::size_t a = alignment > 0 ? static_cast<std::size_t>(alignment) : 1;
    return (tight + a - 1) / a * a;
}

Rgba ToRgba(const std::uint8_t* p, GLenum format)
{
    switch (format)
    {
    case GL_RGB:
        return {{p[0], p[1], p[2], 255}};
    case GL_BGR:
        return {{p[2], p[1], p[0], 255}};
    case GL_RGBA:
        return {{p[0], p[1], p[2], p[3]}};
    case GL_BGRA:
        return {{p[2], p[1], p[0], p[3]}};
    case GL_LUMINANCE:
        return {{p[0], p[0], p[0], 255}};
    case GL_LUMINANCE_ALPHA:
        return {{p[0], p[0], p[0], p[1]}};
    case GL_ALPHA:
        return {{0, 0, 0, p[0]}};
    case GL_RED:
        return {{p[0], 0, 0, 255}};
    case GL_GREEN:
        return {{0, p[0], 0, 255}};
    default:  // GL_BLUE
        return {{0, 0, p[0], 255}};
    }
}

// Appends the pixel in format; returns the bytes written.
void FromRgba(const Rgba& v, GLenum format, std::uint8_t* out)
{
    switch (format)
    {
    case GL_RGB:
        out[0] = v.c[0], out[1] = v.c[1], out[2] = v.c[2];
        break;
    case GL_BGR:
        out[0] = v.c[2], out[1] = v.c[1], out[2] = v.c[0];
        break;
    case GL_RGBA:
        out[0] = v.c[0], out[1] = v.c[1], out[2] = v.c[2], out[3] = v.c[3];
        break;
    case GL_BGRA:
        out[0] = v.c[2], out[1] = v.c[1], out[2] = v.c[0], out[3] = v.c[3];
        break;
    case GL_LUMINANCE:
    case GL_RED:
        out[0] = v.c[0];
        break;
    case GL_LUMINANCE_ALPHA:
        out[0] = v.c[0], out[1] = v.c[3];
        break;
    case GL_ALPHA:
        out[0] = v.c[3];
        break;
    case GL_GREEN:
        out[0] = v.c[1];
        break;
    default:  // GL_BLUE
        out[0] = v.c[2];
        break;
    }
}
}  // namespace

int BytesPerPixel(GLenum format)
{
    switch (format)
    {
    case GL_RGB:
    case GL_BGR:
        return 3;
    case GL_RGBA:
    case GL_BGRA:
        return 4;
    case GL_LUMINANCE_ALPHA:
        return 2;
    case GL_LUMINANCE:
    case GL_ALPHA:
    case GL_RED:
    case GL_GREEN:
    case GL_BLUE:
        return 1;
    default:
        return 0;
    }
}

GLenum BaseFormatOf(GLint internalFormat)
{
    switch (internalFormat)
    {
    case 1:
    case GL_LUMINANCE:
    case GL_LUMINANCE8:
        return GL_LUMINANCE;
    case 2:
    case GL_LUMINANCE_ALPHA:
    case GL_LUMINANCE8_ALPHA8:
        return GL_LUMINANCE_ALPHA;
    case 3:
    case GL_RGB:
    case GL_RGB8:
        return GL_RGB;
    case 4:
    case GL_RGBA:
    case GL_RGBA8:
        return GL_RGBA;
    case GL_ALPHA:
    case GL_ALPHA8:
        return GL_ALPHA;
    default:
        return 0;
    }
}

Pixels ConvertPixels(const void* data, int width, int height, GLenum format, int alignment,
                     GLenum baseFormat)
{
    const int inBytes = BytesPerPixel(format);
    const int outBytes = BytesPerPixel(baseFormat);
    if (data == nullptr || inBytes == 0 || outBytes == 0 || width <= 0 || height <= 0)
    {
        return {};
    }
    const std::size_t inRow = RowBytes(width, inBytes, alignment);
    Pixels out(static_cast<std::size_t>(width) * height * outBytes);
    const std::uint8_t* in = static_cast<const std::uint8_t*>(data);
    std::uint8_t* to = out.data();
    for (int y = 0; y < height; ++y)
    {
        const std::uint8_t* row = in + y * inRow;
        for (int x = 0; x < width; ++x, to += outBytes)
        {
            FromRgba(ToRgba(row + x * inBytes, format), baseFormat, to);
        }
    }
    return out;
}

bool PackPixels(const std::uint8_t* rgba, int width, int height, GLenum format, int alignment,
                void* out)
{
    const int outBytes = BytesPerPixel(format);
    if (outBytes == 0)
    {
        return false;
    }
    const std::size_t outRow = RowBytes(width, outBytes, alignment);
    std::uint8_t* to = static_cast<std::uint8_t*>(out);
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            const std::uint8_t* p = rgba + (static_cast<std::size_t>(y) * width + x) * 4;
            FromRgba({{p[0], p[1], p[2], p[3]}}, format, to + y * outRow + x * outBytes);
        }
    }
    return true;
}

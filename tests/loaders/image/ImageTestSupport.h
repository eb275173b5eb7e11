#pragma once

#include "loaders/QVImage.h"
#include "loaders/image/QVImgLoader.h"

#include "../tga/TgaTestSupport.h"

#include <string>

// The loader's class, driven in-process as a host's image would drive the module.
inline QVImgLoader& ImgLoader()
{
    static QVImgLoader loader;
    return loader;
}

// Loads the file into the image through the loader; what it printed goes to output.
inline bool LoadWithImgLoader(QVImage& image, const std::string& name,
                              std::string* output = nullptr)
{
    bool loaded = false;
    const std::string printed = StandardOutputOf(
        [&] { loaded = ImgLoader().Load(&image.GetLoaders(), QVString(name.c_str())); });
    if (output != nullptr)
        *output = printed;
    return loaded;
}

// The image's pixels as red, green, blue, alpha, top row first: the reference decoder's layout.
inline std::string TopDownRgba(const QVImage& image)
{
    const int bytes = image.GetBitsPerPixel() / 8;
    const std::size_t rowBytes = static_cast<std::size_t>(image.GetWidth()) * bytes;
    std::string out;
    for (int row = image.GetHeight() - 1; row >= 0; --row)
    {
        const unsigned char* p = image.GetPixels() + rowBytes * row;
        for (int column = 0; column < image.GetWidth(); ++column, p += bytes)
        {
            const bool grey = bytes == 1;
            out += static_cast<char>(grey ? p[0] : p[2]);
            out += static_cast<char>(grey ? p[0] : p[1]);
            out += static_cast<char>(p[0]);
            out += static_cast<char>(bytes == 4 ? p[3] : 0xFF);
        }
    }
    return out;
}

#pragma once

#include "loaders/QVImage.h"
#include "loaders/image/QVImgLoader.h"

#include "../tga/TgaTestSupport.h"

#include <string>

// Loads the file into the image through the loader's class, as a host's image drives the module;
// what it printed goes to output.
inline bool LoadWithImgLoader(QVImage& image, const std::string& name,
                              std::string* output = nullptr)
{
    static QVImgLoader loader;
    bool loaded = false;
    const std::string printed = StandardOutputOf(
        [&] { loaded = loader.Load(&image.GetLoaders(), QVString(name.c_str())); });
    if (output != nullptr)
        *output = printed;
    return loaded;
}

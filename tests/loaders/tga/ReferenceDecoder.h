#pragma once

#include <string>

// An independent TGA decoder to compare the loader with: ImageMagick's convert, run as
// `convert FILE -auto-orient rgb:-` (rgba:- with alpha). Its result is the picture top row
// first, left to right, red, green, blue (and alpha) per pixel.
namespace reference_decoder
{
// Empty when it can be used; otherwise why not (tests skip with that text).
std::string Unavailable();

// The decoded bytes; false when convert failed.
bool Decode(const std::string& fileName, bool alpha, std::string& pixels);
}  // namespace reference_decoder

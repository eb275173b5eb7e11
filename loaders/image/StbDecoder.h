#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// The one door to stb_image: decodes a whole file held in memory (PNG, JPEG, BMP, GIF's first
// frame, TGA) into 8-bit samples. Every size is checked before anything of that size is
// allocated, and no block the decoder asks for may exceed kLargestBlockBytes, so a header that
// lies about its size or a compressed stream that inflates without end costs no memory.
namespace img
{
// Largest picture decoded, in bytes of its samples at its own channel count (8192 x 8192 RGBA).
const std::uint64_t kLargestImageBytes = std::uint64_t(256) << 20;
// Largest side either way; the decoder refuses longer ones from the header alone.
const int kLargestSide = 32768;
// Largest single block the decoder may ask for: 16-bit PNG samples of the largest picture.
const std::size_t kLargestBlockBytes = std::size_t(512) << 20;

struct FreeSamples
{
    void operator()(std::uint8_t* samples) const;
};

// A decoded picture: top row first, left to right; per pixel 1 (grey), 2 (grey, alpha), 3 (red,
// green, blue) or 4 (red, green, blue, alpha) bytes. 16-bit files are rounded to 8 bits.
struct DecodedPixels
{
    int width = 0;
    int height = 0;
    int channels = 0;
    std::unique_ptr<std::uint8_t[], FreeSamples> samples;
};

// Decodes the file's bytes. False, with why in reason (a short English text), for data the
// decoder does not read, damaged data, or a picture larger than the limits above.
bool DecodeImage(const std::uint8_t* data, std::size_t size, DecodedPixels& out,
                 std::string& reason);
}  // namespace img

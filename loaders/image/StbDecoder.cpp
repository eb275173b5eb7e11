#include "loaders/image/StbDecoder.h"

#include <cstdlib>

namespace
{
// Every block stb_image asks for goes through these: none above the limit, and fresh blocks
// zeroed, so that pixels a damaged file never sets read as black, not as old heap contents.
void* GuardedAlloc(std::size_t size)
{
    return size == 0 || size > img::kLargestBlockBytes ? nullptr : std::calloc(1, size);
}

void* GuardedRealloc(void* block, std::size_t size)
{
    return size == 0 || size > img::kLargestBlockBytes ? nullptr : std::realloc(block, size);
}
}  // namespace

// Only the formats the loader hands over; the others (HDR, PSD, PIC, PNM) are not compiled in.
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_ONLY_GIF
#define STBI_ONLY_TGA
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_FAILURE_USERMSG
#define STBI_MAX_DIMENSIONS 32768
// No thread-local failure text: a module with thread-local storage that is loaded and unloaded
// crashes the leak checker's walk of the threads at exit. The loader reads the text right after
// the call that set it.
#define STBI_NO_THREAD_LOCALS
#define STBI_MALLOC(size) GuardedAlloc(size)
#define STBI_REALLOC(block, size) GuardedRealloc(block, size)
#define STBI_FREE(block) std::free(block)
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#endif
#include <stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

static_assert(STBI_MAX_DIMENSIONS == img::kLargestSide, "one limit for the header and the code");

namespace img
{
void FreeSamples::operator()(std::uint8_t* samples) const { stbi_image_free(samples); }

namespace
{
// 16-bit samples to 8 bits, rounded to the nearest (v / 257), in place: sample i is written at
// byte i, never ahead of the 16-bit samples still to be read.
void RoundTo8Bits(stbi_us* samples, std::size_t count)
{
    std::uint8_t* out = reinterpret_cast<std::uint8_t*>(samples);
    for (std::size_t i = 0; i < count; ++i)
        out[i] = static_cast<std::uint8_t>((samples[i] * 255u + 32767u) / 65535u);
}
}  // namespace

bool DecodeImage(const std::uint8_t* data, std::size_t size, DecodedPixels& out,
                 std::string& reason)
{
    // stb_image takes an int size; files that large are refused before this point anyway.
    if (size == 0 || size > static_cast<std::size_t>(0x7FFFFFFF))
    {
        reason = "empty or too large a file";
        return false;
    }
    const int length = static_cast<int>(size);
    int width = 0;
    int height = 0;
    int channels = 0;
    if (!stbi_info_from_memory(data, length, &width, &height, &channels))
    {
        reason = stbi_failure_reason();
        return false;
    }
    if (width <= 0 || height <= 0 || width > kLargestSide || height > kLargestSide ||
        static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * 4u >
            kLargestImageBytes)
    {
        reason = "picture of " + std::to_string(width) + "x" + std::to_string(height) +
                 " pixels too large";
        return false;
    }
    int gotWidth = 0;
    int gotHeight = 0;
    int gotChannels = 0;
    std::uint8_t* samples = nullptr;
    if (stbi_is_16_bit_from_memory(data, length))
    {
        stbi_us* wide =
            stbi_load_16_from_memory(data, length, &gotWidth, &gotHeight, &gotChannels, 0);
        if (wide != nullptr)
        {
            RoundTo8Bits(wide, static_cast<std::size_t>(gotWidth) * gotHeight * gotChannels);
            samples = reinterpret_cast<std::uint8_t*>(wide);
        }
    }
    else
    {
        samples = stbi_load_from_memory(data, length, &gotWidth, &gotHeight, &gotChannels, 0);
    }
    if (samples == nullptr)
    {
        reason = stbi_failure_reason() != nullptr ? stbi_failure_reason() : "not decoded";
        return false;
    }
    out.samples.reset(samples);
    // The decode read the header again: it cannot disagree with the checked one, but the
    // caller's arithmetic relies on it, so it is checked rather than assumed.
    if (gotWidth != width || gotHeight != height || gotChannels < 1 || gotChannels > 4)
    {
        out.samples.reset();
        reason = "the picture's header changed while decoding";
        return false;
    }
    out.width = gotWidth;
    out.height = gotHeight;
    out.channels = gotChannels;
    return true;
}
}  // namespace img

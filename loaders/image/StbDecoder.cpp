#include "loaders/image/StbDecoder.h"

#include <algorithm>
#include <cstdlib>
#include <zlib.h>

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
// PNG's compressed data is inflated by zlib (below), not by stb_image's own inflater.
#define STBI_NO_ZLIB
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

// stb_image's PNG reader calls this for the image's compressed data (the IDAT chunks joined):
// with STBI_NO_ZLIB it is ours to define. zlib inflates the same bytes out in about half the
// time. What stb_image's own inflater refuses is refused here too, with the same texts: a zlib
// header that fails its check, asks for a preset dictionary or names another method, a damaged
// or unfinished stream. Like it, the check value after the stream is not read. The output
// starts at the size the reader expects and doubles when a stream holds more, within the same
// block limit as every other allocation.
STBIDEF char* stbi_zlib_decode_malloc_guesssize_headerflag(const char* buffer, int len,
                                                           int initial_size, int* outlen,
                                                           int parse_header)
{
    const Bytef* in = reinterpret_cast<const Bytef*>(buffer);
    std::size_t left = len > 0 ? static_cast<std::size_t>(len) : 0;
    if (parse_header)
    {
        const char* refusal = left < 2 || (in[0] * 256 + in[1]) % 31 != 0 ? "bad zlib header"
                              : (in[1] & 32) != 0                         ? "no preset dict"
                              : (in[0] & 15) != 8                         ? "bad compression"
                                                                          : nullptr;
        if (refusal != nullptr)
        {
            stbi__err(refusal, "Corrupt PNG");
            return nullptr;
        }
        in += 2;
        left -= 2;
    }
    // One byte more than expected: a stream of just the expected size then ends without the
    // output growing first.
    std::size_t capacity = initial_size > 0 ? static_cast<std::size_t>(initial_size) + 1 : 16384;
    char* out = static_cast<char*>(STBI_MALLOC(capacity));
    z_stream stream{};
    if (out == nullptr || inflateInit2(&stream, -MAX_WBITS) != Z_OK)
    {
        STBI_FREE(out);
        stbi__err("outofmem", "Out of memory");
        return nullptr;
    }
    // zlib counts in 32 bits: input and output are handed over in slices.
    const std::size_t slice = std::size_t(1) << 30;
    std::size_t produced = 0;
    const char* failure = nullptr;
    for (;;)
    {
        if (stream.avail_in == 0 && left > 0)
        {
            stream.next_in = const_cast<Bytef*>(in);
            stream.avail_in = static_cast<uInt>(std::min(left, slice));
            in += stream.avail_in;
            left -= stream.avail_in;
        }
        if (produced == capacity)
        {
            void* larger =
                capacity <= img::kLargestBlockBytes / 2 ? STBI_REALLOC(out, capacity * 2) : nullptr;
            if (larger == nullptr)
            {
                failure = "outofmem";
                break;
            }
            out = static_cast<char*>(larger);
            capacity *= 2;
        }
        const uInt room = static_cast<uInt>(std::min(capacity - produced, slice));
        stream.next_out = reinterpret_cast<Bytef*>(out + produced);
        stream.avail_out = room;
        const int status = inflate(&stream, Z_NO_FLUSH);
        produced += room - stream.avail_out;
        if (status == Z_STREAM_END)
            break;
        // An unfinished stream: no input left, and room it did not fill.
        if ((status != Z_OK && status != Z_BUF_ERROR) ||
            (stream.avail_in == 0 && left == 0 && stream.avail_out > 0))
        {
            failure = "bad zlib data";
            break;
        }
    }
    inflateEnd(&stream);
    if (failure != nullptr)
    {
        STBI_FREE(out);
        stbi__err(failure, failure[0] == 'o' ? "Out of memory" : "Corrupt PNG");
        return nullptr;
    }
    if (outlen != nullptr)
        *outlen = static_cast<int>(produced);
    return out;
}

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

// The TGA loader on arbitrary bytes. Each input is written to a real file and loaded through the
// loader into an image, exactly as a host's Load does. Beyond not crashing, the result must hold
// what the loader promises:
// - a refused file leaves the image as it was;
// - a loaded image has a size the format allows, and every pixel is the stored pixel its origin
//   puts there (checked against the input bytes directly);
// - saving the image and loading the file back gives the same size and pixels.
#include "loaders/QVImage.h"
#include "loaders/tga/QVTgaLoader.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{
const char kInput[] = "fuzz-input.tga";
const char kSaved[] = "fuzz-saved.tga";
const std::uint8_t kMark = 0x5A;

void Check(bool condition, const char* what)
{
    if (!condition)
    {
        std::fprintf(stderr, "TGA loader invariant broken: %s\n", what);
        std::abort();
    }
}

int Word(const std::uint8_t* at) { return at[0] | (at[1] << 8); }

// Whether the image holds the input's pixels, reading the input as the format describes.
bool HoldsStoredPixels(const QVImage& image, const std::uint8_t* data, std::size_t size)
{
    const int width = Word(data + 12);
    const int height = Word(data + 14);
    const int bytes = data[16] / 8;
    const bool right = (data[17] & 0x10) != 0;
    const bool top = (data[17] & 0x20) != 0;
    const std::size_t start = 18 + static_cast<std::size_t>(data[0]);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * bytes;
    if (image.GetWidth() != width || image.GetHeight() != height ||
        image.GetBitsPerPixel() != data[16] ||
        static_cast<std::size_t>(image.GetByteSize()) != rowBytes * height ||
        start + rowBytes * height > size)
    {
        return false;
    }
    for (int row = 0; row < height; ++row)
    {
        for (int column = 0; column < width; ++column)
        {
            const int storedRow = top ? height - 1 - row : row;
            const int storedColumn = right ? width - 1 - column : column;
            const std::uint8_t* stored = data + start + rowBytes * storedRow +
                                         static_cast<std::size_t>(storedColumn) * bytes;
            const std::uint8_t* held =
                image.GetPixels() + rowBytes * row + static_cast<std::size_t>(column) * bytes;
            if (std::memcmp(stored, held, static_cast<std::size_t>(bytes)) != 0)
            {
                return false;
            }
        }
    }
    return true;
}

bool SameImage(const QVImage& a, const QVImage& b)
{
    return a.GetWidth() == b.GetWidth() && a.GetHeight() == b.GetHeight() &&
           a.GetBitsPerPixel() == b.GetBitsPerPixel() && a.GetByteSize() == b.GetByteSize() &&
           std::memcmp(a.GetPixels(), b.GetPixels(), static_cast<std::size_t>(a.GetByteSize())) ==
               0;
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The loader's messages are diagnostics for people; thousands a second help nobody.
    if (std::freopen("/dev/null", "w", stdout) == nullptr)
    {
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // One image of each for every input: an image scans for its loader modules when it is made.
    static QVImage image;
    static QVImage reloaded;
    static QVTgaLoader loader;

    std::FILE* out = std::fopen(kInput, "wb");
    if (out == nullptr || (size > 0 && std::fwrite(data, 1, size, out) != size) ||
        std::fclose(out) != 0)
    {
        std::abort();
    }

    Check(image.SetSize(1, 1, 8), "a one-pixel image can be made");
    image.GetPixels()[0] = kMark;
    if (!loader.Load(&image.GetLoaders(), kInput))
    {
        Check(image.GetWidth() == 1 && image.GetHeight() == 1 && image.GetBitsPerPixel() == 8 &&
                  image.GetPixels()[0] == kMark,
              "a refused file leaves the image alone");
        return 0;
    }
    Check(size >= 26, "files shorter than the footer are refused");
    Check(HoldsStoredPixels(image, data, size), "every pixel comes from where its origin puts it");

    Check(loader.Save(&image.GetLoaders(), kSaved), "a loaded image can be saved");
    Check(loader.Load(&reloaded.GetLoaders(), kSaved), "the saved file loads");
    Check(SameImage(image, reloaded), "saving and loading gives back the same pixels");
    return 0;
}

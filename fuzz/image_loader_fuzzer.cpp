// The image loader on arbitrary bytes. Each input is written to a real file, under a .tga name
// and under another, and loaded through the loader into an image, exactly as a host's Load does.
// Beyond not crashing (under the sanitizers), the result must hold what the loader promises:
// - a refused file leaves the image as it was;
// - a loaded image has a size within the decoder's limits, one of the TGA loader's depths, and
//   exactly the bytes that size needs;
// - a file the loader does not recognise is refused without a word.
#include "loaders/QVImage.h"
#include "loaders/image/QVImgLoader.h"
#include "loaders/image/StbDecoder.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace
{
const std::uint8_t kMark = 0x5A;

void Check(bool condition, const char* what)
{
    if (!condition)
    {
        std::fprintf(stderr, "image loader invariant broken: %s\n", what);
        std::abort();
    }
}

void LoadAs(const char* name, const std::uint8_t* data, std::size_t size)
{
    static QVImage image;
    static QVImgLoader loader;
    std::FILE* out = std::fopen(name, "wb");
    if (out == nullptr || (size > 0 && std::fwrite(data, 1, size, out) != size) ||
        std::fclose(out) != 0)
        std::abort();

    Check(image.SetSize(1, 1, 8), "a one-pixel image can be made");
    image.GetPixels()[0] = kMark;
    const bool recognised = loader.CanLoad(name);
    if (!loader.Load(&image.GetLoaders(), name))
    {
        Check(image.GetWidth() == 1 && image.GetHeight() == 1 && image.GetBitsPerPixel() == 8 &&
                  image.GetPixels()[0] == kMark,
              "a refused file leaves the image alone");
        return;
    }
    Check(recognised, "only recognised files load");
    const int depth = image.GetBitsPerPixel();
    Check(depth == 8 || depth == 24 || depth == 32, "a depth of the TGA loader's layout");
    Check(image.GetWidth() > 0 && image.GetHeight() > 0 && image.GetWidth() <= img::kLargestSide &&
              image.GetHeight() <= img::kLargestSide,
          "a size within the limits");
    const std::int64_t bytes =
        static_cast<std::int64_t>(image.GetWidth()) * image.GetHeight() * (depth / 8);
    Check(bytes == image.GetByteSize(), "exactly the bytes the size needs");
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The loader's messages are diagnostics for people; thousands a second help nobody.
    if (std::freopen("/dev/null", "w", stdout) == nullptr)
        std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    LoadAs("fuzz-input.tga", data, size);
    LoadAs("fuzz-input.img", data, size);
    return 0;
}

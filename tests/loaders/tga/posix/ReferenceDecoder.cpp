// ImageMagick's convert, started through the shell.
#include "../ReferenceDecoder.h"

#include <cstdio>
#include <cstdlib>

namespace reference_decoder
{
std::string Unavailable()
{
    if (std::system("command -v convert >/dev/null 2>&1") != 0)
    {
        return "ImageMagick's convert is not installed";
    }
    return std::string();
}

bool Decode(const std::string& fileName, bool alpha, std::string& pixels)
{
    // The names are the tests' own or the sample folder's: no quote characters.
    const std::string command = "convert '" + fileName +
                                "' -set colorspace sRGB -auto-orient -depth 8 " +
                                (alpha ? "rgba:-" : "rgb:-") + " 2>/dev/null";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
    {
        return false;
    }
    pixels.clear();
    char chunk[65536];
    for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;)
    {
        pixels.append(chunk, got);
    }
    return pclose(pipe) == 0;
}
}  // namespace reference_decoder

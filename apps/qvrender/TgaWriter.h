#ifndef QV_APPS_QVRENDER_TGAWRITER_H
#define QV_APPS_QVRENDER_TGAWRITER_H

#include <cstdint>
#include <vector>

// Writes uncompressed 24-bit true-colour TGA files, rows from the top.
class TgaWriter
{
public:
    // rgb holds width x height pixels, three bytes each (red, green, blue), rows from the top.
    // False when the size does not fit the format or the file cannot be written completely; an
    // existing file is then left as it was (see the .cpp for devices and FIFOs).
    static bool Write(const char* path, int width, int height,
                      const std::vector<std::uint8_t>& rgb);
};

#endif

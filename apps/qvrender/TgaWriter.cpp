#include "apps/qvrender/TgaWriter.h"

#include "platform/FileReplacement.h"

#include <cstdio>

namespace
{
bool WriteImage(std::FILE* file, int width, int height, const std::vector<std::uint8_t>& rgb)
{
    std::uint8_t header[18] = {};
    header[2] = 2;  // uncompressed true colour
    header[12] = static_cast<std::uint8_t>(width & 0xFF);
    header[13] = static_cast<std::uint8_t>(width >> 8);
    header[14] = static_cast<std::uint8_t>(height & 0xFF);
    header[15] = static_cast<std::uint8_t>(height >> 8);
    header[16] = 24;
    header[17] = 0x20;  // first row is the top row
    bool ok = std::fwrite(header, 1, sizeof header, file) == sizeof header;
    // TGA keeps blue, green, red.
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 3);
    for (int y = 0; ok && y < height; ++y)
    {
        const std::uint8_t* source = &rgb[static_cast<std::size_t>(y) * width * 3];
        for (int x = 0; x < width; ++x)
        {
            row[x * 3 + 0] = source[x * 3 + 2];
            row[x * 3 + 1] = source[x * 3 + 1];
            row[x * 3 + 2] = source[x * 3 + 0];
        }
        ok = std::fwrite(row.data(), 1, row.size(), file) == row.size();
    }
    return ok;
}
}  // namespace

bool TgaWriter::Write(const char* path, int width, int height, const std::vector<std::uint8_t>& rgb)
{
    if (width < 1 || height < 1 || width > 65535 || height > 65535 ||
        rgb.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3)
    {
        return false;
    }
    // A regular file gets the image through a temporary file moved into its place, so a failed
    // write leaves the old file as it was. A device, a FIFO or the like (an output of
    // /dev/stdout, a pipe to another program) is written in place; whatever happens, the path is
    // never removed.
    QVFileReplacement replacement;
    switch (replacement.Begin(path))
    {
    case QVFileReplacement::Started:
        if (!WriteImage(replacement.GetStream(), width, height, rgb))
        {
            replacement.Discard();
            return false;
        }
        return replacement.Commit();
    case QVFileReplacement::NotAFile:
    {
        std::FILE* file = std::fopen(path, "wb");
        if (file == nullptr)
        {
            return false;
        }
        const bool written = WriteImage(file, width, height, rgb);
        // A failed close can lose buffered data: it counts as a failed write.
        return std::fclose(file) == 0 && written;
    }
    case QVFileReplacement::Failed:
        break;
    }
    return false;
}

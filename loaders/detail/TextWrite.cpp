#include "loaders/detail/TextWrite.h"

long QVWriteText(std::FILE* stream, const QVString& text)
{
    std::size_t written = 0;
    if (text.GetEncoding() == QVString::Wide)
    {
        static const unsigned char kMark[2] = {0xFF, 0xFE};
        if (std::fwrite(kMark, 1, 2, stream) != 2)
        {
            return 0;
        }
        // Little-endian whatever the machine, a chunk at a time; the last unit is the zero.
        const unsigned short* units = text.GetWideBuffer();
        const int count = text.GetLength() + 1;
        unsigned char chunk[4096];
        for (int done = 0; done < count;)
        {
            int n = 0;
            for (; n < static_cast<int>(sizeof chunk / 2) && done + n < count; ++n)
            {
                const unsigned short unit = done + n < count - 1 ? units[done + n] : 0;
                chunk[2 * n] = static_cast<unsigned char>(unit & 0xFF);
                chunk[2 * n + 1] = static_cast<unsigned char>(unit >> 8);
            }
            const std::size_t bytes = static_cast<std::size_t>(n) * 2;
            const std::size_t put = std::fwrite(chunk, 1, bytes, stream);
            written += put;
            if (put != bytes)
            {
                break;
            }
            done += n;
        }
    }
    else
    {
        const std::size_t length = static_cast<std::size_t>(text.GetLength());
        if (length > 0)
        {
            written = std::fwrite(text.GetBuffer(), 1, length, stream);
        }
        if (written == length)
        {
            written += std::fwrite("", 1, 1, stream);
        }
    }
    return static_cast<long>(written);
}

#include "loaders/QVFile.h"

#include "loaders/detail/FileOpen.h"

#include <climits>
#include <cstring>

namespace
{
// Longest file ReadAll takes: its bytes, a terminator and the rounding of a 16-bit text must
// still fit the text's int capacity.
const long kLargestText = INT_MAX - 4;

int MarkLength(const unsigned char* b, std::size_t n)
{
    if (n >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF)
    {
        return 3;
    }
    if (n >= 2 && ((b[0] == 0xFF && b[1] == 0xFE) || (b[0] == 0xFE && b[1] == 0xFF)))
    {
        return 2;
    }
    if (n >= 4 && b[0] == 0x00 && b[1] == 0x00 && b[2] == 0xFE && b[3] == 0xFF)
    {
        return 4;
    }
    return 0;
}
}  // namespace

QVFile::QVFile() : QVObject(QV_CLASS_FILE), m_stream(nullptr), m_position(0), m_size(0) {}

QVFile::~QVFile() { Close(); }

bool QVFile::Open(const QVString& path, const char* mode)
{
    if (path.GetEncoding() == QVString::Wide)
    {
        return Open(path.GetWideBuffer(), mode);
    }
    return Open(path.GetBuffer(), mode);
}

bool QVFile::Open(const unsigned short* path, const char* mode)
{
    Close();
    if (path == nullptr || mode == nullptr)
    {
        return false;
    }
    m_stream = QVOpenWideFile(path, mode);
    return LearnSize();
}

bool QVFile::Open(const char* path, const char* mode)
{
    Close();
    if (path == nullptr || mode == nullptr)
    {
        return false;
    }
    m_stream = QVOpenNarrowFile(path, mode);
    return LearnSize();
}

bool QVFile::LearnSize()
{
    if (m_stream == nullptr)
    {
        return false;
    }
    const long position = std::ftell(m_stream);
    long size = -1;
    if (position >= 0 && std::fseek(m_stream, 0, SEEK_END) == 0)
    {
        size = std::ftell(m_stream);
    }
    if (size < 0 || std::fseek(m_stream, position, SEEK_SET) != 0)
    {
        std::fclose(m_stream);
        m_stream = nullptr;
        return false;
    }
    m_position = position;
    m_size = size;
    return true;
}

bool QVFile::Close()
{
    if (m_stream == nullptr)
    {
        return false;
    }
    const bool flushed = std::fclose(m_stream) == 0;
    m_stream = nullptr;
    m_position = 0;
    m_size = 0;
    return flushed;
}

int QVFile::ReadAll(QVString& out)
{
    if (m_stream == nullptr || m_size > kLargestText || std::fseek(m_stream, 0, SEEK_SET) != 0)
    {
        return -1;
    }
    unsigned char head[4];
    const std::size_t headBytes =
        std::fread(head, 1, m_size < 4 ? static_cast<std::size_t>(m_size) : 4, m_stream);
    const int mark = MarkLength(head, headBytes);
    if (std::fseek(m_stream, mark, SEEK_SET) != 0)
    {
        return -1;
    }

    // Room for every byte and a terminator; a 16-bit text rounds its byte count up to whole
    // units. The bytes after the last one read are zeroed, so the text always ends.
    const int size = static_cast<int>(m_size);
    out.Empty();
    out.SetEncoding(mark > 0 ? QVString::Wide : QVString::Narrow);
    if (!out.Allocate(mark > 0 ? size / 2 + 1 : size + 1))
    {
        return -1;
    }
    char* storage = out.GetBuffer();
    const std::size_t wanted = static_cast<std::size_t>(size - mark);
    const std::size_t got = wanted == 0 ? 0 : std::fread(storage, 1, wanted, m_stream);
    if (got < wanted && std::ferror(m_stream))
    {
        out.Empty();
        return -1;
    }
    std::memset(storage + got, 0, static_cast<std::size_t>(out.GetCapacity()) - got);
    out.SyncLength();
    m_position = static_cast<long>(mark) + static_cast<long>(got);
    return static_cast<int>(got);
}

int QVFile::WriteString(const QVString& text)
{
    if (m_stream == nullptr)
    {
        return -1;
    }
    std::size_t written = 0;
    if (text.GetEncoding() == QVString::Wide)
    {
        static const unsigned char kMark[2] = {0xFF, 0xFE};
        if (std::fwrite(kMark, 1, 2, m_stream) != 2)
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
            const std::size_t put = std::fwrite(chunk, 1, bytes, m_stream);
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
            written = std::fwrite(text.GetBuffer(), 1, length, m_stream);
        }
        if (written == length)
        {
            written += std::fwrite("", 1, 1, m_stream);
        }
    }
    m_position += static_cast<long>(written);
    return static_cast<int>(written);
}

int QVFile::Read(void* buffer, int count)
{
    if (m_stream == nullptr || buffer == nullptr || count < 0)
    {
        return 0;
    }
    std::size_t wanted = static_cast<std::size_t>(count);
    if (count == 0)
    {
        const long rest = m_size - m_position;
        if (rest <= 0)
        {
            return 0;
        }
        wanted =
            rest > INT_MAX ? static_cast<std::size_t>(INT_MAX) : static_cast<std::size_t>(rest);
    }
    const std::size_t got = std::fread(buffer, 1, wanted, m_stream);
    m_position += static_cast<long>(got);
    return static_cast<int>(got);
}

int QVFile::Write(const void* buffer, int count)
{
    if (m_stream == nullptr || buffer == nullptr || count <= 0)
    {
        return 0;
    }
    const std::size_t put = std::fwrite(buffer, 1, static_cast<std::size_t>(count), m_stream);
    m_position += static_cast<long>(put);
    return static_cast<int>(put);
}

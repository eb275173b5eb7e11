#include "loaders/QVFile.h"

#include "loaders/detail/TextWrite.h"
#include "platform/RegularFile.h"

#include <climits>
#include <cstring>

namespace
{
// Longest file ReadAll takes: its bytes, a terminator and the rounding of a 16-bit text must
// still fit the text's int capacity.
const long kLargestText = INT_MAX - 4;

// What a file's first bytes say about the text after them.
struct Mark
{
    int length;      // bytes the mark takes
    bool wide;       // 16-bit units follow
    bool bigEndian;  // the units' high byte comes first
};

Mark FindMark(const unsigned char* b, std::size_t n)
{
    // UTF-8: the bytes after the mark are 8-bit text like any other.
    if (n >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF)
    {
        return {3, false, false};
    }
    if (n >= 2 && b[0] == 0xFF && b[1] == 0xFE)
    {
        return {2, true, false};
    }
    if (n >= 2 && b[0] == 0xFE && b[1] == 0xFF)
    {
        return {2, true, true};
    }
    // The mark of 32-bit big-endian text. Such text is not decoded: its bytes are taken as
    // little-endian units, so it reads as little (its first unit is usually a zero).
    if (n >= 4 && b[0] == 0x00 && b[1] == 0x00 && b[2] == 0xFE && b[3] == 0xFF)
    {
        return {4, true, false};
    }
    return {0, false, false};
}

// Turns the bytes at the start of units into count 16-bit units of the machine, in place.
void DecodeUnits(unsigned short* units, std::size_t count, bool bigEndian)
{
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(units);
    for (std::size_t i = 0; i < count; ++i)
    {
        const unsigned first = bytes[2 * i];
        const unsigned second = bytes[2 * i + 1];
        units[i] =
            static_cast<unsigned short>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
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
    m_stream = QVOpenRegularFileWide(path, mode);
    return LearnSize();
}

bool QVFile::Open(const char* path, const char* mode)
{
    Close();
    if (path == nullptr || mode == nullptr)
    {
        return false;
    }
    m_stream = QVOpenRegularFile(path, mode);
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
    const Mark mark = FindMark(head, headBytes);
    if (std::fseek(m_stream, mark.length, SEEK_SET) != 0)
    {
        return -1;
    }

    // Room for every byte and a terminator; a 16-bit text rounds its byte count up to whole
    // units. The bytes after the last one read are zeroed, so the text always ends (and an odd
    // last byte gets a zero partner).
    const int size = static_cast<int>(m_size);
    out.Empty();
    out.SetEncoding(mark.wide ? QVString::Wide : QVString::Narrow);
    if (!out.Allocate(mark.wide ? size / 2 + 1 : size + 1))
    {
        return -1;
    }
    char* storage = out.GetBuffer();
    const std::size_t wanted = static_cast<std::size_t>(size - mark.length);
    const std::size_t got = wanted == 0 ? 0 : std::fread(storage, 1, wanted, m_stream);
    if (got < wanted && std::ferror(m_stream))
    {
        out.Empty();
        return -1;
    }
    std::memset(storage + got, 0, static_cast<std::size_t>(out.GetCapacity()) - got);
    if (mark.wide)
    {
        DecodeUnits(out.GetWideBuffer(), (got + 1) / 2, mark.bigEndian);
    }
    out.SyncLength();
    m_position = static_cast<long>(mark.length) + static_cast<long>(got);
    return static_cast<int>(got);
}

int QVFile::WriteString(const QVString& text)
{
    if (m_stream == nullptr)
    {
        return -1;
    }
    const long written = QVWriteText(m_stream, text);
    m_position += written;
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

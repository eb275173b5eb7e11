#include "plugin/package/EntryDecoder.h"

#include <cstring>

namespace
{
// Stored bytes are read from the archive in pieces of this size.
const unsigned InputPiece = 65536;
}  // namespace

EntryDecoder::EntryDecoder(unzFile zip, std::uint64_t size, unsigned long crc)
    : m_zip(zip), m_declared(size), m_declaredCrc(crc), m_input(InputPiece)
{
}

EntryDecoder::~EntryDecoder()
{
    if (m_inflating)
        inflateEnd(&m_stream);
    if (m_open)
        unzCloseCurrentFile(m_zip);
}

bool EntryDecoder::Open()
{
    int method = 0;
    int level = 0;
    if (unzOpenCurrentFile2(m_zip, &method, &level, 1) != UNZ_OK)
        return false;
    m_open = true;
    if (method != 0 && method != Z_DEFLATED)
        return false;
    m_deflated = method == Z_DEFLATED;
    m_crc = crc32(0L, Z_NULL, 0);
    if (m_deflated)
    {
        // A raw deflate stream, as zip archives hold it (no zlib header).
        if (inflateInit2(&m_stream, -MAX_WBITS) != Z_OK)
            return false;
        m_inflating = true;
    }
    return true;
}

bool EntryDecoder::Fill()
{
    const int read = unzReadCurrentFile(m_zip, m_input.data(), InputPiece);
    if (read < 0)
        return false;
    if (read == 0)
        m_storedEnded = true;
    m_stream.next_in = m_input.data();
    m_stream.avail_in = static_cast<uInt>(read);
    return true;
}

long EntryDecoder::Finish()
{
    m_done = true;
    // The stored bytes must end with the stream: anything after it is not the entry's.
    if (m_deflated && (m_stream.avail_in != 0 || (!m_storedEnded && !Fill()) ||
                       m_stream.avail_in != 0 || !m_storedEnded))
        return -1;
    return m_produced == m_declared && m_crc == m_declaredCrc ? 0 : -1;
}

long EntryDecoder::Next(unsigned char* out, unsigned capacity)
{
    if (m_done || !m_open)
        return m_done ? 0 : -1;
    if (!m_deflated)
    {
        // Stored: the bytes as they are, never more than declared.
        const std::uint64_t left = m_declared - m_produced;
        const unsigned wanted = left < capacity ? static_cast<unsigned>(left) : capacity;
        int read = 0;
        if (wanted > 0)
        {
            read = unzReadCurrentFile(m_zip, out, wanted);
            if (read < 0)
            {
                m_done = true;
                return -1;
            }
        }
        if (read == 0)
        {
            // The declared size is reached (or the stored bytes ran out): nothing may follow.
            unsigned char extra = 0;
            m_storedEnded = unzReadCurrentFile(m_zip, &extra, 1) == 0;
            m_done = true;
            return m_storedEnded && m_produced == m_declared && m_crc == m_declaredCrc ? 0 : -1;
        }
        m_produced += static_cast<std::uint64_t>(read);
        m_crc = crc32(m_crc, out, static_cast<uInt>(read));
        return read;
    }

    if (m_streamEnded)
        return Finish();
    const std::uint64_t left = m_declared - m_produced;
    // One byte more than is left is asked for, so that a stream longer than declared shows.
    const std::uint64_t room = left < capacity ? left + 1 : capacity;
    m_stream.next_out = out;
    m_stream.avail_out = static_cast<uInt>(room > capacity ? capacity : room);
    const uInt asked = m_stream.avail_out;
    while (m_stream.avail_out == asked)
    {
        if (m_stream.avail_in == 0 && !m_storedEnded && !Fill())
        {
            m_done = true;
            return -1;
        }
        const int status = inflate(&m_stream, Z_NO_FLUSH);
        if (status == Z_STREAM_END)
        {
            m_streamEnded = true;
            break;
        }
        // No progress with no more input: the stream was cut short.
        if (status != Z_OK && !(status == Z_BUF_ERROR && !m_storedEnded))
        {
            m_done = true;
            return -1;
        }
    }
    const unsigned produced = asked - m_stream.avail_out;
    m_produced += produced;
    if (m_produced > m_declared)
    {
        m_done = true;
        return -1;
    }
    m_crc = crc32(m_crc, out, produced);
    if (produced == 0)
        return Finish();
    return static_cast<long>(produced);
}

#pragma once

#include "core/object/QVObject.h"
#include "core/string/QVString.h"

#include <cstdio>

// Class code of QVFile.
const std::int32_t QV_CLASS_FILE = 32769;

// A binary file on a standard I/O stream, sized when it is opened. Loaders read a whole file at
// once (ReadAll) or piece by piece (Read); savers write one text (WriteString).
//
// Byte-order marks: ReadAll skips a mark and reads the rest by it: after EF BB BF (UTF-8) the
// bytes as 8-bit text, after FF FE 16-bit little-endian units, after FE FF 16-bit big-endian
// units; after 00 00 FE FF (32-bit text, not decoded) little-endian units as they come. A file
// without a mark is 8-bit text. WriteString writes FF FE before a 16-bit text. Both stop or end
// at a zero character, so a written text reads back unchanged.
class QVFile : public QVObject
{
public:
    QVFile();
    // Closes the stream when it is still open.
    ~QVFile();

    QVFile(const QVFile&) = delete;
    QVFile& operator=(const QVFile&) = delete;

    // Opens path with an fopen mode ("rb", "wb", ...): a 16-bit path with the wide-character
    // open, an 8-bit one with the narrow open. Records the position and learns the size. A file
    // still open is closed first. False when the file cannot be opened, is not a regular file or
    // cannot be sized (then nothing is open); a FIFO or a device is refused without waiting.
    bool Open(const QVString& path, const char* mode);
    // The same with a 16-bit (system text, on every target) or an 8-bit path; null fails.
    bool Open(const unsigned short* path, const char* mode);
    bool Open(const char* path, const char* mode);

    // Closes the stream and resets position and size. False when nothing was open, or when the
    // stream reported an error while flushing (a write that did not reach the file).
    bool Close();

    bool IsOpen() const { return m_stream != nullptr; }
    // Size in bytes learnt at open; 0 when closed.
    long GetSize() const { return m_size; }
    // Position recorded at open and advanced by Read and ReadAll.
    long GetPosition() const { return m_position; }

    // Reads the whole file, from its first byte, into out, in the width and byte order its mark
    // gives (see above). The text ends at its first zero character. Returns the number of bytes
    // read after the mark, or -1 when nothing is open, the file is too large for a text (out
    // then unchanged), memory is not available or reading fails (out then empty).
    int ReadAll(QVString& out);

    // Writes text and one zero character: 8-bit text as its bytes, 16-bit text after FF FE as
    // little-endian units. Returns the bytes written after the mark (length + 1 characters'
    // worth when all went well), or -1 when nothing is open.
    int WriteString(const QVString& text);

    // Reads count bytes (0: the rest of the file) into buffer, which holds at least that many.
    // Returns the number read (0 at the end, when nothing is open or count is negative) and
    // advances the position by it.
    int Read(void* buffer, int count);

    // Writes count bytes of buffer as they stand. Returns the number written (0 when nothing is
    // open, buffer is null or count is not positive) and advances the position by it.
    int Write(const void* buffer, int count);

private:
    // Seeks and tells to learn the size; false when the stream cannot be sized.
    bool LearnSize();

    std::FILE* m_stream;  // null when closed
    long m_position;      // where the next Read starts
    long m_size;          // bytes in the file when it was opened
};

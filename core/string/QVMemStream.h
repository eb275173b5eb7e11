#pragma once

#include "core/object/QVObject.h"

#include <cstdint>

// Byte stream over a flat buffer, used by serialisation. Reading and writing keep separate
// positions. The stream either works on a caller's buffer (Attach; never grown, never freed) or
// on a buffer of its own that grows on writing and comes from the allocation hook.
class QVMemStream : public QVObject
{
public:
    // An empty stream with no buffer; the first Write makes an owned one.
    QVMemStream();
    virtual ~QVMemStream();  // slot 1; returns an owned buffer to the hook

    QVMemStream(const QVMemStream&) = delete;
    QVMemStream& operator=(const QVMemStream&) = delete;

    // Releases any owned buffer, then reads and writes the caller's buffer of `size` bytes from
    // its start; the caller keeps ownership. The const form refuses every Write.
    void Attach(void* buffer, int size);
    void Attach(const void* buffer, int size);

    // Copies n bytes into destination and advances; returns n, or 0 (nothing copied) when fewer
    // than n bytes remain or n is negative.
    int Read(void* destination, int n);

    // Copies n bytes from source at the write position and advances; an owned buffer grows first.
    // Returns n, or 0 (nothing written) when the bytes do not fit or memory is not available.
    int Write(const void* source, int n);

    // Start of the buffer (null before the first Write of an unattached stream); not owned by
    // the caller.
    const void* GetData() const { return m_buffer; }

    // Bytes of data: the attached size, or the furthest write into an owned buffer.
    int GetSize() const { return m_size; }

    int GetReadPosition() const { return m_cursor; }
    int GetWritePosition() const { return m_offset; }

private:
    void ReleaseOwned();
    bool Reserve(int bytes);

    unsigned char* m_buffer;
    std::int32_t m_size;      // bytes that can be read
    std::int32_t m_capacity;  // bytes that can be written
    std::int32_t m_cursor;    // read position
    std::int32_t m_offset;    // write position
    bool m_owns;              // buffer came from the hook and is ours to grow and free
    bool m_readOnly;
};

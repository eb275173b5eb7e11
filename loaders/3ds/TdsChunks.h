#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// The chunk structure of 3D Studio mesh files. A file is a tree of chunks; each starts with a
// 6-byte header, a 16-bit identifier and a 32-bit length that counts the header, the chunk's own
// data and its sub-chunks. Numbers are little-endian.
namespace tds
{
enum ChunkId : std::uint16_t
{
    MainChunk = 0x4D4D,
    EditorChunk = 0x3D3D,
    KeyframerChunk = 0xB000,
    ObjectBlock = 0x4000,
    TriangleMesh = 0x4100,
    VertexList = 0x4110,
    FaceList = 0x4120,
    TextureCoordinates = 0x4140
};

const std::size_t kHeaderSize = 6;
// Bytes of one record: a vertex (x, y, z as 32-bit floats), a face (a, b, c, flags as 16-bit
// values), a texture coordinate pair (two 32-bit floats). Every list starts with a 16-bit count.
const std::size_t kVertexSize = 12;
const std::size_t kFaceSize = 8;
const std::size_t kTexturePairSize = 8;
const std::size_t kCountSize = 2;

struct ChunkHeader
{
    std::uint16_t id;
    std::uint32_t length;
};

// A chunk found in the file: its header and where it lies. The declared end may pass the end of
// the bytes at hand when the file was truncated; reads stop at the nearer of the two.
struct Chunk
{
    ChunkHeader header;
    std::size_t begin;      // offset of the header
    std::size_t dataBegin;  // first byte after the header
    std::size_t end;        // begin + length, as declared
};

// The bytes of a file, read with bounds: every reader takes an offset that the caller has
// checked against Size() for the width it reads.
class Bytes
{
public:
    Bytes(const unsigned char* data, std::size_t size) : m_data(data), m_size(size) {}

    std::size_t Size() const { return m_size; }
    // The nearer of a declared end and the end of the bytes.
    std::size_t Clip(std::size_t end) const { return end < m_size ? end : m_size; }

    std::uint16_t U16(std::size_t at) const
    {
        return static_cast<std::uint16_t>(m_data[at] | (m_data[at + 1] << 8));
    }
    std::uint32_t U32(std::size_t at) const
    {
        return static_cast<std::uint32_t>(m_data[at]) |
               (static_cast<std::uint32_t>(m_data[at + 1]) << 8) |
               (static_cast<std::uint32_t>(m_data[at + 2]) << 16) |
               (static_cast<std::uint32_t>(m_data[at + 3]) << 24);
    }
    float F32(std::size_t at) const
    {
        const std::uint32_t bits = U32(at);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    unsigned char Byte(std::size_t at) const { return m_data[at]; }

    // Reads the header at `at` of a sub-chunk of a parent that ends at parentEnd (as declared).
    // NoHeader when the header does not fit before the parent's end or the end of the bytes;
    // BadLength (header filled in) for a length that cannot be one: below the header's own 6
    // bytes, or reaching past the parent's end.
    enum HeaderResult
    {
        ChunkFound,
        NoHeader,
        BadLength
    };
    HeaderResult ChunkAt(std::size_t at, std::size_t parentEnd, Chunk& chunk) const
    {
        const std::size_t end = Clip(parentEnd);
        if (at > end || end - at < kHeaderSize)
        {
            return NoHeader;
        }
        chunk.header.id = U16(at);
        chunk.header.length = U32(at + 2);
        if (chunk.header.length < kHeaderSize || chunk.header.length > parentEnd - at)
        {
            return BadLength;
        }
        chunk.begin = at;
        chunk.dataBegin = at + kHeaderSize;
        chunk.end = at + chunk.header.length;
        return ChunkFound;
    }

private:
    const unsigned char* m_data;
    std::size_t m_size;
};

// Calls visit(chunk) for each sub-chunk of the parent whose sub-chunks start at `first` and which
// ends at parentEnd (as declared), going on at the end of each. The walk stops at the parent's
// end, when a header cannot be read (the file ends), and at a sub-chunk that cannot be one: a
// length below the header's own 6 bytes (a length of 0 would lead back to the same header for
// ever) or one reaching past the parent's end (a corrupt length, whose end says nothing about
// where the next sibling starts). `last` receives every header read.
template <typename Visit>
void ForEachSubChunk(const Bytes& bytes, std::size_t first, std::size_t parentEnd,
                     ChunkHeader& last, Visit visit)
{
    Chunk chunk;
    for (std::size_t at = first; at < parentEnd; at = chunk.end)
    {
        const Bytes::HeaderResult found = bytes.ChunkAt(at, parentEnd, chunk);
        if (found == Bytes::NoHeader)
        {
            return;
        }
        last = chunk.header;
        if (found == Bytes::BadLength)
        {
            return;
        }
        visit(chunk);
    }
}
}  // namespace tds

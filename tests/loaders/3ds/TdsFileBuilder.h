#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// Writes 3D Studio files for the tests, chunk by chunk, as byte strings. A chunk's length is
// computed from what it holds unless a test gives a wrong one on purpose; a list's count is the
// number of records unless a test declares another.
namespace tdsfile
{
using Vertex = std::array<float, 3>;
using Face = std::array<std::uint16_t, 3>;
using Pair = std::array<float, 2>;

inline std::string U16(std::uint16_t value)
{
    return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}

inline std::string U32(std::uint32_t value)
{
    return U16(static_cast<std::uint16_t>(value & 0xFFFF)) +
           U16(static_cast<std::uint16_t>(value >> 16));
}

inline std::string F32(float value)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return U32(bits);
}

// A chunk with a given length field, right or wrong.
inline std::string ChunkWithLength(std::uint16_t id, std::uint32_t length, const std::string& body)
{
    return U16(id) + U32(length) + body;
}

inline std::string Chunk(std::uint16_t id, const std::string& body)
{
    return ChunkWithLength(id, static_cast<std::uint32_t>(6 + body.size()), body);
}

inline std::string Main(const std::string& body) { return Chunk(0x4D4D, body); }
inline std::string Editor(const std::string& body) { return Chunk(0x3D3D, body); }
inline std::string Keyframer(const std::string& body) { return Chunk(0xB000, body); }
inline std::string TriangleMesh(const std::string& body) { return Chunk(0x4100, body); }

// An object block: the name, its zero byte, then the sub-chunks.
inline std::string Object(const std::string& name, const std::string& subChunks)
{
    return Chunk(0x4000, name + std::string(1, '\0') + subChunks);
}

inline std::string Vertices(const std::vector<Vertex>& vertices, int declared = -1)
{
    std::string body = U16(static_cast<std::uint16_t>(declared < 0 ? vertices.size() : declared));
    for (const Vertex& v : vertices)
    {
        body += F32(v[0]) + F32(v[1]) + F32(v[2]);
    }
    return Chunk(0x4110, body);
}

// Faces with flags 7 (the edge flags files usually carry), then the face list's own sub-chunks.
inline std::string Faces(const std::vector<Face>& faces, const std::string& subChunks = "",
                         int declared = -1)
{
    std::string body = U16(static_cast<std::uint16_t>(declared < 0 ? faces.size() : declared));
    for (const Face& f : faces)
    {
        body += U16(f[0]) + U16(f[1]) + U16(f[2]) + U16(7);
    }
    return Chunk(0x4120, body + subChunks);
}

inline std::string Pairs(const std::vector<Pair>& pairs, int declared = -1)
{
    std::string body = U16(static_cast<std::uint16_t>(declared < 0 ? pairs.size() : declared));
    for (const Pair& p : pairs)
    {
        body += F32(p[0]) + F32(p[1]);
    }
    return Chunk(0x4140, body);
}

// Chunks the loader skips: a face list's material group ("mat", 2 faces) and smoothing groups,
// the mesh version, a light and a camera (their first numbers only).
inline std::string MaterialGroup()
{
    return Chunk(0x4130, std::string("mat") + '\0' + U16(2) + U16(0) + U16(1));
}
inline std::string SmoothingGroups(int faces)
{
    return Chunk(0x4150, std::string(4 * faces, '\1'));
}
inline std::string MeshVersion() { return Chunk(0x3D3E, U32(3)); }
inline std::string Light() { return Chunk(0x4600, F32(1) + F32(2) + F32(3)); }
inline std::string Camera() { return Chunk(0x4700, std::string(32, '\0')); }

// The cube used by most tests: 8 corners and 12 faces, each face counter-clockwise seen from
// outside as modelling programs write them; one texture coordinate pair per corner.
inline std::vector<Vertex> CubeVertices()
{
    return {{{-1, -1, -1}}, {{-1, 1, -1}}, {{1, 1, -1}}, {{1, -1, -1}},
            {{-1, -1, 1}},  {{1, -1, 1}},  {{1, 1, 1}},  {{-1, 1, 1}}};
}

inline std::vector<Face> CubeFaces()
{
    return {{{0, 1, 2}}, {{0, 2, 3}}, {{4, 5, 6}}, {{4, 6, 7}}, {{0, 3, 5}}, {{0, 5, 4}},
            {{3, 2, 6}}, {{3, 6, 5}}, {{2, 1, 7}}, {{2, 7, 6}}, {{1, 0, 4}}, {{1, 4, 7}}};
}

inline std::vector<Pair> CubePairs()
{
    return {{{0.25f, 0.75f}}, {{0.5f, 0.0f}},    {{1.0f, 0.125f}}, {{0.0f, 1.0f}},
            {{0.375f, 0.5f}}, {{0.625f, 0.25f}}, {{0.875f, 1.0f}}, {{0.0625f, 0.5f}}};
}

inline std::string CubeMesh()
{
    return TriangleMesh(Vertices(CubeVertices()) + Faces(CubeFaces()) + Pairs(CubePairs()));
}

inline std::string CubeFile() { return Main(Editor(Object("cube", CubeMesh()))); }
}  // namespace tdsfile

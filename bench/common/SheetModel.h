#pragma once

// The 3D Studio file of the mesh benchmarks: a rippled sheet 256 vertices wide, n vertices with
// texture coordinates and n faces (n up to 65,535, the most one list holds), each face a triangle
// of two neighbours in a row and one in the next.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

namespace sheet_detail
{
inline void Put16(std::string& out, unsigned value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

inline void Put32(std::string& out, std::uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

inline void PutFloat(std::string& out, float value)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    Put32(out, bits);
}

inline std::string Chunk(unsigned id, const std::string& body)
{
    std::string out;
    Put16(out, id);
    Put32(out, static_cast<std::uint32_t>(6 + body.size()));
    return out + body;
}
}  // namespace sheet_detail

// The file's bytes.
inline std::string SheetModelFile(int n)
{
    using namespace sheet_detail;
    const int width = 256;
    std::string vertices;
    std::string pairs;
    Put16(vertices, static_cast<unsigned>(n));
    Put16(pairs, static_cast<unsigned>(n));
    for (int i = 0; i < n; ++i)
    {
        const float x = static_cast<float>(i % width);
        const float y = static_cast<float>(i / width);
        PutFloat(vertices, x);
        PutFloat(vertices, y);
        PutFloat(vertices, 0.5f * std::sin(0.3f * x) * std::cos(0.2f * y));
        PutFloat(pairs, x / width);
        PutFloat(pairs, y / width);
    }
    std::string faces;
    Put16(faces, static_cast<unsigned>(n));
    const int corners =
        n - width - 1;  // faces start at vertices with a right and an upper neighbour
    for (int f = 0; f < n; ++f)
    {
        const unsigned a = static_cast<unsigned>(f % corners);
        Put16(faces, a);
        Put16(faces, a + 1);
        Put16(faces, a + width);
        Put16(faces, 7);
    }
    const std::string mesh =
        Chunk(0x4100, Chunk(0x4110, vertices) + Chunk(0x4140, pairs) + Chunk(0x4120, faces));
    return Chunk(0x4D4D, Chunk(0x3D3D, Chunk(0x4000, std::string("sheet") + '\0' + mesh)));
}

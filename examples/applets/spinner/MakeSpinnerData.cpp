// Writes the spinner applet's data: "<dir>/spinner.3ds", a cube of side 2 centred at the origin
// with texture coordinates on every face, and "<dir>/checker.tga", a 64 x 64 checker of two
// colours (uncompressed true colour). Built and run on the build machine, whatever the target.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace
{
typedef std::vector<unsigned char> Bytes;

void PutU16(Bytes& out, unsigned value)
{
    out.push_back(static_cast<unsigned char>(value & 0xFF));
    out.push_back(static_cast<unsigned char>((value >> 8) & 0xFF));
}

void PutU32(Bytes& out, std::uint32_t value)
{
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

void PutF32(Bytes& out, float value)
{
    std::uint32_t bits = 0;
    static_assert(sizeof bits == sizeof value, "32-bit floats");
    std::memcpy(&bits, &value, sizeof bits);
    PutU32(out, bits);
}

// A chunk: identifier, length (header included), then the body.
Bytes Chunk(unsigned id, const Bytes& body)
{
    Bytes out;
    PutU16(out, id);
    PutU32(out, static_cast<std::uint32_t>(body.size() + 6));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

Bytes Cube()
{
    // Each face: a fixed axis and sign, four corners with their own texture coordinates.
    Bytes vertices;
    Bytes faces;
    Bytes pairs;
    const unsigned faceCount = 6;
    PutU16(vertices, faceCount * 4);
    PutU16(faces, faceCount * 2);
    PutU16(pairs, faceCount * 4);
    const float corner[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    for (unsigned face = 0; face < faceCount; ++face)
    {
        const int axis = face / 2;
        const float sign = face % 2 == 0 ? 1.0f : -1.0f;
        for (const auto& c : corner)
        {
            float position[3];
            position[axis] = sign;
            position[(axis + 1) % 3] = c[0] * sign;
            position[(axis + 2) % 3] = c[1];
            for (float p : position)
                PutF32(vertices, p);
            PutF32(pairs, (c[0] + 1) / 2);
            PutF32(pairs, (c[1] + 1) / 2);
        }
        const unsigned first = face * 4;
        const unsigned triangles[2][3] = {{0, 1, 2}, {0, 2, 3}};
        for (const auto& t : triangles)
        {
            for (unsigned corner : t)
                PutU16(faces, first + corner);
            PutU16(faces, 0);  // flags
        }
    }
    Bytes mesh = Chunk(0x4110, vertices);
    const Bytes faceChunk = Chunk(0x4120, faces);
    const Bytes pairChunk = Chunk(0x4140, pairs);
    mesh.insert(mesh.end(), faceChunk.begin(), faceChunk.end());
    mesh.insert(mesh.end(), pairChunk.begin(), pairChunk.end());
    Bytes object = {'c', 'u', 'b', 'e', 0};
    const Bytes triangleMesh = Chunk(0x4100, mesh);
    object.insert(object.end(), triangleMesh.begin(), triangleMesh.end());
    return Chunk(0x4D4D, Chunk(0x3D3D, Chunk(0x4000, object)));
}

Bytes Checker()
{
    const unsigned size = 64;
    const unsigned square = 8;
    Bytes out = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};  // no id, no palette, true colour
    PutU16(out, size);
    PutU16(out, size);
    out.push_back(24);
    out.push_back(0);
    for (unsigned y = 0; y < size; ++y)
    {
        for (unsigned x = 0; x < size; ++x)
        {
            const bool light = (x / square + y / square) % 2 == 0;
            // Blue, green, red: orange and dark blue.
            const unsigned char pixel[2][3] = {{0x80, 0x30, 0x10}, {0x20, 0x90, 0xF0}};
            out.insert(out.end(), pixel[light], pixel[light] + 3);
        }
    }
    return out;
}

bool Write(const std::string& path, const Bytes& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: makespinnerdata <output directory>\n");
        return 2;
    }
    const std::string directory = argv[1];
    if (!Write(directory + "/spinner.3ds", Cube()) || !Write(directory + "/checker.tga", Checker()))
    {
        std::fprintf(stderr, "makespinnerdata: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}

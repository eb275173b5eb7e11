#pragma once

#include <cstdint>

// One triangle of a face group's private triangle array: a face normal and three vertex numbers.
// The fields take the places of a vertex's position and normal, so the setters keep the vertex's
// names: the position setter writes the face normal, the normal setter the vertex numbers.
struct QVTriangle
{
    double nx, ny, nz;     // face normal
    std::int32_t a, b, c;  // vertex numbers

    // Every field 0.
    QVTriangle() : nx(0.0), ny(0.0), nz(0.0), a(0), b(0), c(0) {}

    // Writes the face normal.
    void SetPosition(double normalX, double normalY, double normalZ)
    {
        nx = normalX;
        ny = normalY;
        nz = normalZ;
    }
    // Writes the three vertex numbers.
    void SetNormal(std::int32_t first, std::int32_t second, std::int32_t third)
    {
        a = first;
        b = second;
        c = third;
    }
    // Component i (0 to 2) of the face normal; other values read 0.
    double GetPosition(int i) const { return i == 0 ? nx : i == 1 ? ny : i == 2 ? nz : 0.0; }
    // Vertex number i (0 to 2); other values read 0.
    std::int32_t GetNormal(int i) const { return i == 0 ? a : i == 1 ? b : i == 2 ? c : 0; }
};

#pragma once

// One vertex of a mesh: position in double, normal and texture coordinates in single precision,
// which keeps the record small. Renderers and loaders in other libraries walk arrays of it in
// place, so the fields and their order are fixed.
struct QVVertex
{
    double x, y, z;    // position
    float nx, ny, nz;  // normal
    float u, v;        // texture coordinates

    // Every field 0.
    QVVertex() : x(0.0), y(0.0), z(0.0), nx(0.0f), ny(0.0f), nz(0.0f), u(0.0f), v(0.0f) {}

    void SetPosition(double px, double py, double pz)
    {
        x = px;
        y = py;
        z = pz;
    }
    void SetNormal(float normalX, float normalY, float normalZ)
    {
        nx = normalX;
        ny = normalY;
        nz = normalZ;
    }
    void SetUV(float textureU, float textureV)
    {
        u = textureU;
        v = textureV;
    }
    // Component i (0 to 2) of the position; other values read 0.
    double GetPosition(int i) const { return i == 0 ? x : i == 1 ? y : i == 2 ? z : 0.0; }
    // Component i (0 to 2) of the normal; other values read 0.
    float GetNormal(int i) const { return i == 0 ? nx : i == 1 ? ny : i == 2 ? nz : 0.0f; }
};

// The 3D Studio loader on arbitrary bytes. Each input is written to a real file and loaded
// through the loader class into a mesh, exactly as a host's collection does. Beyond not crashing
// or hanging, the result must hold what the loader promises:
// - a file loads exactly when it starts with a main chunk header;
// - every index names a vertex, and the one face group covers the index array;
// - what the mesh holds is bounded by the file: no list grows beyond the records it has room for;
// - every normal is finite.
#include "loaders/3ds/QV3dsLoader.h"
#include "scene/QVSGMesh.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace
{
const char kInput[] = "fuzz-input.3ds";

void Check(bool condition, const char* what)
{
    if (!condition)
    {
        std::fprintf(stderr, "3ds loader invariant broken: %s\n", what);
        std::abort();
    }
}

void CheckMesh(QVSGMesh& mesh, std::size_t size)
{
    const int vertices = mesh.GetVertexCount();
    const int indices = mesh.GetIndexCount();
    Check(static_cast<std::size_t>(vertices) * 12 <= size, "vertices bounded by the file");
    Check(static_cast<std::size_t>(indices / 3) * 8 <= size, "faces bounded by the file");
    Check(indices % 3 == 0, "whole triangles");
    const std::int32_t* index = mesh.GetIndexData();
    for (int i = 0; i < indices; ++i)
    {
        Check(index[i] >= 0 && index[i] < vertices, "indices name vertices");
    }
    if (mesh.GetFaceGroupCount() > 0)
    {
        Check(mesh.GetFaceGroupCount() == 1, "one face group");
        Check(mesh.GetFaceGroup(0).GetFirstIndex() == 0 &&
                  mesh.GetFaceGroup(0).GetIndexCount() == indices,
              "the group covers every index");
    }
    const QVVertex* vertex = mesh.GetVertexData();
    for (int i = 0; i < vertices; ++i)
    {
        Check(std::isfinite(vertex[i].nx) && std::isfinite(vertex[i].ny) &&
                  std::isfinite(vertex[i].nz),
              "finite normals");
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // One mesh for every input: its module collection scans the working directory once.
    static QVSGMesh mesh;
    static QV3dsLoader loader;

    std::FILE* out = std::fopen(kInput, "wb");
    if (out == nullptr || (size > 0 && std::fwrite(data, 1, size, out) != size) ||
        std::fclose(out) != 0)
    {
        std::abort();
    }

    mesh.ResizeVertices(0);
    mesh.ResizeIndices(0);
    mesh.ResizeFaceGroups(0);
    const bool startsWithMain = size >= 6 && data[0] == 0x4D && data[1] == 0x4D;
    Check(loader.Load(&mesh.GetLoaders(), kInput) == startsWithMain,
          "loads exactly the files that start with a main chunk");
    CheckMesh(mesh, size);
    return 0;
}

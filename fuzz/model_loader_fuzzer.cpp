// The glTF and OBJ loader on arbitrary bytes: an input that starts like JSON or a binary glTF
// container is written as a .gltf file, anything else as an .obj, and loaded through the loader
// class into a mesh. Beyond not crashing or hanging, the result must hold what the loader
// promises:
// - a refused file leaves the mesh as it was (a marker vertex stays the only vertex);
// - a loaded mesh has whole triangles whose indices name vertices, face groups that cover the
//   index array in order, one sub-object per group, and normals that are finite.
#include "loaders/model/QVModelLoader.h"
#include "scene/QVSGMesh.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace
{
void Check(bool condition, const char* what)
{
    if (!condition)
    {
        std::fprintf(stderr, "model loader invariant broken: %s\n", what);
        std::abort();
    }
}

void CheckMesh(QVSGMesh& mesh)
{
    const int vertices = mesh.GetVertexCount();
    const int indices = mesh.GetIndexCount();
    Check(indices % 3 == 0, "whole triangles");
    for (int i = 0; i < indices; ++i)
        Check(mesh.GetIndexData()[i] >= 0 && mesh.GetIndexData()[i] < vertices,
              "indices name vertices");
    int next = 0;
    for (int g = 0; g < mesh.GetFaceGroupCount(); ++g)
    {
        Check(mesh.GetFaceGroup(g).GetFirstIndex() == next, "groups follow each other");
        next += mesh.GetFaceGroup(g).GetIndexCount();
    }
    Check(next == indices, "the groups cover every index");
    Check(mesh.GetSubObjects().GetSize() == mesh.GetFaceGroupCount(), "a sub-object per group");
    for (int i = 0; i < vertices; ++i)
    {
        const QVVertex& v = mesh.GetVertexData()[i];
        Check(std::isfinite(v.nx) && std::isfinite(v.ny) && std::isfinite(v.nz), "finite normals");
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // One mesh for every input: its module collection scans the working directory once.
    static QVSGMesh mesh;
    static QVModelLoader loader;
    // Embedded images go to temporary files: into the fuzzer's own folder.
    static const int tmp = setenv("TMPDIR", ".", 1);
    (void)tmp;

    const bool gltf =
        size > 0 &&
        (data[0] == '{' || (size >= 4 && data[0] == 'g' && data[1] == 'l' && data[2] == 'T'));
    const char* name = gltf ? "fuzz-input.gltf" : "fuzz-input.obj";
    std::FILE* out = std::fopen(name, "wb");
    if (out == nullptr || (size > 0 && std::fwrite(data, 1, size, out) != size) ||
        std::fclose(out) != 0)
    {
        std::abort();
    }
    mesh.ResizeVertices(1);
    mesh.ResizeIndices(0);
    mesh.ResizeFaceGroups(0);
    if (loader.Load(&mesh.GetLoaders(), name))
        CheckMesh(mesh);
    else
        Check(mesh.GetVertexCount() == 1 && mesh.GetIndexCount() == 0,
              "a refused file changes nothing");
    return 0;
}

#pragma once

#include "loaders/3ds/QV3dsLoader.h"
#include "scene/QVSGMesh.h"
#include "tests/loaders/3ds/TdsFileBuilder.h"
#include "tests/loaders/LoaderTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

// What a loaded mesh holds, in comparable form.
struct MeshFacts
{
    std::vector<std::array<double, 3>> positions;
    std::vector<std::array<float, 2>> uvs;  // (u, v)
    std::vector<std::int32_t> indices;
    std::vector<std::array<std::int32_t, 2>> groups;  // (first index, index count)

    bool operator==(const MeshFacts& other) const
    {
        return positions == other.positions && uvs == other.uvs && indices == other.indices &&
               groups == other.groups;
    }
};

inline void PrintTo(const MeshFacts& facts, std::ostream* out)
{
    *out << facts.positions.size() << " vertices, " << facts.indices.size() << " indices, "
         << facts.groups.size() << " groups";
}

inline MeshFacts FactsOf(QVSGMesh& mesh)
{
    MeshFacts facts;
    for (int i = 0; i < mesh.GetVertexCount(); ++i)
    {
        const QVVertex& v = mesh.GetVertex(i);
        facts.positions.push_back({v.x, v.y, v.z});
        facts.uvs.push_back({v.u, v.v});
    }
    for (int i = 0; i < mesh.GetIndexCount(); ++i)
    {
        facts.indices.push_back(mesh.GetIndex(i));
    }
    for (int g = 0; g < mesh.GetFaceGroupCount(); ++g)
    {
        facts.groups.push_back(
            {mesh.GetFaceGroup(g).GetFirstIndex(), mesh.GetFaceGroup(g).GetIndexCount()});
    }
    return facts;
}

// The facts a file of these lists must give: positions as read, each face (a, b, c) as the
// triple (a, c, b), pair i (f1, f2) as u = f2, v = f1 on vertex i, one group over every index.
inline MeshFacts ExpectedFacts(const std::vector<tdsfile::Vertex>& vertices,
                               const std::vector<tdsfile::Face>& faces,
                               const std::vector<tdsfile::Pair>& pairs)
{
    MeshFacts facts;
    for (std::size_t i = 0; i < vertices.size(); ++i)
    {
        facts.positions.push_back({vertices[i][0], vertices[i][1], vertices[i][2]});
        facts.uvs.push_back(i < pairs.size() ? std::array<float, 2>{pairs[i][1], pairs[i][0]}
                                             : std::array<float, 2>{0.0f, 0.0f});
    }
    for (const tdsfile::Face& f : faces)
    {
        facts.indices.insert(facts.indices.end(), {f[0], f[2], f[1]});
    }
    facts.groups.push_back({0, static_cast<std::int32_t>(facts.indices.size())});
    return facts;
}

// Every vertex normal finite, and of length 1 or (a vertex no triangle uses) 0.
inline ::testing::AssertionResult NormalsAreSound(QVSGMesh& mesh)
{
    for (int i = 0; i < mesh.GetVertexCount(); ++i)
    {
        const QVVertex& v = mesh.GetVertex(i);
        const double length =
            std::sqrt(double(v.nx) * v.nx + double(v.ny) * v.ny + double(v.nz) * v.nz);
        if (!std::isfinite(length) || (length != 0.0 && std::fabs(length - 1.0) > 1e-5))
        {
            return ::testing::AssertionFailure() << "vertex " << i << " has normal (" << v.nx
                                                 << ", " << v.ny << ", " << v.nz << ")";
        }
    }
    return ::testing::AssertionSuccess();
}

// Loads file bytes into a mesh through the loader class, from a scratch file.
inline bool LoadBytes(QV3dsLoader& loader, QVSGMesh& mesh, const std::string& bytes)
{
    ScratchFile file("mesh.3ds", bytes);
    return loader.Load(&mesh.GetLoaders(), file.Text());
}

// Empties a mesh that an earlier load filled, so that one mesh (and one module scan) serves many
// loads.
inline void Empty(QVSGMesh& mesh)
{
    mesh.ResizeVertices(0);
    mesh.ResizeIndices(0);
    mesh.ResizeFaceGroups(0);
}

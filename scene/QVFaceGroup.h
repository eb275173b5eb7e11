#pragma once

#include "scene/QVTriangle.h"
#include "scene/QVVertex.h"

#include <cstdint>

class QVSGMaterial;

// A run of a mesh's index array drawn with one material, plus private copies of its geometry
// (vertices, triangles, indices) that builders and loaders may fill for renderers that want the
// group on its own. The group owns its private arrays; it does not own the material. Fields and
// their order are shared with separately built modules.
class QVFaceGroup
{
public:
    // No material, empty range, no private arrays.
    QVFaceGroup();
    // Frees the three private arrays.
    virtual ~QVFaceGroup();

    QVFaceGroup(const QVFaceGroup&) = delete;
    QVFaceGroup& operator=(const QVFaceGroup&) = delete;

    // Replaces the private vertices by n zeroed ones (none for n <= 0). False, leaving none, when
    // memory is not available.
    bool ResizeVertices(int n);
    // Replaces the private triangles by n zeroed ones (none for n <= 0). False as above.
    bool ResizeTriangles(int n);
    // Replaces the private index array by n uninitialised entries and makes n the group's index
    // count. False (no array, count 0) when memory is not available.
    bool ResizeIndices(int n);

    QVSGMaterial* GetMaterial() const { return material; }
    void SetMaterial(QVSGMaterial* value) { material = value; }
    std::int32_t GetFirstIndex() const { return firstIndex; }
    void SetFirstIndex(std::int32_t value) { firstIndex = value; }
    std::int32_t GetIndexCount() const { return indexCount; }
    void SetIndexCount(std::int32_t value) { indexCount = value; }

    // Private arrays, owned by the group (null when empty).
    QVVertex* GetVertices() { return vertices; }
    std::int32_t GetVertexCount() const { return vertexCount; }
    QVTriangle* GetTriangles() { return triangles; }
    std::int32_t GetTriangleCount() const { return triangleCount; }
    std::int32_t* GetIndices() { return indices; }

private:
    QVSGMaterial* material;   // not owned; null until bound
    std::int32_t firstIndex;  // first entry of the group in the mesh's index array
    std::int32_t indexCount;  // entries of the group (a multiple of 3); length of indices
    std::int32_t reserved;    // 0
    QVVertex* vertices;
    std::int32_t vertexCount;
    QVTriangle* triangles;
    std::int32_t triangleCount;
    std::int32_t furtherFirst;   // no use yet; 0
    std::int32_t furtherSecond;  // no use yet; 0
    std::int32_t* indices;       // indexCount entries when present
};

#include "scene/QVFaceGroup.h"

#include <new>

QVFaceGroup::QVFaceGroup()
    : material(nullptr), firstIndex(0), indexCount(0), reserved(0), vertices(nullptr),
      vertexCount(0), triangles(nullptr), triangleCount(0), furtherFirst(0), furtherSecond(0),
      indices(nullptr)
{
}

QVFaceGroup::~QVFaceGroup()
{
    delete[] vertices;
    delete[] triangles;
    delete[] indices;
    vertices = nullptr;
    vertexCount = 0;
    triangles = nullptr;
    triangleCount = 0;
    indices = nullptr;
    indexCount = 0;
}

bool QVFaceGroup::ResizeVertices(int n)
{
    delete[] vertices;
    vertices = nullptr;
    vertexCount = 0;
    if (n <= 0)
    {
        return true;
    }
    vertices = new (std::nothrow) QVVertex[static_cast<unsigned>(n)];
    if (vertices == nullptr)
    {
        return false;
    }
    vertexCount = n;
    return true;
}

bool QVFaceGroup::ResizeTriangles(int n)
{
    delete[] triangles;
    triangles = nullptr;
    triangleCount = 0;
    if (n <= 0)
    {
        return true;
    }
    triangles = new (std::nothrow) QVTriangle[static_cast<unsigned>(n)];
    if (triangles == nullptr)
    {
        return false;
    }
    triangleCount = n;
    return true;
}

bool QVFaceGroup::ResizeIndices(int n)
{
    // Freed whenever an array is held, whatever the count says: the count is also the group's
    // range in the mesh, which builders set without a private array (and a zero-length array
    // would otherwise leak).
    delete[] indices;
    indices = nullptr;
    indexCount = 0;
    if (n <= 0)
    {
        return true;
    }
    indices = new (std::nothrow) std::int32_t[static_cast<unsigned>(n)];
    if (indices == nullptr)
    {
        return false;
    }
    indexCount = n;
    return true;
}

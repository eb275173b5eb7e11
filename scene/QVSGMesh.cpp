#include "scene/QVSGMesh.h"

#include "scene/QVSGKind.h"

#include <cmath>
#include <cstddef>
#include <initializer_list>

namespace
{
struct Vec3
{
    double x, y, z;
};

Vec3 PositionOf(const QVVertex& v) { return {v.x, v.y, v.z}; }

Vec3 Sub(const Vec3& a, const Vec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

Vec3 Cross(const Vec3& a, const Vec3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// Scales v to length 1. False when v has no direction (zero length, or not finite), in which
// case dividing by the length would fill it with NaN.
bool Normalise(Vec3& v)
{
    const double length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (!(length > 0.0) || !std::isfinite(length))
    {
        return false;
    }
    v = {v.x / length, v.y / length, v.z / length};
    return true;
}

double Length(const Vec3& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

// Below this fraction of a triangle's longest edge an edge counts as zero-length, and below this
// sine two edges count as collinear. That is the resolution of single precision, in which model
// files and the stored normals keep their numbers: a sliver thinner than that has no direction
// of its own, only rounding noise (the ring of a sphere's pole is one).
const double degenerateFraction = 1e-6;

// Unit face normal n = b x a (a = P1 - P0, b = P2 - P0, c = P2 - P1) of a triangle that has a
// direction. False for a zero-length edge or collinear corners, which are common in model files
// and must not smear NaN or noise over their neighbours.
bool FaceDirection(Vec3 a, Vec3 b, const Vec3& c, Vec3& n)
{
    const double la = Length(a);
    const double lb = Length(b);
    const double lc = Length(c);
    double longest = la > lb ? la : lb;
    longest = longest > lc ? longest : lc;
    if (!(longest > 0.0) || !std::isfinite(longest))
    {
        return false;
    }
    const double shortest = la < lb ? (la < lc ? la : lc) : (lb < lc ? lb : lc);
    if (shortest <= degenerateFraction * longest)
    {
        return false;
    }
    if (!Normalise(a) || !Normalise(b))
    {
        return false;
    }
    n = Cross(b, a);
    if (!(Length(n) > degenerateFraction))
    {
        return false;
    }
    return Normalise(n);
}
}  // namespace

QVSGMesh::QVSGMesh()
    : loaders(QVSG_CLASS_MESH, "Object Loader"), rendererData{nullptr, nullptr}, referencePoint(3)
{
    AddKindFlags(QVSG_KIND_MESH);
}

QVSGMesh::~QVSGMesh() = default;

QVSGMesh* QVSGMesh::FromModCollection(QVModCollection* client)
{
    if (client == nullptr)
    {
        return nullptr;
    }
    const int tag = client->GetTag();
    if (tag != QVSG_CLASS_MESH && tag != QVSG_CLASS_SPHERE && tag != QVSG_CLASS_BOX)
    {
        return nullptr;
    }
    // The class is not standard-layout (it has virtual functions), but it has single,
    // non-virtual inheritance only, where offsetof keeps its plain meaning with our compilers.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
#endif
    const std::size_t offset = offsetof(QVSGMesh, loaders);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    return reinterpret_cast<QVSGMesh*>(reinterpret_cast<char*>(client) - offset);
}

bool QVSGMesh::SetMaterial(QVSGMaterial* material, int group, bool all)
{
    const int count = faceGroups.GetSize();
    if (count == 0)
    {
        if (!faceGroups.SetSize(1))
        {
            return false;
        }
        QVFaceGroup& only = faceGroups[0];
        only.SetMaterial(material);
        only.SetFirstIndex(0);
        only.SetIndexCount(indices.GetSize());
        return true;
    }
    // The unsigned comparison turns negative group numbers away too.
    if (static_cast<unsigned>(group) >= static_cast<unsigned>(count))
    {
        return false;
    }
    if (all)
    {
        for (int g = 0; g < count; ++g)
        {
            faceGroups[g].SetMaterial(material);
        }
    }
    else
    {
        faceGroups[group].SetMaterial(material);
    }
    return true;
}

void QVSGMesh::ComputeNormals()
{
    const int vertexCount = vertices.GetSize();
    const long long indexCount = indices.GetSize();
    for (int g = 0; g < faceGroups.GetSize(); ++g)
    {
        QVFaceGroup& group = faceGroups[g];
        // Group ranges come from files as often as from code: clip them to the index array.
        const long long first = group.GetFirstIndex();
        const long long end = first + group.GetIndexCount();
        for (long long p = first < 0 ? 0 : first; p + 2 < end && p + 2 < indexCount; p += 3)
        {
            const std::int32_t i0 = indices[static_cast<int>(p)];
            const std::int32_t i1 = indices[static_cast<int>(p + 1)];
            const std::int32_t i2 = indices[static_cast<int>(p + 2)];
            if (i0 < 0 || i1 < 0 || i2 < 0 || i0 >= vertexCount || i1 >= vertexCount ||
                i2 >= vertexCount)
            {
                continue;
            }
            QVVertex& v0 = vertices[i0];
            QVVertex& v1 = vertices[i1];
            QVVertex& v2 = vertices[i2];
            Vec3 a = Sub(PositionOf(v1), PositionOf(v0));
            Vec3 b = Sub(PositionOf(v2), PositionOf(v0));
            Vec3 n;
            if (!FaceDirection(a, b, Sub(PositionOf(v2), PositionOf(v1)), n))
            {
                continue;
            }
            for (QVVertex* v : {&v0, &v1, &v2})
            {
                v->nx = static_cast<float>(v->nx + n.x);
                v->ny = static_cast<float>(v->ny + n.y);
                v->nz = static_cast<float>(v->nz + n.z);
            }
        }
    }
    for (int i = 0; i < vertexCount; ++i)
    {
        QVVertex& v = vertices[i];
        Vec3 n = {v.nx, v.ny, v.nz};
        if (Normalise(n))
        {
            v.SetNormal(static_cast<float>(n.x), static_cast<float>(n.y), static_cast<float>(n.z));
        }
    }
}

#include "scene/QVSGSphere.h"

#include "scene/QVSGKind.h"

#include <cmath>
#include <initializer_list>

namespace
{
const double pi = 3.14159265358979323846;
}

QVSGSphere::QVSGSphere(double radiusValue, std::int32_t segmentCount) : radius(0.0), segments(2)
{
    ClassId = QVSG_CLASS_SPHERE;
    GetLoaders().SetTag(QVSG_CLASS_SPHERE);
    SetRadius(radiusValue);
    SetSegments(segmentCount);
}

QVSGSphere::~QVSGSphere() = default;

void QVSGSphere::SetRadius(double value)
{
    radius = value;
    size = value;
}

void QVSGSphere::SetSegments(std::int32_t n) { segments = n > 1 ? n : 2; }

bool QVSGSphere::BuildSphere()
{
    const long long n = segments;
    const long long columns = 2 * n + 1;
    const long long vertexCount = (n + 1) * columns;
    const long long indexCount = 12 * n * n;
    const long long triangleCount = 4 * n * n;
    // Counts travel as 32-bit integers (and as int byte sizes through the hook).
    if (indexCount * static_cast<long long>(sizeof(std::int32_t)) > 0x7FFFFFFFLL ||
        vertexCount * static_cast<long long>(sizeof(QVVertex)) > 0x7FFFFFFFLL)
    {
        return false;
    }
    if (!ResizeFaceGroups(1) || !ResizeVertices(static_cast<int>(vertexCount)) ||
        !ResizeIndices(static_cast<int>(indexCount)))
    {
        return false;
    }
    QVFaceGroup& group = GetFaceGroup(0);
    group.SetFirstIndex(0);
    group.SetIndexCount(static_cast<std::int32_t>(indexCount));
    if (!group.ResizeVertices(static_cast<int>(vertexCount)) ||
        !group.ResizeTriangles(static_cast<int>(triangleCount)))
    {
        return false;
    }
    QVVertex* shared = GetVertexData();
    QVVertex* own = group.GetVertices();
    const double step = 2.0 * pi / static_cast<double>(2 * n);
    for (long long i = 0; i <= n; ++i)
    {
        // Angles, directions and positions are rounded to single precision at each step, so
        // every library that builds a sphere gets the same vertices bit for bit.
        const float phi = static_cast<float>(static_cast<double>(i) * step - pi / 2.0);
        for (long long j = 0; j <= 2 * n; ++j)
        {
            const float theta = static_cast<float>(static_cast<double>(j) * step);
            const float dx = std::cos(phi) * std::cos(theta);
            const float dy = std::sin(phi);
            const float dz = std::cos(phi) * std::sin(theta);
            const double px = static_cast<float>(static_cast<double>(dx) * radius);
            const double py = static_cast<float>(static_cast<double>(dy) * radius);
            const double pz = static_cast<float>(static_cast<double>(dz) * radius);
            const float u =
                static_cast<float>(static_cast<double>(j) * 0.5 / static_cast<double>(2 * n));
            const float v = static_cast<float>(static_cast<double>(i) / static_cast<double>(2 * n));
            const long long k = i * columns + j;
            for (QVVertex* vertex : {&shared[k], &own[k]})
            {
                vertex->SetPosition(px, py, pz);
                vertex->SetNormal(dx, dy, dz);
                vertex->SetUV(u, v);
            }
        }
    }
    std::int32_t* index = GetIndexData();
    QVTriangle* triangle = group.GetTriangles();
    for (long long i = 0; i < n; ++i)
    {
        const std::int32_t b = static_cast<std::int32_t>(columns * i);
        const std::int32_t twoN = static_cast<std::int32_t>(2 * n);
        for (std::int32_t j = 0; j < twoN; ++j)
        {
            const std::int32_t corners[6] = {
                b + j, b + j + 1, b + j + 1 + twoN, b + j + 1 + twoN, b + j + 1, b + j + 2 + twoN};
            for (std::int32_t c : corners)
            {
                *index++ = c;
            }
            (triangle++)->SetNormal(corners[0], corners[1], corners[2]);
            (triangle++)->SetNormal(corners[3], corners[4], corners[5]);
        }
    }
    return true;
}

#include "scene/QVSGBox.h"

#include "scene/QVSGKind.h"

namespace
{
struct Face
{
    std::int32_t bit;
    double corners[4][3];
    double normal[3];  // outward
};

// Corners in the order of their texture coordinates (0, 1), (1, 1), (1, 0), (0, 0).
const Face faces[6] = {
    {0x01, {{-1, -1, -1}, {1, -1, -1}, {1, -1, 1}, {-1, -1, 1}}, {0, -1, 0}},
    {0x02, {{-1, 1, 1}, {1, 1, 1}, {1, 1, -1}, {-1, 1, -1}}, {0, 1, 0}},
    {0x04, {{-1, 1, 1}, {-1, 1, -1}, {-1, -1, -1}, {-1, -1, 1}}, {-1, 0, 0}},
    {0x08, {{1, 1, -1}, {1, 1, 1}, {1, -1, 1}, {1, -1, -1}}, {1, 0, 0}},
    {0x10, {{1, 1, 1}, {-1, 1, 1}, {-1, -1, 1}, {1, -1, 1}}, {0, 0, 1}},
    {0x20, {{-1, 1, -1}, {1, 1, -1}, {1, -1, -1}, {-1, -1, -1}}, {0, 0, -1}},
};

const float faceU[4] = {0.0f, 1.0f, 1.0f, 0.0f};
const float faceV[4] = {1.0f, 1.0f, 0.0f, 0.0f};

// Windings under the normal rule n = (P2 - P0) x (P1 - P0): both give the face's normal.
const std::int32_t outwardWinding[6] = {0, 2, 1, 0, 3, 2};
const std::int32_t inwardWinding[6] = {0, 1, 2, 0, 2, 3};
}  // namespace

QVSGBox::QVSGBox(std::int32_t faceMask, std::uint8_t insideOut)
    : FaceMask(faceMask), InsideOut(insideOut)
{
    ClassId = QVSG_CLASS_BOX;
    GetLoaders().SetTag(QVSG_CLASS_BOX);
}

QVSGBox::~QVSGBox() = default;

bool QVSGBox::BuildBox()
{
    int count = 0;
    for (const Face& face : faces)
    {
        if ((FaceMask & face.bit) != 0)
        {
            ++count;
        }
    }
    if (!ResizeFaceGroups(count) || !ResizeVertices(4 * count) || !ResizeIndices(6 * count))
    {
        return false;
    }
    const bool inward = InsideOut == 1;
    const double sign = inward ? -1.0 : 1.0;
    const std::int32_t* winding = inward ? inwardWinding : outwardWinding;
    int g = 0;
    for (const Face& face : faces)
    {
        if ((FaceMask & face.bit) == 0)
        {
            continue;
        }
        QVFaceGroup& group = GetFaceGroup(g);
        if (!group.ResizeVertices(4) || !group.ResizeIndices(6) || !group.ResizeTriangles(2))
        {
            return false;
        }
        group.SetFirstIndex(6 * g);
        group.SetIndexCount(6);
        const double nx = sign * face.normal[0];
        const double ny = sign * face.normal[1];
        const double nz = sign * face.normal[2];
        for (int c = 0; c < 4; ++c)
        {
            const double* p = face.corners[c];
            QVVertex& shared = GetVertex(4 * g + c);
            shared.SetPosition(p[0], p[1], p[2]);
            shared.SetUV(faceU[c], faceV[c]);
            shared.SetNormal(static_cast<float>(nx), static_cast<float>(ny),
                             static_cast<float>(nz));
            QVVertex& own = group.GetVertices()[c];
            own.SetPosition(p[0], p[1], p[2]);
            own.SetNormal(static_cast<float>(nx), static_cast<float>(ny), static_cast<float>(nz));
        }
        QVTriangle* triangles = group.GetTriangles();
        for (int t = 0; t < 2; ++t)
        {
            triangles[t].SetNormal(winding[3 * t], winding[3 * t + 1], winding[3 * t + 2]);
            triangles[t].SetPosition(nx, ny, nz);
        }
        std::int32_t* own = group.GetIndices();
        for (int k = 0; k < 6; ++k)
        {
            own[k] = winding[k];
            GetIndex(6 * g + k) = winding[k] + 4 * g;
        }
        ++g;
    }
    if (count > 0)
    {
        size = 2.0;
    }
    return true;
}

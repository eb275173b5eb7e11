#include "renderers/opengl/GLTriangleFeed.h"

#include "gl/QVGL.h"
#include "renderers/opengl/GLTriangleRange.h"
#include "scene/QVSGMesh.h"

namespace
{
bool Inside(const std::int32_t* corners, std::int64_t vertexCount)
{
    return corners[0] >= 0 && corners[0] < vertexCount && corners[1] >= 0 &&
           corners[1] < vertexCount && corners[2] >= 0 && corners[2] < vertexCount;
}
}  // namespace

GLTriangleFeed::GLTriangleFeed(QVSGMesh& mesh) : mesh(mesh)
{
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    const QVVertex* vertices = mesh.GetVertexData();
    const int count = mesh.GetVertexCount();
    if (vertices == nullptr)
    {
        return;
    }
    // The drivers take single-precision positions fastest; glVertex3dv converted them the same
    // way, so the pictures stay the same. Read from the mesh at every draw.
    packed.resize(static_cast<std::size_t>(count) * kPackedFloats);
    float* out = packed.data();
    for (int i = 0; i < count; ++i, out += kPackedFloats)
    {
        const QVVertex& v = vertices[i];
        out[0] = v.u;
        out[1] = v.v;
        out[2] = v.nx;
        out[3] = v.ny;
        out[4] = v.nz;
        out[5] = static_cast<float>(v.x);
        out[6] = static_cast<float>(v.y);
        out[7] = static_cast<float>(v.z);
    }
    glInterleavedArrays(GL_T2F_N3F_V3F, 0, packed.data());
}

GLTriangleFeed::~GLTriangleFeed() { glPopClientAttrib(); }

void GLTriangleFeed::DrawRange(std::int64_t first, std::int64_t end)
{
    const std::int64_t vertexCount = mesh.GetVertexCount();
    const std::int32_t* indices = mesh.GetIndexData();
    const GLTriangleRange range = GLTriangleRange::Of(first, end, mesh.GetIndexCount());
    if (range.begin == range.end || vertexCount == 0)
    {
        return;
    }
    // Usually every triangle is whole and the range is drawn straight from the index array;
    // otherwise the drawable triangles are gathered first.
    std::int64_t k = range.begin;
    while (k < range.end && Inside(indices + k, vertexCount))
    {
        k += 3;
    }
    const std::int32_t* drawn = indices + range.begin;
    std::int64_t count = range.end - range.begin;
    if (k < range.end)
    {
        kept.assign(indices + range.begin, indices + k);
        for (; k < range.end; k += 3)
        {
            if (Inside(indices + k, vertexCount))
            {
                kept.insert(kept.end(), indices + k, indices + k + 3);
            }
        }
        drawn = kept.data();
        count = static_cast<std::int64_t>(kept.size());
    }
    if (count > 0)
    {
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(count), GL_UNSIGNED_INT, drawn);
    }
}

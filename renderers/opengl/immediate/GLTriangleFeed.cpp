#include "renderers/opengl/GLTriangleFeed.h"

#include "gl/QVGL.h"
#include "renderers/opengl/GLTriangleRange.h"
#include "scene/QVSGMesh.h"

GLTriangleFeed::GLTriangleFeed(QVSGMesh& mesh) : mesh(mesh) {}

GLTriangleFeed::~GLTriangleFeed() {}

void GLTriangleFeed::DrawRange(std::int64_t first, std::int64_t end)
{
    const std::int64_t vertexCount = mesh.GetVertexCount();
    const QVVertex* vertices = mesh.GetVertexData();
    const std::int32_t* indices = mesh.GetIndexData();
    const GLTriangleRange range = GLTriangleRange::Of(first, end, mesh.GetIndexCount());
    glBegin(GL_TRIANGLES);
    for (std::int64_t k = range.begin; k < range.end; k += 3)
    {
        bool inside = true;
        for (int c = 0; c < 3; ++c)
        {
            inside = inside && indices[k + c] >= 0 && indices[k + c] < vertexCount;
        }
        for (int c = 0; c < 3 && inside; ++c)
        {
            const QVVertex& v = vertices[indices[k + c]];
            glNormal3fv(&v.nx);
            glTexCoord2f(v.u, v.v);
            glVertex3dv(&v.x);
        }
    }
    glEnd();
}

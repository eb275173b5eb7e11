#include "renderers/opengl/GLMeshDrawer.h"

#include "loaders/QVImage.h"
#include "gl/QVGL.h"
#include "renderers/opengl/GLConstants.h"
#include "renderers/opengl/QVTexture.h"
#include "scene/QVSGMaterial.h"
#include "scene/QVSGMesh.h"

#include <cstdint>

namespace
{
// The colour's red, green and blue, opaque.
void SetMaterialColour(GLenum parameter, const QVColor& colour)
{
    const GLfloat rgba[4] = {static_cast<GLfloat>(colour.r), static_cast<GLfloat>(colour.g),
                             static_cast<GLfloat>(colour.b), 1.0f};
    glMaterialfv(GL_FRONT, parameter, rgba);
}

void LoadMaterial(QVSGMaterial& material)
{
    SetMaterialColour(GL_AMBIENT, material.ambient);
    SetMaterialColour(GL_DIFFUSE, material.GetDiffuse());
    SetMaterialColour(GL_SPECULAR, material.specular);
    glMaterialf(GL_FRONT, GL_SHININESS, static_cast<GLfloat>(material.shininess));
}

// Stays switched on for the later groups of the mesh; the attribute pop ends it.
void BindTexture(QVSGMaterial& material)
{
    if (material.texture == nullptr)
    {
        return;
    }
    QVTexture* texture = static_cast<QVTexture*>(material.texture->RendererSlot());
    if (texture == nullptr)
    {
        return;  // the image was never prepared
    }
    glEnable(GL_TEXTURE_2D);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, static_cast<GLfloat>(GL_MODULATE));
    texture->Bind();
}

void DrawGroup(QVSGMesh& mesh, QVFaceGroup& group)
{
    const std::int64_t vertexCount = mesh.GetVertexCount();
    const std::int64_t indexCount = mesh.GetIndexCount();
    const QVVertex* vertices = mesh.GetVertexData();
    const std::int32_t* indices = mesh.GetIndexData();
    const std::int64_t first = group.GetFirstIndex();
    const std::int64_t end = first + group.GetIndexCount();
    glBegin(GL_TRIANGLES);
    for (std::int64_t k = first; k + 3 <= end; k += 3)
    {
        if (k < 0 || k + 3 > indexCount)
        {
            continue;
        }
        const std::int32_t corners[3] = {indices[k], indices[k + 1], indices[k + 2]};
        bool inside = true;
        for (std::int32_t corner : corners)
        {
            inside = inside && corner >= 0 && corner < vertexCount;
        }
        if (!inside)
        {
            continue;
        }
        for (std::int32_t corner : corners)
        {
            const QVVertex& v = vertices[corner];
            glNormal3fv(&v.nx);
            glTexCoord2f(v.u, v.v);
            glVertex3dv(&v.x);
        }
    }
    glEnd();
}
}  // namespace

void DrawMesh(QVSGMesh& mesh, QVSGMaterial* defaultMaterial)
{
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glPushMatrix();
    glPushAttrib(GL_ENABLE_BIT);

    const QVVector& p = mesh.GetPosition();
    const QVVector& r = mesh.GetRotation();
    const QVVector& s = mesh.GetScale();
    glTranslatef(static_cast<GLfloat>(p[0]), static_cast<GLfloat>(p[1]),
                 static_cast<GLfloat>(p[2]));
    glRotatef(static_cast<GLfloat>(r[0]), 1.0f, 0.0f, 0.0f);
    glRotatef(static_cast<GLfloat>(r[1]), 0.0f, 1.0f, 0.0f);
    glRotatef(static_cast<GLfloat>(r[2]), 0.0f, 0.0f, 1.0f);
    glScalef(static_cast<GLfloat>(s[0]), static_cast<GLfloat>(s[1]), static_cast<GLfloat>(s[2]));
    glEnable(QV_GL_RESCALE_NORMAL);

    for (int g = 0; g < mesh.GetFaceGroupCount(); ++g)
    {
        QVFaceGroup& group = mesh.GetFaceGroup(g);
        QVSGMaterial* material =
            group.GetMaterial() != nullptr ? group.GetMaterial() : defaultMaterial;
        if (material != nullptr)
        {
            LoadMaterial(*material);
            BindTexture(*material);
        }
        DrawGroup(mesh, group);
    }

    glPopAttrib();
    glPopMatrix();
}

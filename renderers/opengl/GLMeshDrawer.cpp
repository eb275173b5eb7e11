#include "renderers/opengl/GLMeshDrawer.h"

#include "gl/QVGL.h"
#include "loaders/QVImage.h"
#include "renderers/opengl/GLConstants.h"
#include "renderers/opengl/GLTriangleFeed.h"
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

    GLTriangleFeed feed(mesh);
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
        feed.DrawRange(group.GetFirstIndex(),
                       static_cast<std::int64_t>(group.GetFirstIndex()) + group.GetIndexCount());
    }

    glPopAttrib();
    glPopMatrix();
}

#include "bench/frames/ReferenceDraw.h"

#include "gl/QVGL.h"
#include "gl/QVGLU.h"
#include "loaders/QVImage.h"
#include "scene/QVColor.h"
#include "scene/QVSGMesh.h"

#include <cmath>

namespace
{
constexpr GLenum kRescaleNormal = 0x803A;  // OpenGL 1.2, beyond the Windows header
constexpr GLenum kBgr = 0x80E0;
constexpr GLenum kBgra = 0x80E1;

// The mesh's placement as the renderer applies it, onto the current matrix.
void ApplyPlacement(QVSGMesh& mesh)
{
    const QVVector& p = mesh.GetPosition();
    const QVVector& r = mesh.GetRotation();
    const QVVector& s = mesh.GetScale();
    glTranslatef(static_cast<GLfloat>(p[0]), static_cast<GLfloat>(p[1]),
                 static_cast<GLfloat>(p[2]));
    glRotatef(static_cast<GLfloat>(r[0]), 1.0f, 0.0f, 0.0f);
    glRotatef(static_cast<GLfloat>(r[1]), 0.0f, 1.0f, 0.0f);
    glRotatef(static_cast<GLfloat>(r[2]), 0.0f, 0.0f, 1.0f);
    glScalef(static_cast<GLfloat>(s[0]), static_cast<GLfloat>(s[1]), static_cast<GLfloat>(s[2]));
}

// The placement matrix of mesh, computed by OpenGL itself so that it is the renderer's.
void PlacementMatrix(QVSGMesh& mesh, float matrix[16])
{
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    ApplyPlacement(mesh);
    glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
    glPopMatrix();
}

void Transform(const float m[16], const double in[3], double w, float out[3])
{
    for (int row = 0; row < 3; ++row)
    {
        out[row] = static_cast<float>(m[row] * in[0] + m[4 + row] * in[1] + m[8 + row] * in[2] +
                                      m[12 + row] * w);
    }
}

void AppendMesh(QVSGMesh& mesh, const float* placement, std::vector<float>& out)
{
    const int vertexCount = mesh.GetVertexCount();
    const int indexCount = mesh.GetIndexCount();
    for (int k = 0; k + 3 <= indexCount; k += 3)
    {
        bool inside = true;
        for (int c = 0; c < 3; ++c)
        {
            const int corner = mesh.GetIndex(k + c);
            inside = inside && corner >= 0 && corner < vertexCount;
        }
        for (int c = 0; c < 3 && inside; ++c)
        {
            const QVVertex& v = mesh.GetVertex(mesh.GetIndex(k + c));
            const double position[3] = {v.x, v.y, v.z};
            const double normal[3] = {v.nx, v.ny, v.nz};
            float placed[3] = {v.nx, v.ny, v.nz};
            float at[3] = {static_cast<float>(v.x), static_cast<float>(v.y),
                           static_cast<float>(v.z)};
            if (placement != nullptr)
            {
                Transform(placement, normal, 0.0, placed);
                const float length = std::sqrt(placed[0] * placed[0] + placed[1] * placed[1] +
                                               placed[2] * placed[2]);
                for (float& n : placed)
                {
                    n = length > 0.0f ? n / length : n;
                }
                Transform(placement, position, 1.0, at);
            }
            out.insert(out.end(), {v.u, v.v, placed[0], placed[1], placed[2], at[0], at[1], at[2]});
        }
    }
}
}  // namespace

ReferenceDraw::ReferenceDraw()
    : followed(nullptr), texture(0), projection{}, view{}, clear{0.0f, 0.0f, 0.0f}
{
}

ReferenceDraw::~ReferenceDraw() {}

void ReferenceDraw::Build(const std::vector<QVSGMesh*>& meshes, bool follow)
{
    vertices.clear();
    followed = follow && meshes.size() == 1 ? meshes[0] : nullptr;
    for (QVSGMesh* mesh : meshes)
    {
        float placement[16];
        if (followed == nullptr)
        {
            PlacementMatrix(*mesh, placement);
        }
        AppendMesh(*mesh, followed == nullptr ? placement : nullptr, vertices);
    }
}

void ReferenceDraw::SetTexture(QVImage& image)
{
    const int bytes = image.GetBitsPerPixel() / 8;
    const GLenum formats[5] = {0, GL_LUMINANCE, GL_LUMINANCE_ALPHA, kBgr, kBgra};
    if (bytes < 1 || bytes > 4 || image.GetPixels() == nullptr)
    {
        return;
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    gluBuild2DMipmaps(GL_TEXTURE_2D, bytes, image.GetWidth(), image.GetHeight(), formats[bytes],
                      GL_UNSIGNED_BYTE, image.GetPixels());
    texture = name;
}

void ReferenceDraw::SetCamera(const float projectionMatrix[16], const float viewMatrix[16],
                              const QVColor& background)
{
    for (int i = 0; i < 16; ++i)
    {
        projection[i] = projectionMatrix[i];
        view[i] = viewMatrix[i];
    }
    clear[0] = static_cast<float>(background.r);
    clear[1] = static_cast<float>(background.g);
    clear[2] = static_cast<float>(background.b);
}

void ReferenceDraw::DrawFrame()
{
    // The state the renderer's frames use: depth test, clockwise fronts with backs culled,
    // smooth lighting.
    glClearColor(clear[0], clear[1], clear[2], 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CW);
    glCullFace(GL_BACK);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_LIGHTING);
    glEnable(kRescaleNormal);
    const GLfloat white[4] = {0.8f, 0.8f, 0.8f, 1.0f};
    const GLfloat dark[4] = {0.2f, 0.2f, 0.2f, 1.0f};
    glMaterialfv(GL_FRONT, GL_DIFFUSE, white);
    glMaterialfv(GL_FRONT, GL_AMBIENT, dark);
    if (texture != 0)
    {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, static_cast<GLfloat>(GL_MODULATE));
    }
    else
    {
        glDisable(GL_TEXTURE_2D);
    }

    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(projection);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(view);
    if (followed != nullptr)
    {
        ApplyPlacement(*followed);
    }
    glInterleavedArrays(GL_T2F_N3F_V3F, 0, vertices.data());
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(vertices.size() / kFloatsPerVertex));
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

#include "tests/gl/webgl/FixedFunctionScene.h"

#include "gl/QVGL.h"
#include "renderers/QVRenderer.h"

#include <cmath>
#include <cstdint>

namespace
{
void Light(GLenum light, const GLfloat position[4], const GLfloat diffuse[4],
           const GLfloat specular[4])
{
    glEnable(light);
    glLightfv(light, GL_POSITION, position);
    glLightfv(light, GL_DIFFUSE, diffuse);
    glLightfv(light, GL_SPECULAR, specular);
}

void SetUpLights()
{
    const GLfloat ambient[4] = {0.15f, 0.1f, 0.1f, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 0);
    const GLfloat near[4] = {-1.0f, 0.8f, 1.2f, 1};
    const GLfloat warm[4] = {1.0f, 0.6f, 0.4f, 1};
    Light(GL_LIGHT0, near, warm, warm);
    glLightf(GL_LIGHT0, GL_CONSTANT_ATTENUATION, 0.5f);
    glLightf(GL_LIGHT0, GL_LINEAR_ATTENUATION, 0.4f);
    glLightf(GL_LIGHT0, GL_QUADRATIC_ATTENUATION, 0.3f);
    const GLfloat sideways[4] = {0.4f, -0.3f, 1.0f, 0};
    const GLfloat cool[4] = {0.2f, 0.3f, 0.5f, 1};
    Light(GL_LIGHT1, sideways, cool, cool);
    const GLfloat spotAt[4] = {1.0f, 0.2f, 2.0f, 1};
    const GLfloat white[4] = {1, 1, 1, 1};
    const GLfloat down[3] = {0.0f, -0.1f, -1.0f};
    Light(GL_LIGHT2, spotAt, white, white);
    glLightfv(GL_LIGHT2, GL_SPOT_DIRECTION, down);
    glLightf(GL_LIGHT2, GL_SPOT_CUTOFF, 20.0f);
    glLightf(GL_LIGHT2, GL_SPOT_EXPONENT, 6.0f);
}

// A grid of quads on the left whose rows take colours given once per row, lit per vertex.
void DrawLitGrid()
{
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    const GLfloat specular[4] = {0.6f, 0.6f, 0.6f, 1};
    glMaterialfv(GL_FRONT, GL_SPECULAR, specular);
    glMaterialf(GL_FRONT, GL_SHININESS, 20.0f);
    glNormal3f(0.0f, 0.0f, 1.0f);
    const float size = 0.25f;
    glBegin(GL_QUADS);
    for (int row = 0; row < 10; ++row)
    {
        glColor3f(0.9f, 0.3f + 0.07f * row, 0.2f);
        for (int column = 0; column < 8; ++column)
        {
            const float x = -2.3f + column * size;
            const float y = -1.3f + row * size;
            glVertex3f(x, y, 0.0f);
            glVertex3f(x + size, y, 0.0f);
            glVertex3f(x + size, y + size, 0.0f);
            glVertex3f(x, y + size, 0.0f);
        }
    }
    glEnd();
    glDisable(GL_COLOR_MATERIAL);
}

// A curved band on the right: a quad strip with a normal per vertex, lit by all three lights.
void DrawLitBand()
{
    const GLfloat diffuse[4] = {0.7f, 0.8f, 0.9f, 1};
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
    glBegin(GL_QUAD_STRIP);
    for (int i = 0; i <= 12; ++i)
    {
        const float angle = -1.2f + 0.2f * i;
        glNormal3f(std::sin(angle), 0.0f, std::cos(angle));
        glVertex3f(0.6f + std::sin(angle), -1.2f, std::cos(angle) - 1.0f);
        glVertex3f(0.6f + std::sin(angle), 0.2f, std::cos(angle) - 1.0f);
    }
    glEnd();
}

// Unlit shapes above the band: a flat-shaded fan, a polygon, a line loop and points.
void DrawUnlitShapes()
{
    glDisable(GL_LIGHTING);
    glShadeModel(GL_FLAT);
    glBegin(GL_TRIANGLE_FAN);
    glColor3f(1, 1, 1);
    glVertex3f(0.2f, 0.9f, 0.5f);
    for (int i = 0; i <= 6; ++i)
    {
        const float angle = 0.5f * i;
        glColor3f(0.2f * i / 1.2f, 1.0f - 0.15f * i, 0.5f);
        glVertex3f(0.2f + 0.5f * std::cos(angle), 0.9f + 0.5f * std::sin(angle), 0.5f);
    }
    glEnd();
    glShadeModel(GL_SMOOTH);
    glBegin(GL_POLYGON);
    for (int i = 0; i < 5; ++i)
    {
        const float angle = 1.2566f * i;
        glColor3f(0.5f + 0.1f * i, 0.2f, 1.0f - 0.15f * i);
        glVertex3f(1.6f + 0.35f * std::cos(angle), 1.0f + 0.35f * std::sin(angle), 0.5f);
    }
    glEnd();
    glColor3f(1.0f, 1.0f, 0.0f);
    glBegin(GL_LINE_LOOP);
    glVertex3f(-2.4f, -1.4f, 0.1f);
    glVertex3f(-0.3f, -1.4f, 0.1f);
    glVertex3f(-0.3f, 1.2f, 0.1f);
    glEnd();
    glBegin(GL_POINTS);
    for (int i = 0; i < 8; ++i)
    {
        glVertex3f(-2.0f + 0.2f * i, 1.45f, 0.1f);
    }
    glEnd();
}

// An 8 x 8 BGRA texture whose alpha falls off to the right, blended over the grid.
void DrawBlendedTexture()
{
    std::uint8_t pixels[8 * 8 * 4];
    for (int y = 0; y < 8; ++y)
    {
        for (int x = 0; x < 8; ++x)
        {
            std::uint8_t* p = pixels + 4 * (8 * y + x);
            p[0] = static_cast<std::uint8_t>((x + y) % 2 ? 255 : 40);  // blue
            p[1] = static_cast<std::uint8_t>(30 * y);                  // green
            p[2] = static_cast<std::uint8_t>(x < 4 ? 250 : 10);        // red
            p[3] = static_cast<std::uint8_t>(255 - 30 * x);            // alpha
        }
    }
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 8, 8, 0, GL_BGRA, GL_UNSIGNED_BYTE, pixels);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex3f(-1.9f, -0.9f, 0.3f);
    glTexCoord2f(1, 0);
    glVertex3f(-0.6f, -0.9f, 0.3f);
    glTexCoord2f(1, 1);
    glVertex3f(-0.6f, 0.4f, 0.3f);
    glTexCoord2f(0, 1);
    glVertex3f(-1.9f, 0.4f, 0.3f);
    glEnd();
    glDeleteTextures(1, &texture);
}
}  // namespace

void DrawFixedFunctionFeatures(QVRenderer& renderer)
{
    renderer.BeginFrame();
    glClearColor(0.05f, 0.05f, 0.1f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-0.8, 0.8, -0.6, 0.6, 1.0, 20.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -3.0f);
    glPushAttrib(GL_ENABLE_BIT | GL_LIGHTING_BIT | GL_CURRENT_BIT);
    glDisable(GL_CULL_FACE);
    glEnable(GL_LIGHTING);
    SetUpLights();
    DrawLitGrid();
    DrawLitBand();
    DrawUnlitShapes();
    glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT | GL_COLOR_BUFFER_BIT);
    DrawBlendedTexture();
    glPopAttrib();
    glPopAttrib();
    renderer.EndFrame();
}

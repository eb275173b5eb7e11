// Frame-level operations of the OpenGL renderer on a window of its own, read back from the GL:
// the test frame, clearing, the projection and view from cameras, lights.
#include "gl/QVGLU.h"
#include "renderers/QVRenderer.h"
#include "scene/QVColor.h"
#include "scene/QVSGCamera.h"
#include "scene/QVSGLight.h"
#include "tests/renderers/opengl/GLTestPlatform.h"
#include "tests/renderers/opengl/GLTestSession.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace
{
struct Projected
{
    int x;
    int y;
};

// Where the current matrices put an object point, in window pixels.
Projected Project(double x, double y, double z)
{
    GLdouble model[16];
    GLdouble projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    GLdouble wx = 0;
    GLdouble wy = 0;
    GLdouble wz = 0;
    gluProject(x, y, z, model, projection, viewport, &wx, &wy, &wz);
    return {static_cast<int>(std::floor(wx)), static_cast<int>(std::floor(wy))};
}

// Whether a pixel of the colour lies within one pixel of (x, y).
bool ColourAround(Projected at, const Rgb& colour, GLenum buffer)
{
    for (int dy = -1; dy <= 1; ++dy)
    {
        for (int dx = -1; dx <= 1; ++dx)
        {
            if (ReadRgb(at.x + dx, at.y + dy, buffer) == colour)
            {
                return true;
            }
        }
    }
    return false;
}

std::array<float, 16> Floats(GLenum matrix)
{
    std::array<float, 16> values{};
    glGetFloatv(matrix, values.data());
    return values;
}

// The camera matrix as the renderer hands it to GL: element [i][j] at 4i + j.
std::array<float, 16> RowByRow(QVMatrix& matrix)
{
    std::array<float, 16> values{};
    for (int i = 0; i < 4; ++i)
    {
        for (int j = 0; j < 4; ++j)
        {
            values[4 * i + j] = static_cast<float>(matrix.GetRows()[i][j]);
        }
    }
    return values;
}
}  // namespace

TEST(GLFrame, TestFrameShowsAxesAndTheTriangleOnTheClearColour)
{
    OPEN_SESSION(gl, 400, 300);
    // The frame has been shown. Mesa's software rasteriser copies the back buffer to the window
    // and keeps it, so the frame is read back from there (its front buffer is not the window).
    const GLenum shown = GL_BACK;
    EXPECT_TRUE(gl->TestFrame(0));
    EXPECT_EQ(ReadRgb(2, 2, shown), (Rgb{204, 204, 255}));
    EXPECT_EQ(ReadRgb(397, 297, shown), (Rgb{204, 204, 255}));

    // The test frame leaves its camera in the matrices; the triangle turns by a tenth of a degree
    // per frame, too little to move these points.
    struct Axis
    {
        double x, y, z;
        Rgb colour;
    };
    const Axis axes[] = {{5, 0, 0, {255, 0, 0}}, {0, 5, 0, {0, 255, 0}}, {0, 0, 5, {0, 0, 255}}};
    for (const Axis& axis : axes)
    {
        EXPECT_TRUE(ColourAround(Project(axis.x, axis.y, axis.z), axis.colour, shown))
            << "axis point (" << axis.x << ", " << axis.y << ", " << axis.z << ")";
    }

    // Inside the triangle, away from the axes that cross it: the vertex colours red (-1, 0, 0),
    // yellow (1, 0, 0) and magenta (0, 1.5, 0) blended by the weights of the point.
    struct Sample
    {
        double red, yellow, magenta;
    };
    const Sample samples[] = {{0.6, 0.1, 0.3}, {0.1, 0.6, 0.3}, {0.05, 0.4, 0.55}};
    for (const Sample& s : samples)
    {
        const double x = -s.red + s.yellow;
        const double y = 1.5 * s.magenta;
        const Rgb expected = {255, static_cast<int>(255 * s.yellow),
                              static_cast<int>(255 * s.magenta)};
        const Rgb actual = ReadRgb(Project(x, y, 0).x, Project(x, y, 0).y, shown);
        EXPECT_TRUE(Near(actual, expected, 25))
            << "weights " << s.red << "/" << s.yellow << "/" << s.magenta << ": got " << actual[0]
            << "," << actual[1] << "," << actual[2];
    }
}

TEST(GLFrame, ClearTouchesOnlyTheRequestedBuffers)
{
    OPEN_SESSION(gl, 64, 64);
    gl->BeginFrame();
    struct Case
    {
        bool colour, depth, stencil;
    };
    const Case cases[] = {
        {true, true, false}, {false, false, true}, {true, false, false}, {false, true, true}};
    for (const Case& c : cases)
    {
        // Known contents, then other clear values for the renderer's clear.
        glClearColor(1, 0, 0, 1);
        glClearDepth(0.25);
        glClearStencil(7);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        QVColor green(0, 1, 0, 1);
        gl->SetClearColour(&green);
        glClearDepth(1.0);
        glClearStencil(0);
        gl->Clear(c.colour, c.depth, c.stencil);

        glFinish();
        GLfloat depth = 0;
        GLint stencil = 0;
        glReadPixels(5, 5, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
        glReadPixels(5, 5, 1, 1, GL_STENCIL_INDEX, GL_INT, &stencil);
        SCOPED_TRACE(testing::Message()
                     << "Clear(" << c.colour << ", " << c.depth << ", " << c.stencil << ")");
        EXPECT_EQ(ReadRgb(5, 5), c.colour ? (Rgb{0, 255, 0}) : (Rgb{255, 0, 0}));
        EXPECT_NEAR(depth, c.depth ? 1.0f : 0.25f, 1e-3);
        EXPECT_EQ(stencil, c.stencil ? 0 : 7);
    }
}

TEST(GLFrame, ClearColourIsQuantisedToWholeStepsOfTheLowEightBits)
{
    OPEN_SESSION(gl, 32, 32);
    gl->BeginFrame();
    struct Case
    {
        double value;
        int expected;
    };
    // value x 255, truncated, low 8 bits.
    const Case cases[] = {{0.8, 204}, {1.0, 255},  {0.0, 0},   {0.5, 127},
                          {1.5, 126}, {-0.5, 129}, {2.0, 254}, {1e300, 0}};
    for (const Case& c : cases)
    {
        QVColor colour(c.value, c.value, c.value, 1.0);
        gl->SetClearColour(&colour);
        gl->Clear(true, false, false);
        EXPECT_EQ(ReadRgb(3, 3)[0], c.expected) << "component " << c.value;
    }
}

TEST(GLFrame, ProjectionComesFromTheCameraOrTheRememberedOneOrTheDefault)
{
    OPEN_SESSION(gl, 200, 150);
    // No camera yet: 90 degrees with the integer aspect quotient, so x and y are scaled alike
    // for 200 x 150 (200 / 150 = 1), and by half for 400 x 150 (2, not 2.67).
    struct Case
    {
        int width, height;
        double aspect;
    };
    const Case cases[] = {{200, 150, 1.0}, {400, 150, 2.0}, {150, 200, 0.0}, {100, 0, 100.0}};
    for (const Case& c : cases)
    {
        gl->Resize(c.width, c.height);
        const std::array<float, 16> p = Floats(GL_PROJECTION_MATRIX);
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        if (c.aspect == 0.0)
        {
            // A zero aspect is no frustum: the matrix stays the identity.
            EXPECT_EQ(p[0], 1.0f);
            continue;
        }
        ASSERT_GT(p[0], 0.0f);
        EXPECT_NEAR(p[5] / p[0], c.aspect, 1e-5);
        // Near 0.1 and far 1000 (single-precision near).
        const double nearPlane = p[14] / (p[10] - 1.0);
        const double farPlane = p[14] / (p[10] + 1.0);
        EXPECT_NEAR(nearPlane, 0.1, 1e-5);
        EXPECT_NEAR(farPlane, 1000.0, 1.0);
    }
    int viewport[4] = {0, 0, 0, 0};
    gl->Resize(200, 150);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 200);
    EXPECT_EQ(viewport[3], 150);

    QVSGCamera camera;
    camera.SetPerspective(70.0, 4.0 / 3.0, 0.1, 1000.0);
    camera.SetPosition(2, 3.5, 8);
    camera.LookAt(QVVector(0, 0, 0));
    camera.BuildView();
    gl->SetProjection(&camera);
    EXPECT_EQ(Floats(GL_PROJECTION_MATRIX), RowByRow(camera.GetProjection()));
    // Null keeps the remembered camera, also after the camera changed and after a resize.
    camera.SetPerspective(40.0, 2.0, 1.0, 50.0);
    gl->SetProjection(nullptr);
    EXPECT_EQ(Floats(GL_PROJECTION_MATRIX), RowByRow(camera.GetProjection()));
    gl->Resize(120, 90);
    EXPECT_EQ(Floats(GL_PROJECTION_MATRIX), RowByRow(camera.GetProjection()));

    gl->SetView(&camera);
    EXPECT_EQ(Floats(GL_MODELVIEW_MATRIX), RowByRow(camera.GetView()));
    QVSGCamera other;
    other.SetPosition(1, 2, 3);
    other.LookAt(QVVector(0, 0, 0));
    other.BuildView();
    gl->SetView(nullptr);
    EXPECT_EQ(Floats(GL_MODELVIEW_MATRIX), RowByRow(camera.GetView()));
    gl->SetView(&other);
    EXPECT_EQ(Floats(GL_MODELVIEW_MATRIX), RowByRow(other.GetView()));
}

TEST(GLFrame, SetLightEnablesOnlyTheEightOpenGLLights)
{
    OPEN_SESSION(gl, 32, 32);
    gl->BeginFrame();
    QVSGLight light(1, 2, 3);
    light.SetAmbient(0.1, 0.2, 0.3, 1);
    light.SetDiffuse(0.4, 0.5, 0.6, 1);
    light.SetSpecular(0.7, 0.8, 0.9, 0.5);
    struct Case
    {
        int index;
        int enabled;  // the one light on afterwards, -1 for none
    };
    const Case cases[] = {{0, 0}, {3, 3}, {7, 7}, {8, -1}, {-1, -1}, {100, -1}};
    for (const Case& c : cases)
    {
        for (int i = 0; i < 8; ++i)
        {
            glDisable(GL_LIGHT0 + i);
        }
        EXPECT_TRUE(gl->SetLight(c.index, &light));
        for (int i = 0; i < 8; ++i)
        {
            EXPECT_EQ(glIsEnabled(GL_LIGHT0 + i) == GL_TRUE, i == c.enabled)
                << "SetLight(" << c.index << "): light " << i;
        }
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    // Colours as given; the position under the model-view matrix of the moment (eye space).
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(10, 0, 0);
    gl->SetLight(2, &light);
    GLfloat value[4];
    glGetLightfv(GL_LIGHT2, GL_POSITION, value);
    EXPECT_EQ((std::array<float, 4>{value[0], value[1], value[2], value[3]}),
              (std::array<float, 4>{11, 2, 3, 1}));
    glGetLightfv(GL_LIGHT2, GL_SPECULAR, value);
    EXPECT_EQ((std::array<float, 4>{value[0], value[1], value[2], value[3]}),
              (std::array<float, 4>{0.7f, 0.8f, 0.9f, 0.5f}));
    glGetLightfv(GL_LIGHT2, GL_AMBIENT, value);
    EXPECT_FLOAT_EQ(value[2], 0.3f);
    glGetLightfv(GL_LIGHT2, GL_DIFFUSE, value);
    EXPECT_FLOAT_EQ(value[1], 0.5f);

    EXPECT_TRUE(gl->EnableLighting(true));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(gl->EnableLighting(false));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
}

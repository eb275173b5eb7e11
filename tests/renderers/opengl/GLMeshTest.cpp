// Meshes drawn by the OpenGL renderer, read back from the frame: placement, lighting by light
// and material, the world's default material, and index arrays that point outside the vertices.
#include "renderers/QVRenderer.h"
#include "scene/QVSGCamera.h"
#include "scene/QVSGLight.h"
#include "scene/QVSGMaterial.h"
#include "scene/QVSGMesh.h"
#include "scene/QVSGWorld.h"
#include "tests/renderers/opengl/GLTestPlatform.h"
#include "tests/renderers/opengl/GLTestScene.h"
#include "tests/renderers/opengl/GLTestSession.h"

#include <gtest/gtest.h>

#include <array>

namespace
{
// 64 x 64 pixels with a 60 degree view: the unit quad at z = -3 covers pixels 14 to 50.
const int kSize = 64;
const int kCentre = 32;

struct Probe
{
    int x, y;
};
const Probe kCentreProbe = {kCentre, kCentre};
const Probe kRight = {46, kCentre};
const Probe kFarRight = {56, kCentre};
const Probe kUp = {kCentre, 46};
const Probe kLowerRight = {40, 24};
const Probe kUpperLeft = {24, 40};

bool Covered(Probe p) { return ReadRgb(p.x, p.y) != (Rgb{0, 0, 0}); }

void SetColours(QVSGMaterial& material, double ambient, std::array<double, 3> diffuse,
                double specular)
{
    material.ambient.Set(ambient, ambient, ambient, 0);
    material.diffuse.Set(diffuse[0], diffuse[1], diffuse[2], 0);
    material.specular.Set(specular, specular, specular, 0);
}
}  // namespace

TEST(GLMesh, PlacedByPositionThenRotationsThenScale)
{
    OPEN_SESSION(gl, kSize, kSize);
    struct Case
    {
        const char* what;
        std::array<double, 3> position, rotation, scale;
        std::vector<Probe> covered, uncovered;
    };
    const std::vector<Case> cases = {
        {"in front", {0, 0, -3}, {0, 0, 0}, {1, 1, 1}, {kCentreProbe}, {kFarRight}},
        {"moved right", {1.5, 0, -3}, {0, 0, 0}, {1, 1, 1}, {kFarRight}, {kCentreProbe}},
        // Turned about its own centre, then moved: still on the right, not above.
        {"turned then moved", {1.5, 0, -3}, {0, 0, 90}, {1, 1, 1}, {kFarRight}, {kUp}},
        {"narrowed", {0, 0, -3}, {0, 0, 0}, {0.5, 1, 1}, {kUp}, {kRight}},
        // Scaled, then turned: the narrow side now lies along y.
        {"narrowed then turned", {0, 0, -3}, {0, 0, 90}, {0.5, 1, 1}, {kRight}, {kUp}},
        {"turned away (culled)", {0, 0, -3}, {0, 180, 0}, {1, 1, 1}, {}, {kCentreProbe}},
        // Turned about x first, then moved: edge-on to the eye.
        {"edge-on", {0, 0, -5}, {90, 0, 0}, {1, 1, 1}, {}, {kCentreProbe}},
    };
    QVSGCamera camera;
    for (const Case& c : cases)
    {
        QVSGMesh mesh;
        BuildQuad(mesh, nullptr);
        mesh.SetPosition(c.position[0], c.position[1], c.position[2]);
        mesh.SetRotation(c.rotation[0], c.rotation[1], c.rotation[2]);
        mesh.SetScale(c.scale[0], c.scale[1], c.scale[2]);
        ASSERT_TRUE(gl->InitNode(&mesh));
        BeginSceneFrame(gl, camera, 60.0, nullptr);
        EXPECT_TRUE(gl->DrawNode(&mesh));
        for (Probe p : c.covered)
            EXPECT_TRUE(Covered(p)) << c.what << ": (" << p.x << ", " << p.y << ") not drawn";
        for (Probe p : c.uncovered)
            EXPECT_FALSE(Covered(p)) << c.what << ": (" << p.x << ", " << p.y << ") drawn";
        gl->ReleaseNode(&mesh);
    }
}

TEST(GLMesh, BrightnessFollowsTheLightAndTheMaterial)
{
    OPEN_SESSION(gl, kSize, kSize);
    // One light, far away on the eye's axis unless said otherwise; no specular light. The
    // global ambient light of OpenGL (0.2) meets the material's ambient colour as well.
    struct Case
    {
        const char* what;
        double materialAmbient;
        std::array<double, 3> materialDiffuse;
        double lightAmbient, lightDiffuse;
        std::array<double, 3> lightPosition;
        Rgb expected;
    };
    const Case cases[] = {
        {"red material", 0, {1, 0, 0}, 0, 1, {0, 0, 1000}, {255, 0, 0}},
        {"half light", 0, {1, 1, 1}, 0, 0.5, {0, 0, 1000}, {128, 128, 128}},
        {"material colour", 0, {0.2, 0.4, 0.6}, 0, 1, {0, 0, 1000}, {51, 102, 153}},
        {"light behind", 0, {1, 1, 1}, 0, 1, {0, 0, -1000}, {0, 0, 0}},
        {"light at 60 degrees", 0, {1, 1, 1}, 0, 1, {866.025, 0, 497}, {128, 128, 128}},
        {"ambient only", 1, {0, 0, 0}, 0.3, 0, {0, 0, 1000}, {128, 128, 128}},
    };
    QVSGCamera camera;
    for (const Case& c : cases)
    {
        QVSGMaterial material;
        SetColours(material, c.materialAmbient, c.materialDiffuse, 0);
        QVSGMesh mesh;
        BuildQuad(mesh, &material);
        mesh.SetPosition(0, 0, -3);
        QVSGLight light(c.lightPosition[0], c.lightPosition[1], c.lightPosition[2]);
        light.SetAmbient(c.lightAmbient, c.lightAmbient, c.lightAmbient, 1);
        light.SetDiffuse(c.lightDiffuse, c.lightDiffuse, c.lightDiffuse, 1);
        light.SetSpecular(0, 0, 0, 1);
        gl->InitNode(&mesh);
        BeginSceneFrame(gl, camera, 60.0, &light);
        gl->DrawNode(&mesh);
        const Rgb actual = ReadRgb(kCentre, kCentre);
        EXPECT_TRUE(Near(actual, c.expected, 3))
            << c.what << ": got " << actual[0] << "," << actual[1] << "," << actual[2];
        // The material's colours reach OpenGL opaque, whatever their own alpha (0 here).
        GLfloat diffuse[4] = {0, 0, 0, 0};
        glGetMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
        EXPECT_EQ(diffuse[3], 1.0f) << c.what;
        gl->ReleaseNode(&mesh);
    }
}

TEST(GLMesh, NormalsKeepTheirLengthWhenTheMeshIsScaled)
{
    OPEN_SESSION(gl, kSize, kSize);
    QVSGMaterial white;
    SetColours(white, 0, {1, 1, 1}, 0);
    QVSGMesh mesh;
    BuildQuad(mesh, &white);
    mesh.SetPosition(0, 0, -10);
    mesh.SetScale(3, 3, 3);
    QVSGLight light(0, 0, 1000);
    light.SetAmbient(0, 0, 0, 1);
    light.SetSpecular(0, 0, 0, 1);
    light.SetDiffuse(1, 1, 1, 1);
    QVSGCamera camera;
    gl->InitNode(&mesh);
    BeginSceneFrame(gl, camera, 60.0, &light);
    gl->DrawNode(&mesh);
    // Unscaled normals would be a third long: a third as bright.
    EXPECT_TRUE(Near(ReadRgb(kCentre, kCentre), Rgb{255, 255, 255}, 2));
    gl->ReleaseNode(&mesh);
}

TEST(GLMesh, AGroupWithoutMaterialIsDrawnWithTheWorldsDefaultMaterial)
{
    OPEN_SESSION(gl, kSize, kSize);
    QVSGWorld world;
    ASSERT_TRUE(gl->InitNode(&world));
    // The default material copied by hand, and a red one to tell them apart.
    QVSGMaterial copy;
    QVSGMaterial& original = world.GetDefaultMaterial();
    copy.ambient = original.ambient;
    copy.diffuse = original.diffuse;
    copy.specular = original.specular;
    copy.shininess = original.shininess;
    QVSGMaterial red;
    SetColours(red, 0, {1, 0, 0}, 0);

    QVSGLight light(0, 0, 1000);
    light.SetAmbient(0, 0, 0, 1);
    light.SetDiffuse(0.3, 0.3, 0.3, 1);
    light.SetSpecular(0, 0, 0, 1);
    QVSGCamera camera;
    auto draw = [&](QVSGMaterial* material)
    {
        QVSGMesh mesh;
        BuildQuad(mesh, material);
        mesh.SetPosition(0, 0, -3);
        gl->InitNode(&mesh);
        BeginSceneFrame(gl, camera, 60.0, &light);
        gl->DrawNode(&mesh);
        gl->ReleaseNode(&mesh);
        return ReadRgb(kCentre, kCentre);
    };
    const Rgb withoutMaterial = draw(nullptr);
    GLfloat shininess = 0;
    glGetMaterialfv(GL_FRONT, GL_SHININESS, &shininess);
    EXPECT_EQ(shininess, 32.0f);
    EXPECT_EQ(withoutMaterial, draw(&copy));
    // Ambient 1 under the global 0.2, diffuse 0.9 under 0.3: 0.47.
    EXPECT_TRUE(Near(withoutMaterial, Rgb{120, 120, 120}, 3));
    EXPECT_NE(withoutMaterial, draw(&red));
}

TEST(GLMesh, TrianglesWithIndexesOutsideTheVerticesAreSkipped)
{
    OPEN_SESSION(gl, kSize, kSize);
    struct Case
    {
        const char* what;
        std::vector<std::int32_t> indices;
        int first, count;  // the face group's range
        bool lowerRight, upperLeft;
    };
    // The first triangle (0, 2, 1) covers the lower right half, the second the upper left.
    const Case cases[] = {
        {"all inside", kQuadIndices, 0, 6, true, true},
        {"vertex count", {0, 2, 1, 0, 3, 4}, 0, 6, true, false},
        {"far beyond", {0, 2, 1, 0, 2000000000, 2}, 0, 6, true, false},
        {"negative", {0, 2, -1, 0, 3, 2}, 0, 6, false, true},
        {"range past the index array", kQuadIndices, 3, 6, false, true},
        {"range before the index array", kQuadIndices, -3, 6, true, false},
        {"incomplete triangle", kQuadIndices, 0, 5, true, false},
        {"a bad triangle between whole ones", {0, 2, 1, 5, 5, 5, 0, 3, 2}, 0, 9, true, true},
        {"range starting before the array off the grid", {7, 0, 2, 1, 0, 3, 2}, -2, 9, true, true},
    };
    QVSGCamera camera;
    for (const Case& c : cases)
    {
        QVSGMesh mesh;
        BuildQuad(mesh, nullptr, c.indices);
        mesh.GetFaceGroup(0).SetFirstIndex(c.first);
        mesh.GetFaceGroup(0).SetIndexCount(c.count);
        mesh.SetPosition(0, 0, -3);
        gl->InitNode(&mesh);
        BeginSceneFrame(gl, camera, 60.0, nullptr);
        EXPECT_TRUE(gl->DrawNode(&mesh)) << c.what;
        EXPECT_EQ(Covered(kLowerRight), c.lowerRight) << c.what;
        EXPECT_EQ(Covered(kUpperLeft), c.upperLeft) << c.what;
        gl->ReleaseNode(&mesh);
    }
}

#include "tests/gl/webgl/LayerScenes.h"

#include "apps/common/DemoScene.h"
#include "gl/QVGL.h"
#include "loaders/QVImage.h"
#include "renderers/QVRenderer.h"
#include "scene/QVColor.h"
#include "scene/QVSGCamera.h"
#include "scene/QVSGLight.h"
#include "scene/QVSGMaterial.h"
#include "scene/QVSGMesh.h"
#include "tests/gl/webgl/FixedFunctionScene.h"

#include <cmath>
#include <cstring>

namespace
{
const double kPi = 3.14159265358979323846;

void DrawTestFrame(QVRenderer& renderer) { renderer.TestFrame(0); }

// Frames of the ray tracer's progressive picture before it is read.
const int kTracedFrames = 8;

void DrawTracedDemo(QVRenderer& renderer)
{
    DemoScene scene;
    scene.Build();
    scene.Bind(&renderer);
    for (int frame = 0; frame < kTracedFrames; ++frame)
    {
        scene.world.Render();
    }
    scene.world.ReleaseHard(&renderer);
}

// A sphere of radius r around the origin, clockwise seen from outside (the renderer's front
// faces), u around and v from the bottom.
void BuildSphere(QVSGMesh& mesh, QVSGMaterial& material, double r, int slices, int stacks)
{
    const int columns = slices + 1;
    mesh.ResizeVertices(columns * (stacks + 1));
    for (int i = 0; i <= stacks; ++i)
    {
        const double polar = kPi * i / stacks;  // 0 at the bottom
        for (int j = 0; j <= slices; ++j)
        {
            const double around = 2.0 * kPi * j / slices;
            const double nx = std::sin(polar) * std::cos(around);
            const double ny = -std::cos(polar);
            const double nz = -std::sin(polar) * std::sin(around);
            QVVertex& v = mesh.GetVertex(i * columns + j);
            v.SetPosition(r * nx, r * ny, r * nz);
            v.SetNormal(float(nx), float(ny), float(nz));
            v.SetUV(float(j) / slices, float(i) / stacks);
        }
    }
    mesh.ResizeIndices(6 * slices * stacks);
    int k = 0;
    for (int i = 0; i < stacks; ++i)
    {
        for (int j = 0; j < slices; ++j)
        {
            const int a = i * columns + j;
            const int b = a + 1;
            const int c = a + columns;
            const int d = c + 1;
            const int corners[6] = {a, c, b, b, c, d};
            for (int corner : corners)
            {
                mesh.GetIndex(k++) = corner;
            }
        }
    }
    mesh.ResizeFaceGroups(1);
    mesh.GetFaceGroup(0).SetMaterial(&material);
    mesh.GetFaceGroup(0).SetFirstIndex(0);
    mesh.GetFaceGroup(0).SetIndexCount(6 * slices * stacks);
}

// The quad (-1, -1, 0) .. (1, 1, 0) facing +z.
void BuildQuad(QVSGMesh& mesh, QVSGMaterial& material)
{
    const double corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    mesh.ResizeVertices(4);
    for (int i = 0; i < 4; ++i)
    {
        QVVertex& v = mesh.GetVertex(i);
        v.SetPosition(corners[i][0], corners[i][1], 0.0);
        v.SetNormal(0.0f, 0.0f, 1.0f);
        v.SetUV(float(corners[i][0] + 1) / 2, float(corners[i][1] + 1) / 2);
    }
    const int indices[6] = {0, 2, 1, 0, 3, 2};
    mesh.ResizeIndices(6);
    for (int i = 0; i < 6; ++i)
    {
        mesh.GetIndex(i) = indices[i];
    }
    mesh.ResizeFaceGroups(1);
    mesh.GetFaceGroup(0).SetMaterial(&material);
    mesh.GetFaceGroup(0).SetFirstIndex(0);
    mesh.GetFaceGroup(0).SetIndexCount(6);
}

// Coloured checks with a gradient, blue green red, 40 x 24: scaled to 32 x 32 for the mipmaps.
void FillBgrChecks(QVImage& image)
{
    const int width = 40;
    const int height = 24;
    image.SetSize(width, height, 24);
    std::uint8_t* p = static_cast<std::uint8_t*>(image.GetPixels());
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x, p += 3)
        {
            const bool light = ((x / 5) + (y / 4)) % 2 == 0;
            p[0] = static_cast<std::uint8_t>(light ? 40 + 5 * x : 20);   // blue
            p[1] = static_cast<std::uint8_t>(light ? 230 : 60 + 6 * y);  // green
            p[2] = static_cast<std::uint8_t>(light ? 250 : 180);         // red
        }
    }
}

// Rings of grey, 20 x 12 bytes: a non-mipmapped texture of a size that is no power of two.
void FillLuminanceRings(QVImage& image)
{
    const int width = 20;
    const int height = 12;
    image.SetSize(width, height, 8);
    std::uint8_t* p = static_cast<std::uint8_t*>(image.GetPixels());
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            const double d = std::hypot(x - 9.5, (y - 5.5) * 1.6);
            p[y * width + x] = static_cast<std::uint8_t>(int(d) % 3 == 0 ? 250 : 70);
        }
    }
}

void DrawLitTexturedMeshes(QVRenderer& renderer)
{
    QVImage checks;
    FillBgrChecks(checks);
    checks.SetMipmapMode(1);
    QVImage rings;
    FillLuminanceRings(rings);
    renderer.InitNode(&checks);
    renderer.InitNode(&rings);

    QVSGMaterial shiny;
    shiny.ambient.Set(0.3, 0.3, 0.3, 1);
    shiny.diffuse.Set(0.9, 0.9, 0.9, 1);
    shiny.specular.Set(0.8, 0.8, 0.8, 1);
    shiny.shininess = 24;
    shiny.texture = &checks;
    QVSGMaterial matt;
    matt.ambient.Set(0.2, 0.2, 0.3, 1);
    matt.diffuse.Set(0.6, 0.8, 1.0, 1);
    matt.specular.Set(0, 0, 0, 1);
    matt.shininess = 0;
    matt.texture = &rings;

    QVSGMesh sphere;
    BuildSphere(sphere, shiny, 1.0, 32, 16);
    sphere.SetPosition(0.5, 0.1, 0);
    sphere.SetRotation(20, 30, 0);
    sphere.SetScale(1.2, 1.2, 1.2);
    QVSGMesh quad;
    BuildQuad(quad, matt);
    quad.SetPosition(-1.6, -0.4, 0.4);
    quad.SetRotation(-30, 35, 10);
    quad.SetScale(0.9, 0.7, 1);
    renderer.InitNode(&sphere);
    renderer.InitNode(&quad);

    QVSGCamera camera;
    camera.SetPerspective(60.0, 4.0 / 3.0, 0.1, 100.0);
    camera.SetPosition(0.3, 0.8, 4.5);
    camera.LookAt(QVVector(0, 0, 0));
    camera.BuildView();
    QVSGLight light(3, 4, 5);
    light.SetAmbient(0.1, 0.1, 0.1, 1);
    light.SetDiffuse(0.9, 0.85, 0.8, 1);
    light.SetSpecular(1, 1, 1, 1);

    renderer.BeginFrame();
    QVColor background(0.1, 0.12, 0.2, 1);
    renderer.SetClearColour(&background);
    renderer.Clear(true, true, false);
    renderer.SetProjection(&camera);
    renderer.SetView(&camera);
    renderer.EnableLighting(true);
    renderer.SetLight(0, &light);
    renderer.DrawNode(&sphere);
    renderer.DrawNode(&quad);
    renderer.EndFrame();

    renderer.ReleaseNode(&sphere);
    renderer.ReleaseNode(&quad);
    renderer.ReleaseNode(&checks);
    renderer.ReleaseNode(&rings);
}
}  // namespace

const std::vector<LayerScene>& LayerScenes()
{
    static const std::vector<LayerScene> scenes = {
        {"testframe", "qvoglrenderer.qvm", 400, 300, DrawTestFrame},
        {"lit-textured-meshes", "qvoglrenderer.qvm", 320, 240, DrawLitTexturedMeshes},
        {"traced-demo", "qvraytracer.qvm", 200, 150, DrawTracedDemo},
        {"fixed-function-features", "qvoglrenderer.qvm", 320, 240, DrawFixedFunctionFeatures},
    };
    return scenes;
}

std::vector<std::uint8_t> ReadFrame(int width, int height)
{
    const std::size_t row = static_cast<std::size_t>(width) * 3;
    std::vector<std::uint8_t> bottomUp(row * height);
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    std::vector<std::uint8_t> topDown(bottomUp.size());
    for (int y = 0; y < height; ++y)
    {
        std::memcpy(&topDown[y * row], &bottomUp[(height - 1 - y) * row], row);
    }
    return topDown;
}

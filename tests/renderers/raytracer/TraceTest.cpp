// The trace on scenes small enough to work out by hand: misses, caching, ties, lights,
// specular powers, open boxes, planes and colour bounds.
#include "renderers/raytracer/PixelRay.h"
#include "renderers/raytracer/QVSGPlane.h"
#include "renderers/raytracer/RayScene.h"
#include "scene/QVSGBox.h"
#include "scene/QVSGLight.h"
#include "scene/QVSGMaterial.h"
#include "scene/QVSGSphere.h"
#include "scene/QVSGWorld.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <random>
#include <vector>

namespace
{
// A material that shows only its base colour when no light shines.
void SetBase(QVSGMaterial& material, double r, double g, double b)
{
    material.baseColour.Set(r, g, b, 1.0);
}

struct Scene
{
    QVSGWorld world;
    std::vector<std::unique_ptr<QVSGNode>> nodes;
    RayScene snapshot;

    QVSGSphere& AddSphere(double x, double y, double z, double radius, QVSGMaterial& material)
    {
        auto sphere = std::make_unique<QVSGSphere>(radius, 4);
        sphere->BuildSphere();
        sphere->SetPosition(x, y, z);
        sphere->SetMaterial(&material, 0, false);
        world.AddObject(sphere.get());
        nodes.push_back(std::move(sphere));
        return static_cast<QVSGSphere&>(*nodes.back());
    }

    QVSGLight& AddLight(double x, double y, double z)
    {
        auto light = std::make_unique<QVSGLight>(x, y, z);
        light->SetAmbient(0, 0, 0, 0);
        light->SetDiffuse(0.5, 0.5, 0.5, 1);
        light->SetSpecular(1, 1, 1, 1);
        world.AddLight(light.get());
        nodes.push_back(std::move(light));
        return static_cast<QVSGLight&>(*nodes.back());
    }

    const RayScene& Capture()
    {
        snapshot.Capture(&world);
        return snapshot;
    }
};

PixelRay Ray(double ox, double oy, double oz, double dx, double dy, double dz)
{
    PixelRay ray;
    ray.origin = RayVec{ox, oy, oz};
    ray.direction = RayVec{dx, dy, dz};
    ray.direction.Normalize();
    return ray;
}

void ExpectColour(const RayColour& c, double r, double g, double b)
{
    EXPECT_DOUBLE_EQ(c.r, r);
    EXPECT_DOUBLE_EQ(c.g, g);
    EXPECT_DOUBLE_EQ(c.b, b);
}
}  // namespace

TEST(TraceTest, MissGivesBackgroundAndFalse)
{
    Scene scene;
    scene.world.GetBackground().Set(0.25, 0.5, 0.75, 1.0);
    QVSGMaterial red;
    scene.AddSphere(0, 0, -5, 1, red);
    PixelRay ray = Ray(0, 0, 0, 0, 1, 0);
    EXPECT_FALSE(ray.Trace(scene.Capture(), 3));
    EXPECT_TRUE(ray.traced);
    ExpectColour(ray.colour, 0.25, 0.5, 0.75);
    EXPECT_DOUBLE_EQ(ray.colour.a, 1.0);
}

TEST(TraceTest, TracedRayKeepsItsResult)
{
    Scene first;
    QVSGMaterial red;
    SetBase(red, 1, 0, 0);
    first.AddSphere(0, 0, -5, 1, red);
    PixelRay ray = Ray(0, 0, 0, 0, 0, -1);
    EXPECT_TRUE(ray.Trace(first.Capture(), 3));
    ExpectColour(ray.colour, 1, 0, 0);

    // A different world: the cached ray is not traced again.
    Scene second;
    second.world.GetBackground().Set(0, 0, 1, 0);
    EXPECT_TRUE(ray.Trace(second.Capture(), 3));
    ExpectColour(ray.colour, 1, 0, 0);

    ray.traced = false;
    EXPECT_FALSE(ray.Trace(second.snapshot, 3));
    ExpectColour(ray.colour, 0, 0, 1);
}

TEST(TraceTest, EqualDistanceLaterObjectWinsNearerAlwaysWins)
{
    Scene scene;
    QVSGMaterial red, green, blue;
    SetBase(red, 1, 0, 0);
    SetBase(green, 0, 1, 0);
    SetBase(blue, 0, 0, 1);
    scene.AddSphere(0, 0, -5, 1, red);
    scene.AddSphere(0, 0, -5, 1, green);
    PixelRay tie = Ray(0, 0, 0, 0, 0, -1);
    EXPECT_TRUE(tie.Trace(scene.Capture(), 3));
    ExpectColour(tie.colour, 0, 1, 0);

    // A farther object later in the list does not replace the nearer one.
    scene.AddSphere(0, 0, -9, 1, blue);
    PixelRay behind = Ray(0, 0, 0, 0, 0, -1);
    behind.Trace(scene.Capture(), 3);
    ExpectColour(behind.colour, 0, 1, 0);
}

TEST(TraceTest, AttenuationZeroIsFullStrengthAndFactorIsCapped)
{
    // Hit point (0, 0, 1), normal (0, 0, 1); the light 2 units straight out.
    struct Case
    {
        double constant;
        double expected;
    };
    for (const Case& c : {Case{0.0, 0.5}, Case{0.5, 0.5}, Case{1.0, 0.5}, Case{4.0, 0.125}})
    {
        Scene scene;
        QVSGMaterial white;
        white.diffuse.Set(1, 1, 1, 1);
        scene.AddSphere(0, 0, 0, 1, white);
        scene.AddLight(0, 0, 3).SetAttenuation(c.constant, 0, 0);
        PixelRay ray = Ray(0, 0, 5, 0, 0, -1);
        EXPECT_TRUE(ray.Trace(scene.Capture(), 0));
        EXPECT_DOUBLE_EQ(ray.colour.r, c.expected) << "constant attenuation " << c.constant;
    }
}

TEST(TraceTest, ShininessZeroHasNoSpecularOneSquaresTheBase)
{
    // The light sits at (0, 4, 4): from the hit point (0, 0, 1) its direction is (0, 0.8, 0.6),
    // the mirror direction is (0, 0, 1), so the specular base is 0.6.
    for (unsigned shininess : {0u, 1u, 3u})
    {
        Scene scene;
        QVSGMaterial shiny;
        shiny.specular.Set(1, 1, 1, 1);
        shiny.shininess = static_cast<std::uint16_t>(shininess);
        scene.AddSphere(0, 0, 0, 1, shiny);
        scene.AddLight(0, 4, 4);
        PixelRay ray = Ray(0, 0, 5, 0, 0, -1);
        ray.Trace(scene.Capture(), 0);
        double expected = 0.0;
        if (shininess == 1)
            expected = 0.36;
        if (shininess == 3)
            expected = 0.6 * 0.6 * 0.6 * 0.6;
        EXPECT_NEAR(ray.colour.g, expected, 1e-12) << "shininess " << shininess;
    }
}

TEST(TraceTest, OpenBoxCountsEnabledFacesOnly)
{
    Scene scene;
    QVSGBox box(2 | 16, 0);  // top and front only
    ASSERT_TRUE(box.BuildBox());
    ASSERT_EQ(box.GetFaceGroupCount(), 2);
    QVSGMaterial top, front;
    SetBase(top, 1, 0, 0);
    SetBase(front, 0, 1, 0);
    box.SetMaterial(&top, 0, false);
    box.SetMaterial(&front, 1, false);
    scene.world.AddObject(&box);
    scene.world.GetBackground().Set(0, 0, 1, 0);
    const RayScene& snapshot = scene.Capture();

    PixelRay fromFront = Ray(0.5, 0.5, 5, 0, 0, -1);
    EXPECT_TRUE(fromFront.Trace(snapshot, 0));
    EXPECT_EQ(fromFront.faceIndex, 1);
    ExpectColour(fromFront.colour, 0, 1, 0);

    PixelRay fromAbove = Ray(0.5, 5, 0.5, 0, -1, 0);
    EXPECT_TRUE(fromAbove.Trace(snapshot, 0));
    EXPECT_EQ(fromAbove.faceIndex, 0);
    ExpectColour(fromAbove.colour, 1, 0, 0);

    // The sides and the back are open, and a face is never hit from behind.
    PixelRay fromSide = Ray(5, 0, 0, -1, 0, 0);
    EXPECT_FALSE(fromSide.Trace(snapshot, 0));
    PixelRay fromBehind = Ray(0.5, 0.5, -5, 0, 0, 1);
    EXPECT_FALSE(fromBehind.Trace(snapshot, 0));
    // The edge belongs to the face (bounds are inclusive).
    PixelRay onEdge = Ray(1, 1, 5, 0, 0, -1);
    EXPECT_TRUE(onEdge.Trace(snapshot, 0));
}

TEST(TraceTest, PlaneIsInvisibleFromBehindAndNeverShadows)
{
    Scene scene;
    QVSGPlane floor;  // y = 0, facing up
    ASSERT_TRUE(floor.ResizeFaceGroups(1));
    QVSGMaterial grey, white;
    SetBase(grey, 0.5, 0.5, 0.5);
    floor.SetMaterial(&grey, 0, false);
    white.diffuse.Set(1, 1, 1, 1);
    scene.world.AddObject(&floor);
    scene.AddSphere(0, 2, 0, 1, white);
    scene.AddLight(0, -5, 0);  // below the floor
    const RayScene& snapshot = scene.Capture();

    PixelRay fromAbove = Ray(3, 5, 0, 0, -1, 0);
    EXPECT_TRUE(fromAbove.Trace(snapshot, 0));
    EXPECT_DOUBLE_EQ(fromAbove.colour.r, 0.5);

    // From below the floor is not there; the sphere's underside is lit through it.
    PixelRay fromBelow = Ray(0, -3, 0, 0, 1, 0);
    EXPECT_TRUE(fromBelow.Trace(snapshot, 0));
    ExpectColour(fromBelow.colour, 0.5, 0.5, 0.5);
}

TEST(TraceTest, ShadowBlocksTheLight)
{
    Scene scene;
    QVSGMaterial white;
    white.diffuse.Set(1, 1, 1, 1);
    scene.AddSphere(0, 0, 0, 1, white);
    scene.AddSphere(0, 0, 3, 0.5, white);  // between the hit point and the light
    scene.AddLight(0, 0, 6);
    PixelRay ray = Ray(2, 0, 0.99, -1, 0, 0);
    PixelRay lit = Ray(0, 2, 0, 0, -1, 0);
    const RayScene& snapshot = scene.Capture();
    EXPECT_TRUE(ray.Trace(snapshot, 0));
    EXPECT_DOUBLE_EQ(ray.colour.r, 0.0);
    EXPECT_TRUE(lit.Trace(snapshot, 0));
}

TEST(TraceTest, TransparentSphereShowsWhatLiesBehind)
{
    Scene scene;
    QVSGMaterial glass, wallColour;
    glass.transparency = 0.5;
    SetBase(wallColour, 0, 0, 1);
    scene.AddSphere(0, 0, 0, 1, glass);
    QVSGBox wall(16, 0);
    ASSERT_TRUE(wall.BuildBox());
    wall.SetScale(5, 5, 0.1);
    wall.SetPosition(0, 0, -4);
    wall.SetMaterial(&wallColour, 0, true);
    scene.world.AddObject(&wall);
    PixelRay ray = Ray(0.3, 0.2, 5, 0, 0, -1);
    EXPECT_TRUE(ray.Trace(scene.Capture(), 1));
    ExpectColour(ray.colour, 0, 0, 0.5);

    // No depth left: no transparency ray.
    PixelRay shallow = Ray(0.3, 0.2, 5, 0, 0, -1);
    shallow.Trace(scene.snapshot, 0);
    ExpectColour(shallow.colour, 0, 0, 0);
}

TEST(TraceTest, MirrorAddsTheReflectedColour)
{
    Scene scene;
    QVSGMaterial mirror, red;
    mirror.reflectivity = 0.5;
    SetBase(red, 1, 0, 0);
    QVSGBox floor(2, 0);  // top face at y = 1
    ASSERT_TRUE(floor.BuildBox());
    floor.SetScale(10, 1, 10);
    floor.SetPosition(0, 0, 0);
    floor.SetMaterial(&mirror, 0, false);
    scene.world.AddObject(&floor);
    scene.AddSphere(4, 3, 0, 1, red);
    // Down at 45 degrees onto (2, 1, 0), up again into the sphere.
    PixelRay ray = Ray(0, 3, 0, 1, -1, 0);
    EXPECT_TRUE(ray.Trace(scene.Capture(), 1));
    ExpectColour(ray.colour, 0.5, 0, 0);
}

TEST(TraceTest, ColourSumsStayInRange)
{
    Scene scene;
    QVSGMaterial bright;
    bright.baseColour.Set(0.9, 0.9, 0.9, 0.9);
    bright.ambient.Set(5, 5, 5, 5);
    bright.diffuse.Set(5, 5, 5, 5);
    bright.specular.Set(5, 5, 5, 5);
    bright.reflectivity = 3.0;
    bright.transparency = 2.0;
    bright.shininess = 1;
    QVSGBox room(63, 1);
    ASSERT_TRUE(room.BuildBox());
    room.SetScale(10, 10, 10);
    room.SetMaterial(&bright, 0, true);
    scene.world.AddObject(&room);
    scene.AddSphere(0, 0, 0, 2, bright);
    for (int i = 0; i < 3; ++i)
    {
        QVSGLight& light = scene.AddLight(i - 1.0, 5, 3);
        light.SetAmbient(2, 2, 2, 2);
        light.SetDiffuse(3, 3, 3, 3);
    }
    const RayScene& snapshot = scene.Capture();
    std::mt19937 random(7);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    for (int i = 0; i < 500; ++i)
    {
        PixelRay ray = Ray(0, 0, 6, unit(random), unit(random), unit(random));
        ray.Trace(snapshot, 3);
        for (double v : {ray.colour.r, ray.colour.g, ray.colour.b, ray.colour.a})
        {
            ASSERT_GE(v, 0.0);
            ASSERT_LE(v, 1.0);
        }
    }
}

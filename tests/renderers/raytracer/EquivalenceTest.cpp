// The fast trace (vectors in place, pooled secondary rays, a flat scene snapshot) must give bit
// for bit what the plain trace on QVVectors and QVColors gives, on many rays.
#include "ReferenceTracer.h"
#include "apps/common/DemoScene.h"
#include "renderers/raytracer/PixelRay.h"
#include "renderers/raytracer/PrimaryRays.h"
#include "renderers/raytracer/QVSGPlane.h"
#include "renderers/raytracer/RayScene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

namespace
{
bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Traces one ray both ways and reports the first difference.
::testing::AssertionResult TraceBothWays(QVSGWorld& world, const RayScene& scene,
                                         const RayVec& origin, const RayVec& direction, int depth)
{
    PixelRay fast;
    fast.origin = origin;
    fast.direction = direction;
    ReferenceRay plain;
    plain.origin.Set(origin.x, origin.y, origin.z, 0.0);
    plain.direction.Set(direction.x, direction.y, direction.z, 0.0);
    const bool fastHit = fast.Trace(scene, depth);
    const bool plainHit = plain.Trace(world, depth);
    if (fastHit != plainHit)
        return ::testing::AssertionFailure() << "hit " << fastHit << " vs " << plainHit;
    const double f[4] = {fast.colour.r, fast.colour.g, fast.colour.b, fast.colour.a};
    const double p[4] = {plain.colour.r, plain.colour.g, plain.colour.b, plain.colour.a};
    for (int i = 0; i < 4; ++i)
        if (!SameBits(f[i], p[i]))
            return ::testing::AssertionFailure()
                   << "component " << i << ": " << f[i] << " vs " << p[i];
    return ::testing::AssertionSuccess();
}

void TraceRandomRays(QVSGWorld& world, int count, double spread, unsigned seed)
{
    RayScene scene;
    scene.Capture(&world);
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> position(-spread, spread);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    for (int i = 0; i < count; ++i)
    {
        RayVec origin{position(random), position(random) * 0.5 + 2.0, position(random)};
        RayVec direction{unit(random), unit(random), unit(random)};
        direction.Normalize();
        ASSERT_TRUE(TraceBothWays(world, scene, origin, direction, 3)) << "ray " << i;
    }
}
}  // namespace

TEST(EquivalenceTest, DemoScenePrimaryRays)
{
    DemoScene demo;
    demo.Build();
    RayScene scene;
    scene.Capture(&demo.world);
    const PrimaryRays rays(*demo.world.GetCamera(), 160, 120);
    // As qvrender traces: the terms of the eye are worked out once for all primary rays.
    scene.SetEye(rays.GetEye());
    int checked = 0;
    rays.ForEach(
        [&](std::int64_t index, const RayVec& direction)
        {
            ASSERT_TRUE(TraceBothWays(demo.world, scene, rays.GetEye(), direction, 3))
                << "pixel " << index;
            ++checked;
        });
    EXPECT_EQ(checked, 160 * 120);
}

TEST(EquivalenceTest, DemoSceneRandomRays)
{
    DemoScene demo;
    demo.Build();
    TraceRandomRays(demo.world, 20000, 12.0, 11);
}

TEST(EquivalenceTest, TransparentShapesPlanesAndOpenBoxes)
{
    DemoScene demo;
    demo.Build();
    QVSGMaterial glass;
    glass.transparency = 0.7;
    glass.reflectivity = 0.2;
    glass.diffuse.Set(0.2, 0.3, 0.9, 1);
    glass.specular.Set(1, 1, 1, 1);
    glass.shininess = 5;
    QVSGSphere bubble(1.5, 4);
    bubble.BuildSphere();
    bubble.SetPosition(0, 2, 3);
    bubble.SetMaterial(&glass, 0, false);
    QVSGBox crate(1 | 2 | 8 | 32, 0);
    crate.BuildBox();
    crate.SetScale(1, 2, 0.5);
    crate.SetPosition(4, 1, -2);
    crate.SetMaterial(&glass, 0, true);
    QVSGPlane ground;
    ground.ResizeFaceGroups(1);
    ground.SetMaterial(&demo.green, 0, false);
    ground.SetDistance(-3.0);
    QVSGLight second(-5, 8, 6);
    second.SetAttenuation(0.5, 0.05, 0.001);
    demo.world.AddObject(&bubble);
    demo.world.AddObject(&crate);
    demo.world.AddObject(&ground);
    demo.world.AddLight(&second);
    TraceRandomRays(demo.world, 20000, 10.0, 5);
}

// Rays passing each object at about its bounding radius, where the squared distance alone cannot
// decide the bounding test, from the eye (with its terms) and from elsewhere.
TEST(EquivalenceTest, RaysGrazingTheBoundingSpheres)
{
    DemoScene demo;
    demo.Build();
    QVSGPlane ground;
    ground.ResizeFaceGroups(1);
    ground.SetMaterial(&demo.green, 0, false);
    ground.SetDistance(-3.0);
    demo.world.AddObject(&ground);
    RayScene scene;
    scene.Capture(&demo.world);
    const RayVec eye{2.0, 3.5, 8.0};
    scene.SetEye(eye);
    const RayVec origins[] = {eye, {-0.0, 2.0, 0.5}, {7.0, 1.0, -3.0}};
    const double factors[] = {1 - 1e-6, 1 - 1e-12, 1 - 1e-13, 1, 1 + 1e-13, 1 + 1e-12, 1 + 1e-6};
    for (const RayScene::Object& object : scene.GetObjects())
    {
        for (const RayVec& origin : origins)
        {
            // The line from the origin whose nearest point lies factor x the radius from the
            // centre: turned from the centre's direction towards a unit vector across it.
            RayVec toCentre = object.centre - origin;
            const double distance = toCentre.Normalize();
            // Level, and up at 45 degrees: towards a box's edge, which reaches past the radius.
            RayVec level{-toCentre.z, 0.0, toCentre.x};
            if (level.Normalize() == 0.0)
                level = RayVec{1.0, 0.0, 0.0};
            RayVec raised = level + RayVec{0.0, 1.0, 0.0};
            raised = raised - toCentre * raised.Dot(toCentre);
            raised.Normalize();
            for (const RayVec& across : {level, raised})
                for (double factor : factors)
                {
                    const double sine = object.boundRadius * factor / distance;
                    if (!(sine < 1.0))
                        continue;  // the origin lies inside the bounding sphere
                    RayVec direction = toCentre * std::sqrt(1.0 - sine * sine) + across * sine;
                    direction.Normalize();
                    ASSERT_TRUE(TraceBothWays(demo.world, scene, origin, direction, 3))
                        << "object at " << object.centre.x << ", factor " << factor;
                }
        }
    }
}

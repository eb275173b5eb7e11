// The progressive image: generation of primary rays and the refinement schedule.
#include "renderers/raytracer/PrimaryRays.h"
#include "renderers/raytracer/RayImage.h"
#include "renderers/raytracer/RayScene.h"
#include "scene/QVSGCamera.h"
#include "scene/QVSGWorld.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

namespace
{
void Aim(QVSGCamera& camera, double x, double y, double z)
{
    camera.SetPerspective(70.0, 4.0 / 3.0, 0.1, 1000.0);
    camera.SetPosition(x, y, z);
    camera.LookAt(QVVector(0, 0, 0));
    camera.BuildView();
}

std::size_t TracedCount(RayImage& image)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < image.GetCount(); ++i)
        count += image.GetRay(i).traced ? 1 : 0;
    return count;
}
}  // namespace

TEST(ProgressiveImageTest, ScheduleOfA200x150Image)
{
    QVSGWorld world;
    RayScene scene;
    scene.Capture(&world);
    QVSGCamera camera;
    Aim(camera, 2, 3.5, 8);
    RayImage image;
    ASSERT_TRUE(image.Allocate(200, 150));
    EXPECT_EQ(image.GetLimit(), 20);

    // Frame 1 regenerates: every 20th ray.
    image.SetView(camera);
    EXPECT_EQ(image.GetLevel(), 0);
    EXPECT_EQ(image.TracePass(scene, 3), 1500u);
    EXPECT_TRUE(image.GetRay(0).traced);
    EXPECT_TRUE(image.GetRay(20).traced);
    EXPECT_FALSE(image.GetRay(19).traced);
    EXPECT_EQ(TracedCount(image), 1500u);

    // Frames 2 to 20 refine; frame 20 has stride 1 and completes the image.
    for (int frame = 2; frame <= 20; ++frame)
    {
        image.SetView(camera);
        EXPECT_EQ(image.GetLevel(), frame - 1);
        image.TracePass(scene, 3);
    }
    EXPECT_EQ(TracedCount(image), 30000u);

    // Frame 21 traces nothing and the level stays at the limit.
    image.SetView(camera);
    EXPECT_EQ(image.GetLevel(), 20);
    EXPECT_EQ(image.TracePass(scene, 3), 0u);
    image.SetView(camera);
    EXPECT_EQ(image.GetLevel(), 20);
}

TEST(ProgressiveImageTest, EveryMoveRegeneratesEvenBackToTheSamePose)
{
    QVSGWorld world;
    RayScene scene;
    scene.Capture(&world);
    QVSGCamera camera;
    RayImage image;
    ASSERT_TRUE(image.Allocate(100, 10));
    Aim(camera, 0, 0, 5);
    image.SetView(camera);
    image.SetView(camera);
    EXPECT_EQ(image.GetLevel(), 1);
    image.TracePass(scene, 0);
    Aim(camera, 0, 0, 6);
    image.SetView(camera);
    EXPECT_EQ(image.GetLevel(), 0);
    EXPECT_EQ(TracedCount(image), 0u);
    Aim(camera, 0, 0, 5);
    image.SetView(camera);
    EXPECT_EQ(image.GetLevel(), 0);

    // A camera at the origin looking at the origin counts as not moved on the first frame.
    RayImage still;
    ASSERT_TRUE(still.Allocate(100, 10));
    QVSGCamera origin;
    still.SetView(origin);
    EXPECT_EQ(still.GetLevel(), 1);
}

TEST(ProgressiveImageTest, RowEndsAreAlwaysTracedAndNarrowImagesNeverRefine)
{
    QVSGWorld world;
    RayScene scene;
    scene.Capture(&world);
    QVSGCamera camera;
    Aim(camera, 0, 0, 5);
    RayImage image;
    ASSERT_TRUE(image.Allocate(8, 4));  // limit 0
    EXPECT_EQ(image.GetLimit(), 0);
    image.SetView(camera);
    EXPECT_EQ(image.TracePass(scene, 0), 0u);
    image.TraceRowEnds(scene, 0);
    for (int row = 0; row < 3; ++row)
    {
        EXPECT_TRUE(image.GetRay(row, 0).traced);
        EXPECT_TRUE(image.GetRay(row, 7).traced);
        EXPECT_FALSE(image.GetRay(row, 3).traced);
    }
    EXPECT_FALSE(image.GetRay(3, 0).traced);  // the last row only closes the last strip
}

TEST(ProgressiveImageTest, InvalidSizesAllocateNothing)
{
    RayImage image;
    EXPECT_FALSE(image.Allocate(0, 10));
    EXPECT_FALSE(image.Allocate(10, -1));
    EXPECT_EQ(image.GetCount(), 0u);
}

TEST(PrimaryRaysTest, LargeImagesAreGeneratedCompletely)
{
    QVSGCamera camera;
    Aim(camera, 2, 3.5, 8);
    // 400 x 300 = 120000 rays, well past a 16-bit counter.
    const PrimaryRays rays(camera, 400, 300);
    std::int64_t count = 0;
    bool allUnit = true;
    rays.ForEach(
        [&](std::int64_t index, const RayVec& direction)
        {
            EXPECT_EQ(index, count);
            ++count;
            allUnit = allUnit && std::fabs(direction.Length() - 1.0) < 1e-12;
        });
    EXPECT_EQ(count, 120000);
    EXPECT_TRUE(allUnit);

    // The top-left ray points up and to the left of the centre ray, which is the forward
    // direction (column 0, row 0 lies at index (H/2) * W + W/2).
    const RayVec centre = rays.Direction(0, 0);
    const RayVec forward = RayVec::From(camera.GetForward());
    EXPECT_NEAR(centre.Dot(forward), 1.0, 1e-12);
    const RayVec topLeft = rays.Direction(-200, 150);
    EXPECT_LT(topLeft.Dot(RayVec::From(camera.GetRight())), 0.0);
    EXPECT_GT(topLeft.Dot(RayVec::From(camera.GetUp())), 0.0);
}

TEST(PrimaryRaysTest, OddSizesGenerateOneColumnAndRowFewer)
{
    QVSGCamera camera;
    Aim(camera, 0, 0, 5);
    std::int64_t count = 0;
    PrimaryRays(camera, 5, 5).ForEach([&](std::int64_t, const RayVec&) { ++count; });
    EXPECT_EQ(count, 16);
}

TEST(PrimaryRaysTest, RangesCutAnywhereGiveTheSameRaysAsTheWhole)
{
    // Threads generate the rays of their bands as index ranges, starting anywhere in a row of
    // the generated grid, whose width is one less than the image's when that is odd.
    QVSGCamera camera;
    Aim(camera, 2, 3.5, 8);
    const int sizes[][2] = {{8, 6}, {7, 5}, {101, 77}, {1, 4}, {5, 1}};
    for (const auto& size : sizes)
    {
        const PrimaryRays rays(camera, size[0], size[1]);
        std::vector<std::pair<std::int64_t, RayVec>> whole;
        rays.ForEach([&](std::int64_t index, const RayVec& d) { whole.emplace_back(index, d); });
        ASSERT_EQ(static_cast<std::int64_t>(whole.size()), rays.GetCount());
        for (const std::int64_t chunk : {1, 3, 7, 100})
        {
            std::vector<std::pair<std::int64_t, RayVec>> pieces;
            // From before the first ray to past the last: ranges outside give nothing.
            for (std::int64_t first = -chunk; first < rays.GetCount() + chunk; first += chunk)
            {
                rays.ForRange(first, first + chunk,
                              [&](std::int64_t index, const RayVec& d)
                              { pieces.emplace_back(index, d); });
            }
            ASSERT_EQ(pieces.size(), whole.size()) << size[0] << "x" << size[1] << " by " << chunk;
            for (std::size_t i = 0; i < whole.size(); ++i)
            {
                ASSERT_EQ(pieces[i].first, whole[i].first);
                ASSERT_EQ(pieces[i].second.x, whole[i].second.x) << "ray " << i;
                ASSERT_EQ(pieces[i].second.y, whole[i].second.y) << "ray " << i;
                ASSERT_EQ(pieces[i].second.z, whole[i].second.z) << "ray " << i;
            }
        }
    }
}

TEST(PrimaryRaysTest, PointComponentOfTheEyeDoesNotLeak)
{
    // The eye is a point (w = 1) and the camera basis has w = 0 or 1: only x, y, z count.
    QVSGCamera camera;
    Aim(camera, 0, 0, 5);
    camera.GetForward()[3] = 1.0;
    const RayVec d = PrimaryRays(camera, 2, 2).Direction(0, 0);
    EXPECT_DOUBLE_EQ(d.z, -1.0);
    EXPECT_DOUBLE_EQ(d.Length(), 1.0);
}

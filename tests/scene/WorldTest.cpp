#include "scene/QVSGBox.h"
#include "scene/QVSGCamera.h"
#include "scene/QVSGLight.h"
#include "scene/QVSGMaterial.h"
#include "scene/QVSGSphere.h"
#include "scene/QVSGWorld.h"
#include "tests/scene/RecorderFixture.h"

#include <gtest/gtest.h>

namespace
{
// A small scene: camera, two lights, a sphere and a box, one overlay node.
class WorldTest : public RecorderTest
{
protected:
    WorldTest() : sun(0, 10, 0), lamp(5, 5, 5), ball(1.0, 4), crate(0x3F, 0)
    {
        camera.SetName("camera");
        sun.SetName("sun");
        lamp.SetName("lamp");
        ball.SetName("ball");
        crate.SetName("crate");
        label.SetName("label");
        world.SetName("world");
        world.GetOverlayCamera().SetName("overlay");
        world.GetBackground().Set(0.25, 0.5, 0.75, 1.0);
        world.SetCamera(&camera);
        world.AddLight(&sun);
        world.AddLight(&lamp);
        world.AddObject(&ball);
        world.AddObject(&crate);
        world.GetOverlay().AddChild(&label);
    }

    // Ready recorder, attached world, empty log.
    void Attach()
    {
        ASSERT_TRUE(InitRecorder());
        ASSERT_TRUE(world.Attach(recorder));
        recorder->ClearLog();
    }

    QVSGWorld world;
    QVSGCamera camera;
    QVSGLight sun;
    QVSGLight lamp;
    QVSGSphere ball;
    QVSGBox crate;
    QVSGBox label{0x10, 0};
};

const Calls FrameStart = {"BeginFrame", "SetClearColour 0.25 0.5 0.75 1", "Clear 1 1 0"};

Calls Join(std::initializer_list<Calls> parts)
{
    Calls all;
    for (const Calls& part : parts)
    {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}
}  // namespace

// --- attach ---

TEST_F(WorldTest, AttachHandsOverTheWorldThenEveryObjectThenTheOverlay)
{
    ASSERT_TRUE(InitRecorder());
    EXPECT_TRUE(world.Attach(recorder));
    EXPECT_EQ(Calls({"InitNode world", "InitNode ball", "InitNode crate", "InitNode label"}),
              TakeCalls());
    EXPECT_FALSE(world.IsHardReady());
    EXPECT_TRUE(ball.IsHardReady());
    EXPECT_EQ(recorder, world.GetRenderer());
    // Attaching again binds only what is not bound yet.
    recorder->RefuseNode(nullptr);
    EXPECT_TRUE(world.InitHard(recorder));
    EXPECT_EQ(Calls({"InitNode world"}), TakeCalls());
}

TEST_F(WorldTest, NotReadyOrMissingRendererIsRefusedUntouched)
{
    EXPECT_FALSE(world.Attach(nullptr));
    EXPECT_FALSE(world.Render());
    EXPECT_FALSE(world.Attach(recorder));  // Init not called yet
    RendererSetup nowhere = {};
    nowhere.width = 200;
    nowhere.height = 150;
    EXPECT_FALSE(recorder->Init(&nowhere));  // neither a window nor an own one
    recorder->ClearLog();
    EXPECT_FALSE(world.Attach(recorder));
    EXPECT_FALSE(world.Render());
    EXPECT_TRUE(TakeCalls().empty());
    EXPECT_EQ(nullptr, world.GetRenderer());
}

TEST_F(WorldTest, OverlayCameraMapsViewportPixelsWithYDownwards)
{
    ASSERT_TRUE(InitRecorder(320, 240));
    ASSERT_TRUE(world.Attach(recorder));
    QVSGCamera& overlay = world.GetOverlayCamera();
    // Pixel (x, y) through view and projection, as row vectors.
    auto project = [&](double x, double y)
    {
        double** v = overlay.GetView().GetRows();
        double** p = overlay.GetProjection().GetRows();
        const double in[4] = {x, y, 0.0, 1.0};
        double eye[4];
        double clip[4];
        for (int c = 0; c < 4; ++c)
        {
            eye[c] = in[0] * v[0][c] + in[1] * v[1][c] + in[2] * v[2][c] + in[3] * v[3][c];
        }
        for (int c = 0; c < 4; ++c)
        {
            clip[c] = eye[0] * p[0][c] + eye[1] * p[1][c] + eye[2] * p[2][c] + eye[3] * p[3][c];
        }
        return std::make_pair(clip[0] / clip[3], clip[1] / clip[3]);
    };
    EXPECT_NEAR(-1.0, project(0, 0).first, 1e-12);  // top left
    EXPECT_NEAR(1.0, project(0, 0).second, 1e-12);
    EXPECT_NEAR(1.0, project(320, 240).first, 1e-12);  // bottom right
    EXPECT_NEAR(-1.0, project(320, 240).second, 1e-12);
    EXPECT_NEAR(0.0, project(160, 120).first, 1e-12);
    // The projection alone is the orthographic box of the viewport.
    double** p = overlay.GetProjection().GetRows();
    EXPECT_NEAR(2.0 / 320.0, p[0][0], 1e-15);
    EXPECT_NEAR(-2.0 / 240.0, p[1][1], 1e-15);
    EXPECT_EQ(-0.001, p[2][2]);
    // Resizing later does not touch it.
    recorder->Resize(640, 480);
    EXPECT_NEAR(2.0 / 320.0, p[0][0], 1e-15);
}

// --- frames ---

TEST_F(WorldTest, FrameWithARendererThatDrawsNodeByNode)
{
    Attach();
    EXPECT_TRUE(world.Render());
    EXPECT_EQ(Join({FrameStart,
                    {"SetProjection camera", "SetView camera", "RenderScene", "EnableLighting 1",
                     "SetLight 0 sun", "SetLight 1 lamp", "DrawNode ball", "DrawNode crate",
                     "SetProjection overlay", "SetView overlay", "DrawNode label", "EndFrame"}}),
              TakeCalls());
}

TEST_F(WorldTest, FrameWithARendererThatDrawsTheWholeScene)
{
    Attach();
    recorder->SetRenderSceneResult(true);
    EXPECT_TRUE(world.Render());
    EXPECT_EQ(
        Join({FrameStart, {"SetProjection camera", "SetView camera", "RenderScene", "EndFrame"}}),
        TakeCalls());
}

TEST_F(WorldTest, FrameWithoutLightsOrCamera)
{
    QVSGWorld bare;
    bare.SetName("bare");
    bare.GetOverlayCamera().SetName("overlay");
    bare.SetCamera(nullptr);
    bare.AddObject(&ball);
    ASSERT_TRUE(InitRecorder());
    ASSERT_TRUE(bare.Attach(recorder));
    recorder->ClearLog();
    EXPECT_TRUE(bare.Render());
    EXPECT_EQ(Calls({"BeginFrame", "SetClearColour 0 0 0 0", "Clear 1 1 0", "RenderScene",
                     "EnableLighting 0", "DrawNode ball", "SetProjection overlay",
                     "SetView overlay", "EndFrame"}),
              TakeCalls());
}

TEST_F(WorldTest, NewWorldViewsThroughItsOwnCamera)
{
    QVSGWorld fresh;
    EXPECT_EQ(&fresh.GetOwnCamera(), fresh.GetCamera());
    EXPECT_EQ(1.0, fresh.GetOwnCamera().GetProjection().GetRows()[0][0]);
    EXPECT_EQ(1000.0, fresh.GetOwnCamera().GetFar());
}

TEST_F(WorldTest, AxesOnlyAtTheExactValueOne)
{
    Attach();
    recorder->SetRenderSceneResult(true);
    world.SetAxesSwitch(1);
    world.Render();
    EXPECT_EQ(Join({FrameStart,
                    {"SetProjection camera", "SetView camera", "DrawAxes 10", "RenderScene",
                     "EndFrame"}}),
              TakeCalls());
    for (std::uint8_t other : {std::uint8_t(0), std::uint8_t(2), std::uint8_t(255)})
    {
        world.SetAxesSwitch(other);
        world.Render();
        for (const std::string& call : TakeCalls())
        {
            EXPECT_NE("DrawAxes 10", call) << int(other);
        }
    }
}

TEST_F(WorldTest, UnboundAndHiddenObjectsAreSkippedAndTheFrameCompletes)
{
    recorder->RefuseNode("crate");
    Attach();
    ball.SetVisible(false);
    EXPECT_TRUE(world.Render());
    const Calls calls = TakeCalls();
    EXPECT_EQ(Join({FrameStart,
                    {"SetProjection camera", "SetView camera", "RenderScene", "EnableLighting 1",
                     "SetLight 0 sun", "SetLight 1 lamp", "SetProjection overlay",
                     "SetView overlay", "DrawNode label", "EndFrame"}}),
              calls);
}

TEST_F(WorldTest, NonDrawableObjectsAreNotAskedToDraw)
{
    QVSGMaterial paint;
    paint.SetName("paint");
    QVSGNode group("group");
    world.AddObject(&paint);
    world.AddObject(&group);
    Attach();
    world.Render();
    for (const std::string& call : TakeCalls())
    {
        EXPECT_NE("DrawNode paint", call);
        EXPECT_NE("DrawNode group", call);
    }
}

// --- release ---

TEST_F(WorldTest, ReleaseUsesTheAttachedRendererForObjectsThenOverlay)
{
    Attach();
    EXPECT_TRUE(world.ReleaseHard(nullptr));  // the argument is not used
    EXPECT_EQ(Calls({"ReleaseNode ball", "ReleaseNode crate", "ReleaseNode label"}), TakeCalls());
}

TEST_F(WorldTest, ReleaseBeforeAttachTouchesNothing)
{
    ball.SetHardReady(true);  // bound elsewhere
    EXPECT_TRUE(world.ReleaseHard(recorder));
    EXPECT_TRUE(TakeCalls().empty());
}

TEST_F(WorldTest, LightsKeepInsertionOrder)
{
    QVSGLight third(1, 1, 1);
    EXPECT_EQ(&sun, world.GetLight(0));  // moves the list's cursor to the front
    world.AddLight(&third);
    ASSERT_EQ(3u, world.GetLightCount());
    EXPECT_EQ(&lamp, world.GetLight(1));
    EXPECT_EQ(&third, world.GetLight(2));
}

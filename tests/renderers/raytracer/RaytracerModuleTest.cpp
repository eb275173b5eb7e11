// The built qvraytracer.qvm through the module manager: its descriptor, Init without a window,
// the node operations, and whole frames driven by a world (no OpenGL context: drawing calls
// without a current context do nothing, the tracing still runs).
#include "apps/common/DemoScene.h"
#include "modules/QVModManager.h"
#include "renderers/HostWindowSetup.h"
#include "renderers/QVRenderer.h"

#include <gtest/gtest.h>

namespace
{
QVRenderer* LoadTracer()
{
    QVModule* module = GetModManager().LoadModule("qvraytracer.qvm");
    return static_cast<QVRenderer*>(module);
}

// A host window setup without a window: the tracer traces into its image only.
RendererSetup MakeSetup(int width, int height)
{
    return HostWindowSetup(nullptr, nullptr, width, height);
}
}  // namespace

TEST(RaytracerModuleTest, DescriptorAndReadyWithoutWindow)
{
    QVRenderer* tracer = LoadTracer();
    ASSERT_NE(tracer, nullptr);
    EXPECT_TRUE(tracer->GetName().Equals(QVString("QV Raytracer")));
    EXPECT_TRUE(tracer->GetPlatform().Equals(QVString("All")));
    EXPECT_TRUE(tracer->GetType().Equals(QVString("3D Renderer")));

    // No window to draw into: the context step fails, the tracer is still ready.
    RendererSetup setup = MakeSetup(200, 150);
    EXPECT_TRUE(tracer->Init(&setup));
    EXPECT_TRUE(tracer->IsReady());
    EXPECT_FALSE(tracer->AttachToWindow(&setup));
    EXPECT_EQ(tracer->GetViewportWidth(), 0);

    // Operations without a use for a ray tracer succeed.
    QVSGNode plain("plain");
    EXPECT_TRUE(tracer->InitNode(&plain));
    EXPECT_TRUE(tracer->UpdateNode(&plain));
    EXPECT_TRUE(tracer->ReleaseNode(&plain));
    EXPECT_TRUE(tracer->EnableLighting(true));
    EXPECT_TRUE(tracer->SetLight(0, nullptr));
    EXPECT_TRUE(tracer->DrawNode(&plain));
    EXPECT_TRUE(tracer->TestFrame(0));
    EXPECT_TRUE(tracer->CreateOwnWindow(&setup));
    EXPECT_EQ(tracer->PumpMessages(), 0);
    tracer->Release();
    EXPECT_TRUE(GetModManager().ReleaseModule(tracer));
}

TEST(RaytracerModuleTest, WorldDrivesFramesAndRenderSceneTakesOver)
{
    QVRenderer* tracer = LoadTracer();
    ASSERT_NE(tracer, nullptr);
    RendererSetup setup = MakeSetup(40, 30);
    tracer->Init(&setup);
    DemoScene demo;
    demo.Build();
    demo.Bind(tracer);
    EXPECT_EQ(demo.world.GetRenderer(), tracer);
    // Frames of a still camera refine the image (limit 4 for a 40 pixel wide image); the
    // renderer draws the whole scene itself.
    for (int frame = 0; frame < 6; ++frame)
        EXPECT_TRUE(demo.world.Render());
    EXPECT_TRUE(tracer->RenderScene());
    // A non-world node does not replace the remembered world: frames still trace the scene.
    QVSGNode plain("plain");
    EXPECT_TRUE(tracer->InitNode(&plain));
    EXPECT_TRUE(demo.world.Render());
    tracer->Release();
    EXPECT_TRUE(GetModManager().ReleaseModule(tracer));
}

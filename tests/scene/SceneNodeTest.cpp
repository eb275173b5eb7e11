#include "core/trace/QVTextSink.h"
#include "core/trace/QVTraceHook.h"
#include "scene/QVSGAttribute.h"
#include "scene/QVSGBox.h"
#include "scene/QVSGCamera.h"
#include "scene/QVSGKind.h"
#include "scene/QVSGLight.h"
#include "scene/QVSGMaterial.h"
#include "scene/QVSGMesh.h"
#include "scene/QVSGSphere.h"
#include "scene/QVSGWorld.h"
#include "tests/core/QVTestSupport.h"
#include "tests/scene/RecorderFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
const std::uint32_t Node = QVSG_KIND_NODE;
const std::uint32_t Spatial = QVSG_KIND_SPATIAL;

struct Kind
{
    const char* what;
    std::uint32_t flags;
    std::int32_t classId;
};

void ExpectKind(const Kind& expected, const QVSGNode& node)
{
    EXPECT_EQ(expected.flags, node.GetKindFlags()) << expected.what;
    EXPECT_EQ(expected.classId, node.GetClassId()) << expected.what;
}

// Collects what the trace hook hands it.
class RecordingSink : public QVTextSink
{
public:
    void WriteWide(const unsigned short*) override { texts.push_back("<wide>"); }
    void Write(const char* text) override { texts.push_back(text); }
    void Create() override { texts.clear(); }
    std::vector<std::string> texts;
};
}  // namespace

// --- kinds and class codes: what renderers and loaders decide by ---

TEST(SceneNodeKindTest, EveryNodeClassCarriesItsBitsAndCode)
{
    ExpectKind({"node", Node, 0}, QVSGNode("plain"));
    ExpectKind({"attribute", Node | QVSG_KIND_ATTRIBUTE, 0}, QVSGAttribute());
    ExpectKind({"transform", Node | Spatial, QVSG_CLASS_TRANSFORM}, QVSGTransform());
    ExpectKind({"camera", Node | Spatial | QVSG_KIND_CAMERA, 0x4008}, QVSGCamera());
    ExpectKind({"light", Node | Spatial | QVSG_KIND_LIGHT, 9}, QVSGLight(1, 2, 3));
    ExpectKind({"material", Node | QVSG_KIND_ATTRIBUTE | QVSG_KIND_CAMERA, 0}, QVSGMaterial());
    ExpectKind({"mesh", Node | Spatial | QVSG_KIND_MESH, 0x4008}, QVSGMesh());
    ExpectKind({"sphere", Node | Spatial | QVSG_KIND_MESH, 0x400F}, QVSGSphere(1.0, 4));
    ExpectKind({"box", Node | Spatial | QVSG_KIND_MESH, 0x4010}, QVSGBox(0x3F, 0));
    ExpectKind({"world", Node | QVSG_KIND_WORLD, 0x400B}, QVSGWorld());
}

TEST(SceneNodeKindTest, ExactFlagWordsOfCameraMaterialAndWorld)
{
    EXPECT_EQ(0x48400000u, QVSGCamera().GetKindFlags());
    EXPECT_EQ(0x44400000u, QVSGMaterial().GetKindFlags());
    EXPECT_EQ(0xC0000000u, QVSGWorld().GetKindFlags());
}

// --- children ---

TEST(SceneNodeChildrenTest, KeepInsertionOrderEvenAfterIndexedReads)
{
    QVSGNode parent("parent");
    QVSGNode a("a"), b("b"), c("c");
    parent.AddChild(&a);
    parent.AddChild(&b);
    EXPECT_EQ(&a, parent.GetChild(0));  // moves the list's cursor back to the first child
    parent.AddChild(&c);
    ASSERT_EQ(3u, parent.GetChildCount());
    EXPECT_EQ(&a, parent.GetChild(0));
    EXPECT_EQ(&b, parent.GetChild(1));
    EXPECT_EQ(&c, parent.GetChild(2));
}

TEST(SceneNodeChildrenTest, SharedChildOutlivesItsParents)
{
    QVSGNode child("child");
    {
        QVSGNode first("first");
        QVSGNode second("second");
        first.AddChild(&child);
        second.AddChild(&child);
        EXPECT_EQ(first.GetChild(0), second.GetChild(0));
    }
    child.AddKindFlags(0x1);  // still a live object
    EXPECT_EQ(Node | 0x1u, child.GetKindFlags());
}

TEST(SceneNodeChildrenTest, IndexAtCountThrows)
{
    QVSGNode parent("parent");
    EXPECT_THROW(parent.GetChild(0), QVException);
    QVSGNode child("child");
    parent.AddChild(&child);
    EXPECT_NE(std::string::npos,
              ThrownMessage([&] { parent.GetChild(1); }).find("operateur [] of @"));
    EXPECT_NE(std::string::npos,
              ThrownMessage([&] { parent.GetChild(1); }).find(":index out of bounds"));
}

// --- binding through a real renderer module ---

using SceneBindingTest = RecorderTest;

TEST_F(SceneBindingTest, InitHardAsksTheRendererOnce)
{
    QVSGCamera camera;
    camera.SetName("cam");
    EXPECT_TRUE(camera.InitHard(recorder));
    EXPECT_TRUE(camera.InitHard(recorder));
    EXPECT_TRUE(camera.IsHardReady());
    EXPECT_EQ(Calls({"InitNode cam"}), TakeCalls());
}

TEST_F(SceneBindingTest, MaterialAsksEveryTimeAndNeverBinds)
{
    QVSGMaterial material;
    material.SetName("mat");
    EXPECT_TRUE(material.InitHard(recorder));
    EXPECT_TRUE(material.InitHard(recorder));
    EXPECT_FALSE(material.IsHardReady());
    EXPECT_TRUE(material.Update(recorder));       // answered by the material itself
    EXPECT_TRUE(material.ReleaseHard(recorder));  // forwarded although never bound
    EXPECT_EQ(Calls({"InitNode mat", "InitNode mat", "ReleaseNode mat"}), TakeCalls());
}

TEST_F(SceneBindingTest, BoundNodeForwardsUpdateReleaseAndDraw)
{
    QVSGSphere sphere(1.0, 4);
    sphere.SetName("ball");
    ASSERT_TRUE(sphere.InitHard(recorder));
    EXPECT_TRUE(sphere.Update(recorder));
    EXPECT_TRUE(sphere.Draw(recorder));
    EXPECT_TRUE(sphere.ReleaseHard(recorder));
    EXPECT_TRUE(sphere.IsHardReady());  // releasing leaves the node marked bound
    EXPECT_EQ(Calls({"InitNode ball", "UpdateNode ball", "DrawNode ball", "ReleaseNode ball"}),
              TakeCalls());
}

TEST_F(SceneBindingTest, UnboundOrHiddenNodesDoNotReachTheRenderer)
{
    QVSGBox box(0x3F, 0);
    box.SetName("box");
    EXPECT_FALSE(box.Update(recorder));
    EXPECT_FALSE(box.ReleaseHard(recorder));
    EXPECT_FALSE(box.Draw(recorder));
    ASSERT_TRUE(box.InitHard(recorder));
    box.SetVisible(false);
    EXPECT_FALSE(box.Draw(recorder));
    EXPECT_EQ(Calls({"InitNode box"}), TakeCalls());
}

TEST_F(SceneBindingTest, RefusedNodeStaysUnboundAndAsksAgain)
{
    QVSGLight light(0, 5, 0);
    light.SetName("lamp");
    recorder->RefuseNode("lamp");
    EXPECT_FALSE(light.InitHard(recorder));
    EXPECT_FALSE(light.InitHard(recorder));
    EXPECT_FALSE(light.IsHardReady());
    EXPECT_FALSE(light.Draw(recorder));
    recorder->RefuseNode(nullptr);
    EXPECT_TRUE(light.InitHard(recorder));
    EXPECT_EQ(Calls({"InitNode lamp", "InitNode lamp", "InitNode lamp"}), TakeCalls());
}

TEST(SceneBindingNullTest, NullRendererIsRefusedWithoutACrash)
{
    QVSGCamera camera;
    QVSGMaterial material;
    EXPECT_FALSE(camera.InitHard(nullptr));
    EXPECT_FALSE(camera.IsHardReady());
    camera.SetHardReady(true);
    EXPECT_FALSE(camera.Update(nullptr));
    EXPECT_FALSE(camera.ReleaseHard(nullptr));
    EXPECT_FALSE(camera.Draw(nullptr));
    EXPECT_FALSE(material.InitHard(nullptr));
    EXPECT_FALSE(material.ReleaseHard(nullptr));
}

// --- trace reports of the nodes ---

TEST_F(SceneBindingTest, InitHardAndReleaseHardReportTheBindingName)
{
    RecordingSink sink;
    QVTraceHook::Report(nullptr, &sink);  // installs the sink, reports nothing
    QVSGCamera camera;
    QVSGMaterial material;
    camera.InitHard(recorder);
    camera.InitHard(recorder);  // reported although the renderer is not asked again
    camera.Update(recorder);
    camera.Draw(recorder);
    camera.ReleaseHard(recorder);
    material.InitHard(recorder);  // materials report nothing
    QVTraceHook::Remove(&sink);
    EXPECT_EQ(std::vector<std::string>(3, "QVSGNode::InitHard"), sink.texts);
}

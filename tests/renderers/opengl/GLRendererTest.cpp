// The built qvoglrenderer.qvm through the module manager: its descriptor, Init without a window,
// what it does with each kind of node, the entry-point table, the report file and its own
// window's messages.
#include "gl/QVGL.h"
#include "loaders/QVImage.h"
#include "modules/QVModManager.h"
#include "renderers/QVRenderer.h"
#include "renderers/RendererSetup.h"
#include "renderers/opengl/GLEntryPoints.h"
#include "renderers/opengl/GLMeshRecords.h"
#include "renderers/opengl/QVGLRenderer.h"
#include "scene/QVSGCamera.h"
#include "scene/QVSGKind.h"
#include "scene/QVSGLight.h"
#include "scene/QVSGMaterial.h"
#include "scene/QVSGMesh.h"
#include "scene/QVSGSphere.h"
#include "scene/QVSGWorld.h"
#include "tests/renderers/opengl/GLTestPlatform.h"
#include "tests/renderers/opengl/GLTestSession.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace
{
// Nodes with any kind bits, to reach every row of the renderer's decision. The renderer trusts
// the bits: whatever it takes for a mesh must be one.
class KindNode : public QVSGNode
{
public:
    explicit KindNode(std::uint32_t flags) : QVSGNode("kind") { KindFlags = flags; }
};

class KindMesh : public QVSGMesh
{
public:
    explicit KindMesh(std::uint32_t flags) { KindFlags = flags; }
};

std::vector<std::string> ReadLines(const char* path)
{
    std::ifstream in(path);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line))
    {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string GLText(GLenum name)
{
    const GLubyte* text = glGetString(name);
    return text != nullptr ? reinterpret_cast<const char*>(text) : "";
}
}  // namespace

TEST(GLRenderer, DescriptorAndNoReadyFlagWithoutAWindow)
{
    QVRenderer* renderer =
        static_cast<QVRenderer*>(GetModManager().LoadModule("qvoglrenderer.qvm"));
    ASSERT_NE(renderer, nullptr);
    EXPECT_TRUE(renderer->GetFileName().Equals(QVString("qvoglrenderer.qvm")));
    EXPECT_TRUE(renderer->GetName().Equals(QVString("OpenGL Renderer")));
    EXPECT_TRUE(renderer->GetPlatform().Equals(QVString("Win32/Linux")));
    EXPECT_TRUE(renderer->GetType().Equals(QVString("3D Renderer")));

    // Neither an own window nor one to attach to.
    std::remove("gl_output.txt");
    RendererSetup setup = {};
    setup.width = 200;
    setup.height = 150;
    EXPECT_FALSE(renderer->Init(&setup));
    EXPECT_FALSE(renderer->IsReady());
    EXPECT_EQ(renderer->GetViewportWidth(), 200);
    // Init starts the report file even so; it stays empty.
    std::ifstream report("gl_output.txt");
    EXPECT_TRUE(report.good());
    EXPECT_EQ(report.peek(), std::char_traits<char>::eof());

    // Without a context the operations make no GL calls and answer as usual.
    renderer->BeginFrame();
    renderer->Clear(true, true, true);
    renderer->SetProjection(nullptr);
    renderer->DrawAxes(10.0f);
    EXPECT_TRUE(renderer->TestFrame(0));
    EXPECT_EQ(renderer->EndFrame(), 0);
    EXPECT_FALSE(renderer->RenderScene());
    EXPECT_EQ(renderer->PumpMessages(), 0);
    EXPECT_EQ(renderer->Resize(0, 0), 0);
    QVSGWorld world;
    EXPECT_FALSE(world.Attach(renderer));
    renderer->Release();
    EXPECT_TRUE(GetModManager().ReleaseModule(renderer));
}

TEST(GLRenderer, NodesAreToldApartByTheirKindBitsAlone)
{
    OPEN_SESSION(gl, 32, 32);
    const std::uint32_t node = QVSG_KIND_NODE;
    const std::uint32_t attribute = node | QVSG_KIND_ATTRIBUTE;
    const std::uint32_t spatial = node | QVSG_KIND_SPATIAL;
    struct Case
    {
        const char* what;
        std::uint32_t flags;
        bool init, update, release, draw;
    };
    const std::uint32_t meshBits = spatial | QVSG_KIND_MESH;
    const Case cases[] = {
        {"not a node", QVSG_KIND_ATTRIBUTE | QVSG_KIND_CAMERA, false, false, false, false},
        {"material", attribute | QVSG_KIND_CAMERA, true, true, true, true},
        {"light", spatial | QVSG_KIND_LIGHT, true, true, true, true},
        {"camera", spatial | QVSG_KIND_CAMERA, true, true, true, true},
        {"light bit wins over camera bit", spatial | QVSG_KIND_LIGHT | QVSG_KIND_CAMERA, true, true,
         true, true},
        {"mesh", meshBits, true, true, true, true},
        {"other mesh 0x4000", meshBits | 0x4000, true, true, true, true},
        {"other mesh 0x8000", meshBits | 0x8000, true, true, true, true},
        {"plain attribute", attribute, false, false, false, true},
        {"plain spatial", spatial, false, false, false, false},
        {"plain node", node, false, false, false, false},
        {"attribute with mesh bit", attribute | QVSG_KIND_MESH, false, false, false, true},
    };
    for (const Case& c : cases)
    {
        KindNode plain(c.flags);
        KindMesh mesh(c.flags);
        QVSGNode* n = (c.flags & QVSG_KIND_MESH) != 0 ? static_cast<QVSGNode*>(&mesh) : &plain;
        EXPECT_EQ(gl->InitNode(n), c.init) << c.what;
        // Only a plain mesh gets records, and only until it is released.
        EXPECT_EQ(mesh.RendererData(kVertexCountSlot) != nullptr, c.flags == meshBits) << c.what;
        EXPECT_EQ(gl->UpdateNode(n), c.update) << c.what;
        EXPECT_EQ(gl->DrawNode(n), c.draw) << c.what;
        EXPECT_EQ(gl->ReleaseNode(n), c.release) << c.what;
        EXPECT_EQ(mesh.RendererData(kVertexCountSlot), nullptr) << c.what;
    }
    EXPECT_FALSE(gl->InitNode(nullptr));

    // The scene's own classes land in their rows: a world is remembered, a mesh gets its two
    // records (and its bound flag) until it is released.
    QVSGWorld world;
    EXPECT_TRUE(gl->InitNode(&world));
    EXPECT_TRUE(gl->UpdateNode(&world));
    EXPECT_TRUE(gl->DrawNode(&world));
    QVSGCamera camera;
    QVSGLight light(0, 0, 0);
    QVSGMaterial material;
    QVImage image;
    QVSGNode* accepted[] = {&world, &camera, &light, &material, &image};
    for (QVSGNode* n : accepted)
    {
        EXPECT_TRUE(gl->InitNode(n));
        EXPECT_TRUE(gl->ReleaseNode(n));
    }
    QVSGSphere sphere(1.0, 4);
    sphere.BuildSphere();
    EXPECT_TRUE(gl->InitNode(&sphere));
    EXPECT_TRUE(sphere.IsHardReady());
    auto* vertices = static_cast<GLCountRecord*>(sphere.RendererData(kVertexCountSlot));
    auto* indices = static_cast<GLCountRecord*>(sphere.RendererData(kIndexCountSlot));
    ASSERT_NE(vertices, nullptr);
    ASSERT_NE(indices, nullptr);
    EXPECT_EQ(vertices->count, sphere.GetVertexCount());
    EXPECT_EQ(indices->count, sphere.GetIndexCount());
    EXPECT_TRUE(gl->ReleaseNode(&sphere));
    EXPECT_EQ(sphere.RendererData(kVertexCountSlot), nullptr);
    EXPECT_EQ(sphere.RendererData(kIndexCountSlot), nullptr);
}

TEST(GLRenderer, EntryPointTableHoldsTheListedNames)
{
    std::set<std::string> names;
    int lowercaseN = 0;
    for (int i = 0; i < GLEntryPoints::kCount; ++i)
    {
        const std::string name = GLEntryPoints::Name(i);
        names.insert(name);
        if (name.find("4n") != std::string::npos)
            ++lowercaseN;
    }
    EXPECT_EQ(GLEntryPoints::kCount, 108);
    EXPECT_EQ(names.size(), 108u) << "a name is listed twice";
    EXPECT_EQ(lowercaseN, 7);
    EXPECT_EQ(names.count("glUnMapBuffer"), 1u);
    EXPECT_EQ(names.count("glVertexAttrib4nbv"), 1u);
    EXPECT_EQ(GLEntryPoints::Name(0), std::string("glBlendColor"));
    EXPECT_EQ(GLEntryPoints::Name(107), std::string("glVertexAttribPointer"));
    EXPECT_EQ(GLEntryPoints::Name(108), nullptr);

    OPEN_SESSION(gl, 32, 32);
    // The module looked them up with its context current.
    EXPECT_TRUE(static_cast<QVGLRenderer*>(gl.Get())->HasShaderEntryPoints());
    // As the module does, here with the test's own copy of the table.
    EXPECT_TRUE(GLEntryPoints::LookUp());
    for (int i = 0; i < GLEntryPoints::kCount; ++i)
    {
        if (std::string(GLEntryPoints::Name(i)) == "glBindBuffer")
        {
            EXPECT_NE(GLEntryPoints::Address(i), nullptr);
        }
    }
}

TEST(GLRenderer, OwnWindowWritesTheReportFile)
{
    std::remove("gl_output.txt");
    OPEN_SESSION(gl, 64, 48);
    const std::vector<std::string> lines = ReadLines("gl_output.txt");
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[0], GLText(GL_RENDERER));
    EXPECT_EQ(lines[1], GLText(GL_VERSION));
    EXPECT_EQ(lines[2], GLText(GL_VENDOR));
    EXPECT_EQ(lines[3], "# GL_EXTENSIONS ---------------");
    EXPECT_EQ(lines.back(), "# -----------------------------");
    // One extension per line, every one of them, in order.
    std::vector<std::string> expected;
    std::istringstream words(GLText(GL_EXTENSIONS));
    std::string word;
    while (words >> word)
        expected.push_back("#    " + word);
    ASSERT_GT(expected.size(), 10u);
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 4, lines.end() - 1), expected);
}

TEST(GLRenderer, OwnWindowPumpAnswers18OnlyWhenTheWindowCloses)
{
    if (!GLTestPlatform::HasDisplay())
        GTEST_SKIP() << "no display";
    struct Case
    {
        const char* what;
        void (*close)(QVHandle window);
    };
    // What the window manager does when the user closes the window, and the window destroyed
    // outright.
    const Case cases[] = {{"close request", GLTestPlatform::RequestClose},
                          {"destroyed", GLTestPlatform::DestroyWindow}};
    for (const Case& c : cases)
    {
        GLTestSession gl(64, 48);
        ASSERT_TRUE(gl.IsReady());
        const QVHandle window = gl.GetWindow();
        ASSERT_NE(window, nullptr);
        for (int i = 0; i < 50; ++i)
            EXPECT_EQ(gl->PumpMessages(), 0) << c.what;
        c.close(window);
        int answer = 0;
        for (int i = 0; i < 2000 && answer == 0; ++i)
        {
            answer = gl->PumpMessages();
            if (answer == 0)
                GLTestPlatform::Pause();
        }
        EXPECT_EQ(answer, 18) << c.what;
    }
}

TEST(GLRenderer, ASecondInitShowsItsOwnWindowAgainWithoutWaiting)
{
    OPEN_SESSION(gl, 64, 48);
    RendererSetup setup = {};
    setup.createOwnWindow = 1;
    setup.x = 10;
    setup.y = 10;
    setup.width = 64;
    setup.height = 48;
    setup.colourBits = 32;
    setup.depthBits = 24;
    setup.stencilBits = 8;
    setup.instance = GLTestPlatform::ProgramInstance();
    gl->Release();
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(gl->Init(&setup));
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(gl.GetWindow(), setup.window);  // the window made by the first Init
    // The window is on the screen already: waiting for it to appear would last until the wait
    // gives up, 5 s. A fresh context takes a small fraction of that.
    EXPECT_LT(waited, std::chrono::seconds(4));
}

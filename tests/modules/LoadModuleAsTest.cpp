// Typed loads against real module libraries: the type decides, the status is LoadModule's.
#include "modules/LoadModuleAs.h"

#include "tests/modules/ModuleTestSupport.h"
#include "tests/modules/testmods/QVTestModule.h"

namespace
{
// Two kinds over the test modules' interface, told apart only by their type text.
struct RendererKind : QVTestModule
{
    static constexpr const char* ModuleType = "3D Renderer";
};
struct ImageKind : QVTestModule
{
    static constexpr const char* ModuleType = "Image Loader";
};
}  // namespace

using LoadModuleAsTest = ModuleDirectoryTest;

TEST_F(LoadModuleAsTest, ModuleOfAnotherTypeIsNullButStaysLoaded)
{
    QVModManager manager;
    int status = -1;
    RendererKind* renderer = LoadModuleAs<RendererKind>(manager, "tm_renderer.qvm", status);
    ASSERT_NE(nullptr, renderer);
    EXPECT_EQ(QV_LOAD_NEW, status);
    EXPECT_STREQ("tm_renderer", renderer->GetTag());

    // Already loaded, of another type: null, and whoever loaded it keeps it.
    EXPECT_EQ(nullptr, LoadModuleAs<ImageKind>(manager, "tm_renderer.qvm", status));
    EXPECT_EQ(QV_LOAD_ALREADY, status);
    EXPECT_EQ(nullptr, LoadModuleAs<RendererKind>(manager, "tm_image.qvm", status));
    EXPECT_EQ(QV_LOAD_NEW, status);
    EXPECT_EQ(2u, manager.GetCount());

    EXPECT_EQ(nullptr, LoadModuleAs<RendererKind>(manager, "tm_missing.qvm", status));
    EXPECT_EQ(QV_LOAD_FAILED, status);
    EXPECT_EQ(nullptr, LoadModuleAs<RendererKind>(manager, "tm_missing.qvm"));
}

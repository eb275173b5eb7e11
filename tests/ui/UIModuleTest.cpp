// The platform's UI manager as hosts get it: the built module, loaded through the module manager
// by the one file name constant, describing itself and serving a window across the boundary.
#include "modules/QVModManager.h"
#include "platform/PlatformName.h"
#include "tests/ui/UITestDriver.h"
#include "ui/QVUIManager.h"
#include "ui/QVUIWindow.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

TEST(UIModule, LoadsByThePlatformsFileNameAndDescribesItself)
{
    QVModule* module = GetModManager().LoadModule(GetUIManagerFileName());
    ASSERT_NE(nullptr, module) << GetUIManagerFileName();
    EXPECT_STREQ(GetUIManagerFileName(), module->GetFileName().GetBuffer());
    EXPECT_STREQ("UI Manager", module->GetType().GetBuffer());
    EXPECT_STREQ(QVPlatformName(), module->GetPlatform().GetBuffer());
    std::string name = module->GetName().GetBuffer();
    EXPECT_TRUE(name == "UI Manager W32" || name == "UI Manager X11") << name;
    EXPECT_TRUE(GetModManager().ReleaseModule(module));
}

TEST(UIModule, ServesAWindowAcrossTheModuleBoundary)
{
    if (!UITestDriver::HasDisplay())
        GTEST_SKIP() << "no display";
    QVModule* module = GetModManager().LoadModule(GetUIManagerFileName());
    ASSERT_NE(nullptr, module);
    QVUIManager* manager = static_cast<QVUIManager*>(module);
    SetUIManager(manager);
    {
        QVUIWindow window;
        window.SetCaption("module window");
        window.SetWidth(120);
        window.SetHeight(80);
        ASSERT_TRUE(window.Create());
        EXPECT_EQ(manager, window.GetManager());
        EXPECT_NE(nullptr, window.GetWindow());
        manager->PostQuit(&window);
        bool ended = false;
        for (int i = 0; i < 1000 && !ended; ++i)
            ended = !manager->ProcessMessages(&window, true);
        EXPECT_TRUE(ended);
        window.SetListener(nullptr);
        UITestDriver::DestroyManagedWindow(window.GetWindow());
        UITestDriver::DrainQueue();
    }
    SetUIManager(nullptr);
    GetModManager().ReleaseModule(module);
}

}  // namespace

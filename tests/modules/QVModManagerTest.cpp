// The module manager against real module libraries.
#include "modules/QVModManager.h"

#include "tests/core/QVTestSupport.h"
#include "tests/modules/ModuleTestSupport.h"
#include "tests/modules/testmods/QVTestModule.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace
{

QVTestModule* AsTest(QVModule* module) { return static_cast<QVTestModule*>(module); }

// The test modules of the table, in table order.
std::vector<std::string> Tags(QVModManager& manager)
{
    std::vector<std::string> tags;
    for (unsigned i = 0; i < manager.GetCount(); ++i)
        if (IsTestModule(manager[i]))
            tags.emplace_back(AsTest(manager[i])->GetTag());
    return tags;
}

}  // namespace

using ModManagerTest = ModuleDirectoryTest;

TEST_F(ModManagerTest, ModuleWithFileNameIsLoadedOnce)
{
    QVModManager manager;
    int status = -1;
    QVModule* first = manager.LoadModule("tm_renderer.qvm", status);
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(QV_LOAD_NEW, status);
    EXPECT_NE(nullptr, *first->GetLibraryHandle());
    EXPECT_EQ(0, first->GetClassId());
    EXPECT_EQ(0, first->GetSubtype().GetLength());

    QVModule* second = manager.LoadModule("tm_renderer.qvm", status);
    EXPECT_EQ(first, second);
    EXPECT_EQ(QV_LOAD_ALREADY, status);
    EXPECT_EQ(1u, manager.GetCount());
    EXPECT_EQ(1, AsTest(first)->GetLiveObjects());
}

TEST_F(ModManagerTest, ModuleWithoutFileNameIsCreatedAgain)
{
    QVModManager manager;
    int status = -1;
    QVModule* first = manager.LoadModule("tm_unnamed.qvm", status);
    EXPECT_EQ(QV_LOAD_NEW, status);
    QVModule* second = manager.LoadModule("tm_unnamed.qvm", status);
    EXPECT_EQ(QV_LOAD_NEW, status);
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, second);
    EXPECT_NE(first, second);
    EXPECT_EQ(2u, manager.GetCount());
    EXPECT_EQ(2, AsTest(second)->GetLiveObjects());

    // Released separately: the library stays loaded for the second object.
    EXPECT_TRUE(manager.ReleaseModule(first));
    EXPECT_EQ(1u, manager.GetCount());
    EXPECT_EQ(second, manager[0]);
    EXPECT_EQ(1, AsTest(second)->GetLiveObjects());
}

TEST_F(ModManagerTest, FailedLoadsReportStatusZero)
{
    QVModManager manager;
    for (const char* name : {"tm_absent.qvm", "tm_nocreate.qvm", "tm_nullcreate.qvm"})
    {
        int status = -1;
        EXPECT_EQ(nullptr, manager.LoadModule(name, status)) << name;
        EXPECT_EQ(QV_LOAD_FAILED, status) << name;
    }
    int status = -1;
    EXPECT_EQ(nullptr, manager.LoadModule(nullptr, status));
    EXPECT_EQ(QV_LOAD_FAILED, status);
    EXPECT_EQ(0u, manager.GetCount());

    // An empty name finds nothing, not even a module whose file name is empty.
    ASSERT_NE(nullptr, manager.LoadModule("tm_unnamed.qvm"));
    EXPECT_EQ(nullptr, manager.LoadModule("", status));
    EXPECT_EQ(QV_LOAD_FAILED, status);
}

TEST_F(ModManagerTest, UnlistedModuleStaysOutOfTheTable)
{
    QVModManager manager;
    int status = -1;
    QVModule* unlisted = manager.LoadModuleUnlisted("tm_image.qvm", status);
    ASSERT_NE(nullptr, unlisted);
    EXPECT_EQ(QV_LOAD_NEW, status);
    EXPECT_EQ(0u, manager.GetCount());

    // Not in the table, so a listed load creates another object...
    QVModule* listed = manager.LoadModule("tm_image.qvm", status);
    EXPECT_EQ(QV_LOAD_NEW, status);
    EXPECT_NE(unlisted, listed);
    // ...which an unlisted load then finds.
    EXPECT_EQ(listed, manager.LoadModuleUnlisted("tm_image.qvm", status));
    EXPECT_EQ(QV_LOAD_ALREADY, status);

    // Not in the table, so not ReleaseModule's to release: the caller that loaded it does.
    EXPECT_FALSE(manager.ReleaseModule(unlisted));
    EXPECT_EQ(2, AsTest(unlisted)->GetLiveObjects());
    EXPECT_FALSE(manager.ReleaseUnlisted(listed));  // a module of the table is refused
    EXPECT_FALSE(manager.ReleaseUnlisted(nullptr));
    EXPECT_TRUE(manager.ReleaseUnlisted(unlisted));
    EXPECT_EQ(1u, manager.GetCount());
    EXPECT_EQ(1, AsTest(listed)->GetLiveObjects());
}

TEST_F(ModManagerTest, ModuleNoLongerInTheTableIsLeftAlone)
{
    // A second manager keeps the library loaded and watches its objects: a release of an object
    // that is gone, or of another manager's, would show in the count or as a freed object used.
    QVModManager observer;
    QVModule* watched = observer.LoadModule("tm_renderer.qvm");
    ASSERT_NE(nullptr, watched);
    struct Case
    {
        const char* what;
        QVModule* (*takeOut)(QVModManager& manager, QVModule* watched);
    };
    const Case cases[] = {
        {"released after a second load returned it",
         [](QVModManager& manager, QVModule*)
         {
             int status = -1;
             QVModule* module = manager.LoadModule("tm_renderer.qvm", status);
             EXPECT_EQ(module, manager.LoadModule("tm_renderer.qvm", status));
             EXPECT_EQ(QV_LOAD_ALREADY, status);
             EXPECT_TRUE(manager.ReleaseModule(module));
             return module;
         }},
        {"released by its position",
         [](QVModManager& manager, QVModule*)
         {
             QVModule* module = manager.LoadModule("tm_renderer.qvm");
             manager.ReleaseAt(0);
             return module;
         }},
        {"in another manager's table", [](QVModManager&, QVModule* other) { return other; }},
    };
    for (const Case& c : cases)
    {
        QVModManager manager;
        QVModule* gone = c.takeOut(manager, watched);
        EXPECT_FALSE(manager.ReleaseModule(gone)) << c.what;
        EXPECT_EQ(0u, manager.GetCount()) << c.what;
        EXPECT_EQ(1, AsTest(watched)->GetLiveObjects()) << c.what;
    }
    EXPECT_TRUE(observer.ReleaseModule(watched));
}

TEST_F(ModManagerTest, IndexBounds)
{
    QVModManager manager;
    manager.LoadModule("tm_image.qvm");
    EXPECT_NE(nullptr, manager[0]);
    EXPECT_QV_THROW(manager[manager.GetCount()],
                    "Exception in op [] of QVModManager:index out of bounds");
    manager.ReleaseAt(1);  // out of range: nothing happens
    EXPECT_EQ(1u, manager.GetCount());
    manager.ReleaseAt(0);
    EXPECT_EQ(0u, manager.GetCount());
    EXPECT_FALSE(manager.ReleaseModule(nullptr));
}

TEST_F(ModManagerTest, ReleaseWithoutReleaseModLeavesTheObject)
{
    QVModManager manager;
    QVModule* first = manager.LoadModule("tm_norelease.qvm");
    QVModule* second = manager.LoadModule("tm_norelease.qvm");
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, second);
    EXPECT_TRUE(manager.ReleaseModule(first));
    EXPECT_EQ(1u, manager.GetCount());
    EXPECT_EQ(2, AsTest(second)->GetLiveObjects());  // the first object was not destroyed
    EXPECT_TRUE(manager.ReleaseModule(second));
}

TEST_F(ModManagerTest, DestructorKeepsTheMemoryModule)
{
    // A second manager keeps the test libraries loaded, to watch their objects go.
    QVModManager observer;
    QVModule* renderer = observer.LoadModule("tm_unnamed.qvm");
    ASSERT_NE(nullptr, renderer);

    auto manager = std::make_unique<QVModManager>();
    ASSERT_NE(nullptr, manager->LoadModule("tm_unnamed.qvm"));
    QVModule* memory = manager->LoadModule(InDir(BinDir(), "qvmemmgr.qvm").c_str());
    ASSERT_NE(nullptr, memory);
    ASSERT_NE(nullptr, manager->LoadModule("tm_image.qvm"));
    EXPECT_EQ(2, AsTest(renderer)->GetLiveObjects());

    manager.reset();
    EXPECT_EQ(1, AsTest(renderer)->GetLiveObjects());
    EXPECT_TRUE(memory->GetType().Equals(QVString("Memory Module")));  // still alive
    // Kept by the destructor, it is in no table now: only a release of its own takes it.
    EXPECT_FALSE(observer.ReleaseModule(memory));
    EXPECT_TRUE(observer.ReleaseUnlisted(memory));
}

TEST_F(ModManagerTest, LoadModulesScansWorkingDirectoryTwiceWithoutKey)
{
    QVModManager manager;
    // Each directory listing: image, nocreate, norelease, nullcreate, renderer, subtyped,
    // unnamed; the failing ones are skipped and the named ones are found the second time.
    manager.LoadModules(nullptr, nullptr);
    const std::vector<std::string> tags = Tags(manager);
    EXPECT_EQ(7u, tags.size());
    EXPECT_EQ(2, std::count(tags.begin(), tags.end(), "tm_unnamed"));
    EXPECT_EQ(2, std::count(tags.begin(), tags.end(), "tm_norelease"));
    EXPECT_EQ(1, std::count(tags.begin(), tags.end(), "tm_renderer"));

    // A key without the value names no directory either.
    SetRunTimeKeyWithoutValue();
    QVModManager again;
    again.LoadModules(nullptr, nullptr);
    EXPECT_EQ(7u, Tags(again).size());
}

TEST_F(ModManagerTest, LoadModulesScansRunTimeDirectoryThenTheProgramsDirectory)
{
    SetRunTimeKey(RunTimeModuleDir().c_str());
    QVModManager manager;
    manager.LoadModules(nullptr, nullptr);
    EXPECT_EQ(6u, Tags(manager).size());
    EXPECT_EQ("tm_runtime", Tags(manager).back());
    // The program's directory comes last: the memory module beside the test program, after
    // every test module.
    ASSERT_GT(manager.GetCount(), 6u);
    EXPECT_FALSE(IsTestModule(manager[6]));
    EXPECT_FALSE(IsTestModule(manager[manager.GetCount() - 1]));
    bool memoryModule = false;
    for (unsigned i = 6; i < manager.GetCount(); ++i)
        memoryModule = memoryModule || manager[i]->GetType().Equals(QVString("Memory Module"));
    EXPECT_TRUE(memoryModule);
}

TEST_F(ModManagerTest, LoadModulesKeepsNewModulesOfTheTypeAndEverythingOlder)
{
    SetRunTimeKey(RunTimeModuleDir().c_str());
    QVModManager manager;
    ASSERT_NE(nullptr, manager.LoadModule("tm_image.qvm"));  // an image loader
    QVModule* older = manager.LoadModule("tm_unnamed.qvm");  // an object loader
    ASSERT_NE(nullptr, older);

    manager.LoadModules("3D Renderer", nullptr);
    EXPECT_EQ((std::vector<std::string>{"tm_image", "tm_unnamed", "tm_renderer", "tm_subtyped",
                                        "tm_runtime"}),
              Tags(manager));
    for (unsigned i = 0; i < manager.GetCount(); ++i)  // the program's directory's too
        EXPECT_TRUE(IsTestModule(manager[i]) ||
                    manager[i]->GetType().Equals(QVString("3D Renderer")));
    EXPECT_EQ(1, AsTest(older)->GetLiveObjects());  // the new object loader went again
}

TEST_F(ModManagerTest, LoadModulesFiltersBySubtype)
{
    QVModManager manager;
    EXPECT_EQ(1u, manager.LoadModules("3D Renderer", "Preview"));
    EXPECT_EQ(std::vector<std::string>{"tm_subtyped"}, Tags(manager));
    EXPECT_EQ(1u, manager.LoadModules("No Such Type", nullptr));
}

TEST_F(ModManagerTest, SingletonIsOnePerLibrary) { EXPECT_EQ(&GetModManager(), &GetModManager()); }

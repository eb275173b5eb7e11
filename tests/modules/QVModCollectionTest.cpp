// Module collections, which gather modules through this library's manager.
#include "modules/QVModCollection.h"

#include "modules/QVModManager.h"
#include "tests/modules/ModuleTestSupport.h"
#include "tests/modules/testmods/QVTestModule.h"

#include <memory>
#include <set>
#include <string>

namespace
{

class ModCollectionTest : public ModuleDirectoryTest
{
protected:
    void SetUp() override
    {
        ModuleDirectoryTest::SetUp();
        SetRunTimeKey(RunTimeModuleDir().c_str());
    }
    // The singleton outlives the test: give back what the collections had it load.
    void TearDown() override
    {
        QVModManager& manager = GetModManager();
        unsigned index = 0;
        while (index < manager.GetCount())
        {
            if (manager[index]->GetType().Equals(QVString("Memory Module")))
                ++index;
            else
                manager.ReleaseAt(index);
        }
        ModuleDirectoryTest::TearDown();
    }
};

// The test modules collected (scans also meet the real modules beside the test program).
std::set<std::string> Tags(const QVModCollection& collection)
{
    std::set<std::string> tags;
    for (unsigned i = 0; i < collection.GetCount(); ++i)
        if (IsTestModule(collection.GetAt(i)))
            tags.insert(static_cast<QVTestModule*>(collection.GetAt(i))->GetTag());
    return tags;
}

// Objects of the test module in the manager's table.
unsigned CountInTable(const std::string& tag)
{
    QVModManager& manager = GetModManager();
    unsigned count = 0;
    for (unsigned i = 0; i < manager.GetCount(); ++i)
        if (IsTestModule(manager[i]) && static_cast<QVTestModule*>(manager[i])->GetTag() == tag)
            ++count;
    return count;
}

}  // namespace

TEST_F(ModCollectionTest, GathersEveryModuleOfItsType)
{
    QVModCollection collection(16395, "3D Renderer");
    EXPECT_EQ(16395, collection.GetTag());
    EXPECT_STREQ("3D Renderer", collection.GetType().GetBuffer());
    EXPECT_EQ((std::set<std::string>{"tm_renderer", "tm_subtyped", "tm_runtime"}),
              Tags(collection));
    collection.SetTag(16393);
    EXPECT_EQ(16393, collection.GetTag());
}

TEST_F(ModCollectionTest, ObjectsOfOneClassShareAnEntry)
{
    // The unnamed module is created anew by every scan; the later object replaces the earlier.
    QVModCollection collection(16393, "Object Loader");
    ASSERT_EQ(std::set<std::string>{"tm_unnamed"}, Tags(collection));
    const unsigned entries = collection.GetCount();
    collection.Query("Object Loader", nullptr);
    ASSERT_EQ(entries, collection.GetCount());
    QVModManager& manager = GetModManager();
    QVModule* latest = nullptr;
    for (unsigned i = 0; i < manager.GetCount(); ++i)
        if (IsTestModule(manager[i]) && manager[i]->GetType().Equals(QVString("Object Loader")))
            latest = manager[i];
    bool mapped = false;
    for (unsigned i = 0; i < collection.GetCount(); ++i)
        mapped = mapped || collection.GetAt(i) == latest;
    EXPECT_TRUE(mapped);
}

TEST_F(ModCollectionTest, SubtypeAndUnknownType)
{
    // No type: everything that loads is collected, one entry per module class.
    QVModCollection everything(0, nullptr);
    EXPECT_EQ(6u, Tags(everything).size());

    QVModCollection worlds(16395, "World Loader");
    EXPECT_EQ(0u, worlds.GetCount());
    EXPECT_EQ(1, worlds.Query("3D Renderer", "Preview"));
    EXPECT_EQ(std::set<std::string>{"tm_subtyped"}, Tags(worlds));
}

TEST_F(ModCollectionTest, ACollectionReleasesWhatItsScansLoadedWhenNoOtherUsesIt)
{
    // tm_image names its file: a second collection finds the first one's object, which stays
    // until neither uses it. tm_unnamed does not: each collection has an object of its own.
    // tm_renderer, asked for by name after a scan loaded it, is the caller's and stays.
    auto first = std::make_unique<QVModCollection>(0, nullptr);
    auto second = std::make_unique<QVModCollection>(0, nullptr);
    QVModule* byName = GetModManager().LoadModule("tm_renderer.qvm");
    EXPECT_EQ(2u, CountInTable("tm_unnamed"));
    first.reset();
    EXPECT_EQ(1u, CountInTable("tm_image"));
    EXPECT_EQ(1u, CountInTable("tm_unnamed"));
    second.reset();
    EXPECT_EQ(0u, CountInTable("tm_image"));
    EXPECT_EQ(0u, CountInTable("tm_unnamed"));
    int status = QV_LOAD_FAILED;
    EXPECT_EQ(byName, GetModManager().LoadModule("tm_renderer.qvm", status));
    EXPECT_EQ(QV_LOAD_ALREADY, status);
}

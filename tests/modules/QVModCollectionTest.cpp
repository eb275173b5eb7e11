// Module collections, which gather modules through this library's manager.
#include "modules/QVModCollection.h"

#include "modules/QVModManager.h"
#include "tests/modules/ModuleTestSupport.h"
#include "tests/modules/testmods/QVTestModule.h"

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

std::set<std::string> Tags(const QVModCollection& collection)
{
    std::set<std::string> tags;
    for (unsigned i = 0; i < collection.GetCount(); ++i)
        tags.insert(static_cast<QVTestModule*>(collection.GetAt(i))->GetTag());
    return tags;
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
    ASSERT_EQ(1u, collection.GetCount());
    EXPECT_EQ(2, collection.Query("Object Loader", nullptr));
    ASSERT_EQ(1u, collection.GetCount());
    QVModManager& manager = GetModManager();
    QVModule* latest = nullptr;
    for (unsigned i = 0; i < manager.GetCount(); ++i)
        if (manager[i]->GetType().Equals(QVString("Object Loader")))
            latest = manager[i];
    EXPECT_EQ(latest, collection.GetAt(0));
}

TEST_F(ModCollectionTest, SubtypeAndUnknownType)
{
    // No type: everything that loads is collected, one entry per module class.
    QVModCollection everything(0, nullptr);
    EXPECT_EQ(6u, everything.GetCount());

    QVModCollection worlds(16395, "World Loader");
    EXPECT_EQ(0u, worlds.GetCount());
    EXPECT_EQ(1, worlds.Query("3D Renderer", "Preview"));
    EXPECT_EQ(std::set<std::string>{"tm_subtyped"}, Tags(worlds));
}

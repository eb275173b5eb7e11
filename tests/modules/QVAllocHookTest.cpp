// The allocation hook with and without the memory module.
#include "modules/QVAllocHook.h"
#include "modules/QVModManager.h"

#include "core/containers/QVList.h"
#include "core/memory/AllocHook.h"
#include "core/string/QVString.h"
#include "tests/modules/ModuleTestSupport.h"

#include <string>

namespace
{

// A static object of this file allocates during static initialisation, whatever the order in
// which the translation units of the program are initialised: the hook must already be loaded.
struct StaticAllocation
{
    StaticAllocation()
    {
        void* block = nullptr;
        QVHookAllocate(&block, 16);
        allocated = block != nullptr;
        hookActive = GetAllocHook().IsActive();
        QVHookFree(&block);
    }
    bool allocated = false;
    bool hookActive = false;
};
const StaticAllocation staticAllocation;

void ExpectWorkingMemory(QVAllocHook& hook)
{
    void* block = nullptr;
    hook.Allocate(&block, 40);
    ASSERT_NE(nullptr, block);
    static_cast<char*>(block)[39] = 'x';
    hook.Free(&block);
    EXPECT_EQ(nullptr, block);
    hook.Free(&block);
    EXPECT_EQ(nullptr, block);
    void* refused = &block;
    hook.Allocate(&refused, -1);
    EXPECT_EQ(nullptr, refused);
}

}  // namespace

TEST(AllocHookTest, LibraryHookLoadedTheMemoryModuleBeforeStaticObjects)
{
    EXPECT_TRUE(staticAllocation.allocated);
    EXPECT_TRUE(staticAllocation.hookActive);
    QVAllocHook& hook = GetAllocHook();
    ASSERT_NE(nullptr, hook.GetModule());
    EXPECT_STREQ("Memory Module", hook.GetModule()->GetType().GetBuffer());
    // Loaded unlisted: the library's manager does not list it.
    for (unsigned i = 0; i < GetModManager().GetCount(); ++i)
        EXPECT_NE(hook.GetModule(), GetModManager()[i]);
}

TEST(AllocHookTest, WithMemoryModule)
{
    QVAllocHook hook(InDir(BinDir(), "qvmemmgr.qvm").c_str());
    EXPECT_TRUE(hook.IsActive());
    ASSERT_NE(nullptr, hook.GetModule());
    EXPECT_NE(GetAllocHook().GetModule(), hook.GetModule());  // an object of its own
    ExpectWorkingMemory(hook);
    hook.Retire();
    EXPECT_FALSE(hook.IsActive());
    EXPECT_EQ(nullptr, hook.GetModule());
    ExpectWorkingMemory(hook);
}

TEST(AllocHookTest, WithoutMemoryModule)
{
    QVAllocHook hook("tm_absent.qvm");
    EXPECT_FALSE(hook.IsActive());
    EXPECT_EQ(nullptr, hook.GetModule());
    ExpectWorkingMemory(hook);
    hook.SetActive(true);  // nothing to forward to: still the heap
    ExpectWorkingMemory(hook);
}

TEST(AllocHookTest, LibraryOfTheWrongKindIsNotUsed)
{
    QVAllocHook hook(InDir(TestModuleDir(), "tm_image.qvm").c_str());
    EXPECT_FALSE(hook.IsActive());
    EXPECT_EQ(nullptr, hook.GetModule());
}

TEST(AllocHookTest, MemoryCrossesBetweenModuleAndHeap)
{
    // Taken from the memory module, returned to the heap and the other way round: both sides
    // use one allocation pair (a mismatch shows in the sanitizer build).
    QVAllocHook withModule(InDir(BinDir(), "qvmemmgr.qvm").c_str());
    QVAllocHook withoutModule("tm_absent.qvm");
    ASSERT_TRUE(withModule.IsActive());
    void* block = nullptr;
    withModule.Allocate(&block, 24);
    withoutModule.Free(&block);
    EXPECT_EQ(nullptr, block);
    withoutModule.Allocate(&block, 24);
    withModule.Free(&block);
    EXPECT_EQ(nullptr, block);
    withModule.Retire();
}

TEST(AllocHookTest, ContainersWorkWithTheLibraryHookOff)
{
    QVString before("allocated through the memory module");
    GetAllocHook().SetActive(false);
    {
        QVString text("on the runtime heap");
        text.Append(" and growing past sixteen characters");
        QVList<QVString> list;
        list.Insert(text);
        EXPECT_STREQ(text.GetBuffer(), list[0].GetBuffer());
        before.Append(", freed on the heap");
    }
    GetAllocHook().SetActive(true);
    EXPECT_EQ(std::string("allocated through the memory module, freed on the heap"),
              before.GetBuffer());
}

// The allocation hook with and without the memory module.
#include "modules/QVAllocHook.h"
#include "modules/QVMemoryModule.h"
#include "modules/QVModManager.h"
#include "platform/DynLibrary.h"

#include "core/containers/QVList.h"
#include "core/memory/AllocHook.h"
#include "core/string/QVString.h"
#include "tests/modules/ModuleTestSupport.h"
#include "tests/modules/testmods/QVTestModule.h"

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
    hook.SetActive(false);
    ExpectWorkingMemory(hook);
    // A hook never gives its memory module back; this one is no library's, so the test does.
    EXPECT_TRUE(GetModManager().ReleaseUnlisted(hook.GetModule()));
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
    EXPECT_TRUE(GetModManager().ReleaseUnlisted(withModule.GetModule()));
}

TEST(AllocHookTest, NamedBlockOutlivesTheLibraryThatAcquiredIt)
{
    // Named blocks are shared between libraries and threads: the memory module object of the
    // library that acquired one stays, with its blocks, after that library is unloaded.
    const std::string library = InDir(TestModuleDir(), "tm_image.qvm");
    QVModManager manager;
    auto* user = static_cast<QVTestModule*>(manager.LoadModule(library.c_str()));
    ASSERT_NE(nullptr, user);
    auto* memory = static_cast<QVMemoryModule*>(user->GetHookMemoryModule());
    ASSERT_NE(nullptr, memory);
    EXPECT_NE(GetAllocHook().GetModule(), memory);  // that library's own object
    const unsigned key = 0x5EA1ED;
    const char text[] = "shared with the host";
    char* block = static_cast<char*>(user->AcquireNamedBlock(key, sizeof text, text));
    ASSERT_NE(nullptr, block);
    EXPECT_TRUE(manager.ReleaseModule(user));

    EXPECT_EQ(1u, memory->GetBlockCount());
    void* again = nullptr;
    memory->AcquireBlock(&again, sizeof text, key);
    EXPECT_EQ(block, again);
    EXPECT_STREQ(text, block);
    EXPECT_TRUE(memory->Lock(key));
    EXPECT_TRUE(memory->Unlock(key));
    EXPECT_TRUE(memory->ReleaseBlock(key));
    EXPECT_EQ(0u, memory->GetBlockCount());

    // Where libraries are unloaded it had really gone: loaded again, it builds a hook and a memory
    // module anew. Where they stay loaded (Windows), it has the ones it had.
    auto* reloaded = static_cast<QVTestModule*>(manager.LoadModule(library.c_str()));
    ASSERT_NE(nullptr, reloaded);
    EXPECT_EQ(QVLibrariesStayLoaded(), memory == reloaded->GetHookMemoryModule());
    EXPECT_TRUE(manager.ReleaseModule(reloaded));
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

// The memory module library, loaded as the hosts load it.
#include "modules/QVMemoryModule.h"
#include "modules/QVModManager.h"

#include "tests/modules/ModuleTestSupport.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace
{

class MemManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        int status = -1;
        module = manager.LoadModule(InDir(BinDir(), "qvmemmgr.qvm").c_str(), status);
        ASSERT_NE(nullptr, module);
        ASSERT_EQ(QV_LOAD_NEW, status);
        memory = static_cast<QVMemoryModule*>(module);
    }
    // The manager keeps memory modules; this one is given back explicitly.
    void TearDown() override { manager.ReleaseModule(module); }

    QVModManager manager;
    QVModule* module = nullptr;
    QVMemoryModule* memory = nullptr;
};

}  // namespace

TEST_F(MemManagerTest, Descriptor)
{
    EXPECT_STREQ("qvmemmgr.qvm", module->GetFileName().GetBuffer());
    EXPECT_STREQ("Memory Module 01", module->GetName().GetBuffer());
    EXPECT_STREQ("All", module->GetPlatform().GetBuffer());
    EXPECT_STREQ("Memory Module", module->GetType().GetBuffer());
    EXPECT_EQ(0, module->GetSubtype().GetLength());
}

TEST_F(MemManagerTest, AllocateAndFree)
{
    void* block = nullptr;
    EXPECT_EQ(memory->Allocate(&block, 100), block);
    ASSERT_NE(nullptr, block);
    static_cast<char*>(block)[99] = 1;
    memory->Free(&block);
    EXPECT_EQ(nullptr, block);
    memory->Free(&block);  // null: nothing to do
    EXPECT_EQ(nullptr, block);

    void* empty = nullptr;
    memory->Allocate(&empty, 0);
    EXPECT_NE(nullptr, empty);
    memory->Free(&empty);
    void* negative = &empty;
    EXPECT_EQ(nullptr, memory->Allocate(&negative, -1));
    EXPECT_EQ(nullptr, negative);
}

TEST_F(MemManagerTest, AcquireBlockTwiceGivesTheSameBlock)
{
    void* first = nullptr;
    EXPECT_FALSE(memory->AcquireBlock(&first, 64, 7));
    ASSERT_NE(nullptr, first);
    void* again = nullptr;
    EXPECT_FALSE(memory->AcquireBlock(&again, 4096, 7));
    EXPECT_EQ(first, again);
    EXPECT_EQ(1u, memory->GetBlockCount());

    void* other = nullptr;
    memory->AcquireBlock(&other, 64, 8);
    EXPECT_NE(first, other);
    EXPECT_EQ(2u, memory->GetBlockCount());

    EXPECT_TRUE(memory->ReleaseBlock(7));
    EXPECT_FALSE(memory->ReleaseBlock(7));
    EXPECT_EQ(1u, memory->GetBlockCount());
}

TEST_F(MemManagerTest, UnknownKeysAreRefused)
{
    EXPECT_FALSE(memory->ReleaseBlock(42));
    EXPECT_FALSE(memory->Lock(42));
    EXPECT_FALSE(memory->Unlock(42));
    void* block = nullptr;
    memory->AcquireBlock(&block, -5, 42);  // nothing to allocate: nothing registered
    EXPECT_EQ(nullptr, block);
    EXPECT_EQ(0u, memory->GetBlockCount());
}

TEST_F(MemManagerTest, ShutdownFreesEveryBlock)
{
    // Blocks left behind would show up in the leak checker of the sanitizer build.
    for (unsigned key : {30u, 10u, 20u})
    {
        void* block = nullptr;
        memory->AcquireBlock(&block, 32, key);
    }
    ASSERT_TRUE(memory->Lock(20));
    memory->Shutdown();
    EXPECT_EQ(0u, memory->GetBlockCount());
    EXPECT_FALSE(memory->ReleaseBlock(10));
    EXPECT_EQ(0, module->GetFileName().GetLength());  // the descriptor went too
    // Heap memory still works after Shutdown.
    void* block = nullptr;
    memory->Allocate(&block, 8);
    memory->Free(&block);
    EXPECT_EQ(nullptr, block);
}

TEST_F(MemManagerTest, TwoThreadsContendForOneBlock)
{
    void* block = nullptr;
    memory->AcquireBlock(&block, sizeof(long), 1);
    ASSERT_NE(nullptr, block);
    *static_cast<long*>(block) = 0;
    const int rounds = 20000;
    auto work = [&]
    {
        for (int i = 0; i < rounds; ++i)
        {
            ASSERT_TRUE(memory->Lock(1));
            // A plain read-modify-write: only the lock keeps the two threads apart.
            long* counter = static_cast<long*>(block);
            *counter = *counter + 1;
            ASSERT_TRUE(memory->Unlock(1));
        }
    };
    std::thread first(work);
    std::thread second(work);
    first.join();
    second.join();
    EXPECT_EQ(2L * rounds, *static_cast<long*>(block));
}

TEST_F(MemManagerTest, WaitersGetTheBlockOnlyAfterUnlock)
{
    void* block = nullptr;
    memory->AcquireBlock(&block, 16, 5);
    ASSERT_TRUE(memory->Lock(5));
    std::atomic<bool> locked(false);
    std::atomic<bool> acquired(false);
    std::atomic<bool> released(false);
    std::thread locker(
        [&]
        {
            locked = memory->Lock(5);
            memory->Unlock(5);
        });
    std::thread acquirer(
        [&]
        {
            void* same = nullptr;
            memory->AcquireBlock(&same, 16, 5);
            acquired = same == block;
        });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    // However long they ran, none of them can have passed the lock.
    EXPECT_FALSE(locked);
    EXPECT_FALSE(acquired);
    EXPECT_TRUE(memory->Unlock(5));
    locker.join();
    acquirer.join();
    EXPECT_TRUE(locked);
    EXPECT_TRUE(acquired);

    ASSERT_TRUE(memory->Lock(5));
    std::thread releaser([&] { released = memory->ReleaseBlock(5); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(released);
    EXPECT_EQ(1u, memory->GetBlockCount());
    memory->Unlock(5);
    releaser.join();
    EXPECT_TRUE(released);
    EXPECT_EQ(0u, memory->GetBlockCount());
}

// QVThread: its class code, one start per object, a stop that neither stops nor waits, and a
// bounded wait for the end.
#include "plugin/npqvarunner/QVThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace
{
class CountingThread : public QVThread
{
public:
    void Run() override
    {
        runs.fetch_add(1);
        while (!release.load())
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    std::atomic<int> runs{0};
    std::atomic<bool> release{false};
};
}  // namespace

TEST(QVThread, ClassCodeAndEmptyRun)
{
    QVThread thread;
    EXPECT_EQ(45059, thread.GetClassId());
    EXPECT_FALSE(thread.IsRunning());
    EXPECT_FALSE(thread.HasThread());
    // Nothing started: nothing to wait for.
    EXPECT_TRUE(thread.Wait(0));
    // The base's Run does nothing, on its own thread too.
    ASSERT_TRUE(thread.Start());
    EXPECT_TRUE(thread.Wait(5000));
}

TEST(QVThread, StartsOnceStopDoesNotWaitWaitIsBounded)
{
    CountingThread thread;
    ASSERT_TRUE(thread.Start());
    EXPECT_TRUE(thread.IsRunning());
    EXPECT_FALSE(thread.Start()) << "a second start while the flag is set";
    while (thread.runs.load() == 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));

    // Stop clears the flag only: the thread runs on, and a wait runs out.
    thread.Stop();
    EXPECT_FALSE(thread.IsRunning());
    EXPECT_FALSE(thread.Wait(50));
    EXPECT_TRUE(thread.HasThread());
    EXPECT_FALSE(thread.Start()) << "the thread has not been waited for";

    thread.release = true;
    EXPECT_TRUE(thread.Wait(5000));
    EXPECT_FALSE(thread.HasThread());
    EXPECT_EQ(1, thread.runs.load());
}

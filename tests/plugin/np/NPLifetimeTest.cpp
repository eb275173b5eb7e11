// Many instances made and destroyed while their applets run (run under the sanitizers too), and
// an applet that does not end when asked.
#include "tests/plugin/np/NPTestSupport.h"

#include <cstdlib>

using namespace nptest;

TEST(NPLifetime, HundredInstancesMadeAndDestroyedWhileTheirAppletsRun)
{
    QV_NEED_DESKTOP();
    const std::string package = ProbePackageIn("rounds");
    const std::string folder = FolderOf(package);
    const fs::path report = fs::path(folder) / "probe-applet.txt";
    // One applet first, so that what stays loaded for good (the UI manager's connection, the
    // applet module) is there before the count is taken.
    {
        Embedded first;
        ASSERT_EQ(NPERR_NO_ERROR, NewInstance(first, {}));
        ASSERT_EQ(NPERR_NO_ERROR, GiveWindow(first));
        DeliverPackage(first, package);
        ASSERT_TRUE(WaitFor([&] { return ReportHas(folder, "running"); }));
        Destroy(first);
    }
    const int threadsBefore = ThreadCount();
    for (int round = 0; round < 100; ++round)
    {
        std::error_code error;
        fs::remove(report, error);
        Embedded embedded;
        ASSERT_EQ(NPERR_NO_ERROR, NewInstance(embedded, {{"round", std::to_string(round)}}));
        ASSERT_EQ(NPERR_NO_ERROR, GiveWindow(embedded, 100, 60));
        DeliverPackage(embedded, package);
        // Every fourth one is destroyed while its applet may still be starting.
        const bool waitForStart = round % 4 != 3;
        if (waitForStart)
        {
            ASSERT_TRUE(WaitFor([&] { return ReportHas(folder, "running"); })) << round;
        }
        Destroy(embedded);
        if (waitForStart)
        {
            EXPECT_TRUE(ReportHas(folder, "ended")) << round;
        }
    }
    EXPECT_TRUE(ThreadsBackTo(threadsBefore))
        << ThreadCount() << " threads, " << threadsBefore << " before";
}

// Run on its own, by the test npqvarunner_stuck_applet (QV_NP_STUCK_TEST=1): the instance it
// leaves behind is meant to stay, which the leak checker would report.
TEST(NPLifetimeStuck, AnAppletThatDoesNotEndKeepsItsInstance)
{
    QV_NEED_DESKTOP();
    const char* wanted = std::getenv("QV_NP_STUCK_TEST");
    if (wanted == nullptr || std::string(wanted) != "1")
        GTEST_SKIP() << "runs as npqvarunner_stuck_applet";
    const std::string package = ProbePackageIn("stuck");
    const std::string folder = FolderOf(package);
    const int threadsBefore = ThreadCount();
    Embedded embedded;
    ASSERT_EQ(NPERR_NO_ERROR, NewInstance(embedded, {{"linger", "14000"}}));
    ASSERT_EQ(NPERR_NO_ERROR, GiveWindow(embedded));
    DeliverPackage(embedded, package);
    ASSERT_TRUE(WaitFor([&] { return ReportHas(folder, "running"); }));

    const auto start = std::chrono::steady_clock::now();
    PluginFuncs().destroy(&embedded.handle, nullptr);
    const auto waited = std::chrono::steady_clock::now() - start;
    // The destroy waited about ten seconds and then gave up, leaving the instance to the thread.
    EXPECT_GE(waited, std::chrono::seconds(9));
    EXPECT_LT(waited, std::chrono::seconds(14));
    EXPECT_EQ(nullptr, embedded.handle.pdata);
    EXPECT_FALSE(ReportHas(folder, "ended"));
    // The applet still uses its window and parameters; it ends by itself later.
    EXPECT_TRUE(WaitFor([&] { return ReportHas(folder, "ended"); }, 10000));
    EXPECT_TRUE(ThreadsBackTo(threadsBefore + 1)) << "the key forwarding of a stuck instance stops";
    DestroyPage(embedded.page);
}

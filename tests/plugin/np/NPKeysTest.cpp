// The page's keys: each reaches the applets of the page that got it, and still the page; several
// instances keep their own windows, and removing one leaves the others working.
#include "tests/plugin/np/NPTestSupport.h"

using namespace nptest;

namespace
{
bool GotKey(const std::string& folder, int key)
{
    return ReportHas(folder, "down " + std::to_string(key)) &&
           ReportHas(folder, "up " + std::to_string(key));
}

// Starts the probe in the plug-in window of embedded (its page made before) from a package of
// its own; returns the package's folder.
std::string StartProbe(Embedded& embedded, const std::string& name, int width = 160,
                       int height = 100)
{
    const std::string package = ProbePackageIn(name);
    EXPECT_EQ(NPERR_NO_ERROR, NewInstance(embedded, {{"name", name}}));
    DescribeWindow(embedded, width, height);
    EXPECT_EQ(NPERR_NO_ERROR, PluginFuncs().setwindow(&embedded.handle, &embedded.window));
    DeliverPackage(embedded, package);
    const std::string folder = FolderOf(package);
    EXPECT_TRUE(WaitFor([&] { return ReportHas(folder, "running"); })) << name;
    return folder;
}
}  // namespace

TEST(NPKeys, EachPageKeyReachesItsOwnAppletsAndThePage)
{
    QV_NEED_DESKTOP();
    const int threadsBefore = ThreadCount();
    // Page one with one applet; page two with two applets side by side.
    Embedded one, twoLeft, twoRight;
    one.page = MakePage(160, 100);
    twoLeft.page = MakePage(340, 100);
    twoRight.page = twoLeft.page;
    twoRight.page.plugin = AddPluginWindow(twoRight.page, 190, 20, 160, 100);
    const std::string folderOne = StartProbe(one, "keys-one");
    const std::string folderLeft = StartProbe(twoLeft, "keys-left");
    const std::string folderRight = StartProbe(twoRight, "keys-right");

    SendKey(one.page, 'A');
    EXPECT_TRUE(WaitFor([&] { return GotKey(folderOne, 'A'); })) << "page one's applet";
    SendKey(twoLeft.page, 'B');
    EXPECT_TRUE(WaitFor([&] { return GotKey(folderLeft, 'B') && GotKey(folderRight, 'B'); }))
        << "both applets of page two";
    Pump(300);
    EXPECT_FALSE(ReportHas(folderOne, "down 66")) << "page two's key reached page one's applet";
    EXPECT_FALSE(ReportHas(folderLeft, "down 65")) << "page one's key reached page two's applet";
    // The pages got their keys too.
    EXPECT_TRUE(WaitFor([&] { return HostKeyPresses(one.page) == 1; }));
    EXPECT_TRUE(WaitFor([&] { return HostKeyPresses(twoLeft.page) == 1; }));

    // Removing one applet of page two leaves the other one, and page one's, working.
    PluginFuncs().destroy(&twoLeft.handle, nullptr);
    SendKey(twoRight.page, 'C');
    EXPECT_TRUE(WaitFor([&] { return GotKey(folderRight, 'C'); })) << "the remaining applet";
    SendKey(one.page, 'D');
    EXPECT_TRUE(WaitFor([&] { return GotKey(folderOne, 'D'); })) << "page one after the removal";
    Pump(300);
    EXPECT_FALSE(ReportHas(folderLeft, "down 67")) << "a removed applet got a key";
    EXPECT_TRUE(WaitFor([&] { return HostKeyPresses(twoRight.page) == 2; }));

    PluginFuncs().destroy(&twoRight.handle, nullptr);
    // With no applet left on page two its keys go to the page only.
    SendKey(twoRight.page, 'E');
    EXPECT_TRUE(WaitFor([&] { return HostKeyPresses(twoRight.page) == 3; }));
    Destroy(one);
    DestroyPage(twoRight.page);
    EXPECT_FALSE(ReportHas(folderRight, "down 69"));
    EXPECT_TRUE(ThreadsBackTo(threadsBefore));
}

// Instances with windows and packages: when the applet starts, what it is given, the URLs it
// asks for, packages that give no applet, and the end of an instance whose applet runs.
#include "tests/plugin/np/NPTestSupport.h"

#include "tests/plugin/ZipBuilder.h"

using namespace nptest;

namespace
{
// The line the probe writes for one parameter.
std::string Parameter(const std::string& key, const std::string& value)
{
    return "parameter " + key + "=" + value;
}

std::string ReadFile(const char* path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}
}  // namespace

TEST(NPInstance, AppletStartsOnceTheWindowIsThereWithTheAttributesUnchanged)
{
    QV_NEED_DESKTOP();
    const std::string package = ProbePackageIn("attributes");
    const std::string folder = FolderOf(package);
    const Attributes attributes = {{"src", "probe.qva"},
                                   {"Name With Blanks", "a value, with = and ; signs"},
                                   {"empty", ""},
                                   {"@temp_path", "somewhere else"},
                                   {"UPPER", "MiXeD"}};
    Embedded embedded;
    ASSERT_EQ(NPERR_NO_ERROR, NewInstance(embedded, attributes));

    // A window record without a native window neither initialises nor fails: the package
    // that arrives then waits for the window.
    embedded.page = MakePage(320, 200);
    NPWindow noWindow = {};
    noWindow.width = 320;
    noWindow.height = 200;
    EXPECT_EQ(NPERR_NO_ERROR, PluginFuncs().setwindow(&embedded.handle, &noWindow));
    const int threadsBefore = ThreadCount();
    DeliverPackage(embedded, package);
    Pump(500);
    EXPECT_TRUE(Report(folder).empty()) << "the applet started without a window";
    EXPECT_EQ(threadsBefore, ThreadCount());

    DescribeWindow(embedded, 320, 200);
    EXPECT_EQ(NPERR_NO_ERROR, PluginFuncs().setwindow(&embedded.handle, &embedded.window));
    ASSERT_TRUE(WaitFor([&] { return ReportHas(folder, "running"); }))
        << "the applet did not start";

    EXPECT_TRUE(ReportHas(folder, Parameter("src", "probe.qva")));
    EXPECT_TRUE(ReportHas(folder, Parameter("Name With Blanks", "a value, with = and ; signs")));
    EXPECT_TRUE(ReportHas(folder, Parameter("empty", "")));
    EXPECT_TRUE(ReportHas(folder, Parameter("UPPER", "MiXeD")));
    // "@temp_path" is the package's directory, whatever the page said.
    EXPECT_TRUE(ReportHas(folder, Parameter("@temp_path", folder)));
    EXPECT_FALSE(ReportHas(folder, Parameter("@temp_path", "somewhere else")));
    EXPECT_EQ(attributes.size(), Report(folder).size() - 1) << "parameters and \"running\"";

    Destroy(embedded);
    EXPECT_TRUE(ReportHas(folder, "ended"));
    EXPECT_TRUE(ThreadsBackTo(threadsBefore));
}

TEST(NPInstance, OpenURLGoesToTheBrowsersGetURL)
{
    QV_NEED_DESKTOP();
    struct Case
    {
        const char* url;
        const char* target;
        NPError answer;
        const char* line;
        unsigned calls;  // of the browser's get-URL
    };
    const Case cases[] = {
        {"http://example.com/qv/page.html?a=1&b=2", "_blank", NPERR_NO_ERROR, "openurl 1", 1},
        {"https://example.com/x y", "frame 2", NPERR_GENERIC_ERROR, "openurl 0", 1},
        {"relative/page.html", "", NPERR_INVALID_URL, "openurl 0", 1},
        // Script in the page's name: refused before the browser sees it.
        {"javascript:document.title='x'", "_self", NPERR_NO_ERROR, "openurl 0", 0},
        {" \tVB\nScript:msgbox(1)", "_self", NPERR_NO_ERROR, "openurl 0", 0},
        {"DATA:text/html,<script>alert(1)</script>", "_blank", NPERR_NO_ERROR, "openurl 0", 0},
    };
    int round = 0;
    for (const Case& c : cases)
    {
        const std::string package = ProbePackageIn("openurl" + std::to_string(round++));
        const std::string folder = FolderOf(package);
        ClearGetURLCalls();
        SetGetURLAnswer(c.answer);
        Embedded embedded;
        ASSERT_EQ(NPERR_NO_ERROR,
                  NewInstance(embedded, {{"openurl", c.url}, {"target", c.target}}));
        ASSERT_EQ(NPERR_NO_ERROR, GiveWindow(embedded));
        DeliverPackage(embedded, package);
        ASSERT_TRUE(WaitFor([&] { return ReportHas(folder, "running"); })) << c.url;
        EXPECT_TRUE(ReportHas(folder, c.line)) << c.url;
        const std::vector<GetURLCall> calls = GetURLCalls();
        ASSERT_EQ(c.calls, calls.size()) << c.url;
        if (c.calls == 1)
        {
            EXPECT_EQ(&embedded.handle, calls[0].instance);
            EXPECT_EQ(c.url, calls[0].url);
            EXPECT_EQ(c.target, calls[0].target);
        }
        Destroy(embedded);
    }
    SetGetURLAnswer(NPERR_NO_ERROR);
}

TEST(NPInstance, PackagesThatGiveNoAppletStartNoThread)
{
    QV_NEED_DESKTOP();
    const std::string notAnApplet = ReadFile(QV_PROPERTY_LOADER_MODULE);
    ASSERT_FALSE(notAnApplet.empty());
    struct Case
    {
        const char* what;
        std::vector<ZipEntry> entries;  // empty: the file is no zip archive at all
        bool missing;
    };
    const std::vector<Case> cases = {
        {"no configuration", {UnixFile("readme.txt", "hello")}, false},
        {"no module key", {UnixFile("qveapp.cfg", "name=x\n")}, false},
        {"a module that is not there", {UnixFile("qveapp.cfg", "main_w32=absent.qvm\n")}, false},
        {"a library that is no module",
         {UnixFile("qveapp.cfg", "main_w32=data.qvm\n"), UnixFile("data.qvm", "not a library")},
         false},
        {"a module that is no applet",
         {UnixFile("qveapp.cfg", "main_w32=loader.qvm\n"), UnixFile("loader.qvm", notAnApplet)},
         false},
        {"not a zip archive", {}, false},
        {"no file", {}, true},
    };
    int round = 0;
    for (const Case& c : cases)
    {
        const fs::path folder = fs::path(HostFolder()) / ("broken" + std::to_string(round++));
        std::error_code error;
        fs::remove_all(folder, error);
        fs::create_directories(folder);
        const std::string package = (folder / "broken.qva").string();
        if (!c.entries.empty())
            ASSERT_TRUE(WriteZip(package, c.entries)) << c.what;
        else if (!c.missing)
            std::ofstream(package) << "PK no archive";

        const int threadsBefore = ThreadCount();
        Embedded embedded;
        ASSERT_EQ(NPERR_NO_ERROR, NewInstance(embedded, {}));
        ASSERT_EQ(NPERR_NO_ERROR, GiveWindow(embedded));
        DeliverPackage(embedded, package);
        Pump(300);
        // Key forwarding may hold a thread of its own on Linux; the applet never one.
        EXPECT_GE(threadsBefore + 1, ThreadCount()) << c.what;
        // The instance stays harmless.
        std::uint16_t type = 0;
        NPStream stream = {};
        char mime[] = "application/qv-applet";
        EXPECT_EQ(NPERR_NO_ERROR,
                  PluginFuncs().newstream(&embedded.handle, mime, &stream, 0, &type));
        EXPECT_EQ(NPERR_NO_ERROR, PluginFuncs().setwindow(&embedded.handle, &embedded.window));
        SendKey(embedded.page, 'K');
        const auto start = std::chrono::steady_clock::now();
        Destroy(embedded);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << c.what;
        EXPECT_TRUE(ThreadsBackTo(threadsBefore)) << c.what;
    }
}

TEST(NPInstance, PackagePathsWithSlashesFindTheirDirectory)
{
    QV_NEED_DESKTOP();
    const std::string package = ProbePackageIn("slashes");
    // The same file named with "/" separators (Windows takes both).
    const std::string slashed = fs::path(package).generic_string();
    // The applet's report lies in the package's directory, which it gets in the system's form.
    const std::string folder = FolderOf(package);
    Embedded embedded;
    ASSERT_EQ(NPERR_NO_ERROR, NewInstance(embedded, {}));
    ASSERT_EQ(NPERR_NO_ERROR, GiveWindow(embedded));
    DeliverPackage(embedded, slashed);
    ASSERT_TRUE(WaitFor([&] { return ReportHas(folder, "running"); }));
    EXPECT_TRUE(ReportHas(folder, Parameter("@temp_path", folder)));
    Destroy(embedded);
}

TEST(NPInstance, DestroyWhileTheAppletRunsEndsItFirst)
{
    QV_NEED_DESKTOP();
    const std::string package = ProbePackageIn("destroy");
    const std::string folder = FolderOf(package);
    const int threadsBefore = ThreadCount();
    // The package may come before the window, or after it.
    for (bool packageFirst : {false, true})
    {
        fs::remove(fs::path(folder) / "probe-applet.txt");
        Embedded embedded;
        ASSERT_EQ(NPERR_NO_ERROR, NewInstance(embedded, {}));
        if (packageFirst)
        {
            DeliverPackage(embedded, package);
            ASSERT_EQ(NPERR_NO_ERROR, GiveWindow(embedded));
        }
        else
        {
            ASSERT_EQ(NPERR_NO_ERROR, GiveWindow(embedded));
            DeliverPackage(embedded, package);
        }
        ASSERT_TRUE(WaitFor([&] { return ReportHas(folder, "running"); }));
        Destroy(embedded);
        // The applet ended before the destroy returned, and its thread is gone.
        EXPECT_TRUE(ReportHas(folder, "ended"));
        EXPECT_EQ(nullptr, embedded.handle.pdata);
        EXPECT_TRUE(ThreadsBackTo(threadsBefore));
    }
}

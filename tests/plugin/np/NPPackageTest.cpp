// Packages across the instances of one process (a page): what they unpack together stays within
// one budget, and no instance loads a library that another's package brought.
#include "tests/plugin/np/NPTestSupport.h"

#include "tests/plugin/ZipBuilder.h"

#include <cstdint>
#include <cstdlib>

using namespace nptest;

namespace
{
#ifdef _WIN32
void SetEnvironment(const std::string& name, const std::string& value)
{
    _putenv((name + "=" + value).c_str());
}
#else
void SetEnvironment(const std::string& name, const std::string& value)
{
    setenv(name.c_str(), value.c_str(), 1);
}
#endif

std::string ReadFile(const char* path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

const char ProbeConfiguration[] = "main_w32=probeapplet.qvm\nmain_linux=probeapplet.qvm\n";

// A fresh folder below the browser's working directory with a package of the probe applet and
// the extra entries after it; returns the package's path.
std::string ProbePackageWith(const std::string& folder, const std::vector<ZipEntry>& extra)
{
    const fs::path directory = fs::path(HostFolder()) / folder;
    std::error_code error;
    fs::remove_all(directory, error);
    fs::create_directories(directory);
    std::vector<ZipEntry> entries = {UnixFile("qveapp.cfg", ProbeConfiguration),
                                     UnixFile("probeapplet.qvm", ReadFile(QV_PROBE_MODULE), 0755)};
    entries.insert(entries.end(), extra.begin(), extra.end());
    const std::string package = (directory / "probe.qva").string();
    EXPECT_TRUE(WriteZip(package, entries));
    return package;
}

// An instance with a window and the package, its applet running.
void Start(Embedded& embedded, const std::string& package)
{
    ASSERT_EQ(NPERR_NO_ERROR, NewInstance(embedded, {}));
    ASSERT_EQ(NPERR_NO_ERROR, GiveWindow(embedded));
    DeliverPackage(embedded, package);
    ASSERT_TRUE(WaitFor([&] { return ReportHas(FolderOf(package), "running"); }))
        << "the applet of " << package << " did not start";
}

std::uint64_t Blocks(std::uint64_t bytes) { return bytes == 0 ? 1 : (bytes + 4095) / 4096; }
}  // namespace

TEST(NPPackage, AppletsOfAPageUnpackWithinOneBudget)
{
    QV_NEED_DESKTOP();
    // Room for the probe applet twice and its data once: the second applet starts without its
    // data, and once the first is gone a third gets all of it.
    const std::uint64_t applet =
        Blocks(sizeof ProbeConfiguration - 1) + Blocks(ReadFile(QV_PROBE_MODULE).size());
    const std::string data(100000, 'd');
    SetEnvironment("QV_UNPACK_LIMIT", std::to_string((2 * applet + Blocks(data.size())) * 4096));
    const std::vector<ZipEntry> withData = {UnixFile("data.bin", data)};
    const std::string first = ProbePackageWith("budget1", withData);
    const std::string second = ProbePackageWith("budget2", withData);
    const std::string third = ProbePackageWith("budget3", withData);

    Embedded one, two, three;
    Start(one, first);
    EXPECT_TRUE(fs::exists(fs::path(FolderOf(first)) / "data.bin"));
    Start(two, second);
    EXPECT_FALSE(fs::exists(fs::path(FolderOf(second)) / "data.bin"));
    Destroy(one);
    Start(three, third);
    EXPECT_TRUE(fs::exists(fs::path(FolderOf(third)) / "data.bin"));
    Destroy(two);
    Destroy(three);
    SetEnvironment("QV_UNPACK_LIMIT", "");
}

TEST(NPPackage, LibrariesAPackageBringsAreNeverLoaded)
{
    QV_NEED_DESKTOP();
    const fs::path marker = fs::path(HostFolder()) / "marker-loads.txt";
    fs::remove(marker);
    SetEnvironment("QV_NP_LOAD_MARKER", marker.string());
    // The first applet's start makes its folder the working directory; the second instance,
    // made after that, collects its property loaders, and its package brings the same library.
    // A file of that name beside the plug-in (no library) makes every scan ask for the name
    // bare: the system's own search must not find it in the working directory either.
    const fs::path besidePlugin = fs::path(PluginFolder()) / "extra.qvm";
    std::ofstream(besidePlugin) << "not a library";
    const ZipEntry extra = UnixFile("extra.qvm", ReadFile(QV_LOAD_MARKER), 0755);
    Embedded one, two;
    Start(one, ProbePackageWith("brought1", {extra}));
    Start(two, ProbePackageWith("brought2", {extra}));
    Destroy(two);
    Destroy(one);
    SetEnvironment("QV_NP_LOAD_MARKER", "");
    fs::remove(besidePlugin);
    EXPECT_FALSE(fs::exists(marker)) << "a library a package brought was loaded";
}

// Linux specifics of unpacking: permission bits, links already in the package directory, the
// DOS time read in the local time zone.
#include "plugin/package/EntryInfo.h"
#include "plugin/package/QVPackageExtractor.h"

#include "../FileState.h"
#include "../PackageTestSupport.h"
#include "../ZipBuilder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include <sys/stat.h>

namespace
{
class PosixUnpackTest : public ::testing::Test
{
protected:
    PosixUnpackTest() : scratch(::testing::UnitTest::GetInstance()->current_test_info()->name())
    {
        const mode_t mask = umask(0);
        umask(mask);
        defaultPermissions = static_cast<int>(0666 & ~mask);
    }

    QVUnpackReport Unpack(const std::vector<ZipEntry>& entries)
    {
        EXPECT_TRUE(WriteZip(scratch.PackageText(), entries));
        return QVPackageExtractor().Unpack(scratch.PackageText().c_str(),
                                           scratch.RootText().c_str());
    }

    ScratchTree scratch;
    int defaultPermissions;
};

ZipEntry UnixEntry(const std::string& name, unsigned long mode, const std::string& data = "x")
{
    ZipEntry entry = UnixFile(name, data);
    entry.externalAttributes = mode << 16;
    return entry;
}
}  // namespace

TEST_F(PosixUnpackTest, AttributesBecomePermissionBits)
{
    struct
    {
        ZipEntry entry;
        int permissions;   // -1: the default ones (0666 less the umask)
        int withoutWrite;  // -1: the default ones without write bits
    } const cases[] = {
        {UnixEntry("u644", 0100644), 0644, 0},
        {UnixEntry("u755", 0100755), 0755, 0},
        {UnixEntry("u600", 0100600), 0600, 0},
        {UnixEntry("u444", 0100444), 0444, 0},
        {UnixEntry("setuid", 0104755), 0755, 0},
        {UnixEntry("sticky", 0101777), 0777, 0},
        {UnixEntry("no-mode", 0), 0, -1},
        {DosFile("dos-plain", "x", 0x20), -1, 0},
        {DosFile("dos-read-only", "x", 0x01), 0, -1},
        {DosFile("dos-hidden-system", "x", 0x06), -1, 0},
    };
    std::vector<ZipEntry> entries;
    for (const auto& c : cases)
        entries.push_back(c.entry);
    Unpack(entries);
    for (const auto& c : cases)
    {
        const FileState state = StateOf(scratch.Root() / c.entry.name);
        ASSERT_TRUE(state.exists) << c.entry.name;
        const int expected = c.withoutWrite == -1  ? (defaultPermissions & 0555)
                             : c.permissions == -1 ? defaultPermissions
                                                   : c.permissions;
        EXPECT_EQ(expected, state.permissions) << c.entry.name;
    }
}

TEST_F(PosixUnpackTest, SymbolicLinkEntriesBecomePlainFiles)
{
    Unpack({UnixEntry("link", 0120777, "../../../etc/passwd"), UnixEntry("dirlink", 0120755, "/")});
    for (const char* name : {"link", "dirlink"})
    {
        const fs::path path = scratch.Root() / name;
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(path))) << name;
        EXPECT_EQ(defaultPermissions, StateOf(path).permissions) << name;
    }
    EXPECT_EQ("../../../etc/passwd", ReadFile(scratch.Root() / "link"));
}

TEST_F(PosixUnpackTest, LinksInTheDirectoryAreNeverFollowed)
{
    // Whoever could write the package directory left links to a place outside it.
    const fs::path outside = scratch.Parent() / "outside";
    fs::create_directories(outside);
    WriteFile(outside / "target.txt", "untouched");
    fs::create_directory_symlink(outside, scratch.Root() / "to-outside");
    fs::create_symlink(outside / "target.txt", scratch.Root() / "to-file");

    const QVUnpackReport report =
        Unpack({UnixFile("to-outside/evil.txt", "x"), Directory("to-outside/made/"),
                UnixFile("to-outside", "the link itself is replaced"),
                UnixFile("to-file", "the link itself is replaced")});

    EXPECT_EQ((std::map<std::string, std::string>{{"target.txt", "untouched"}}), TreeOf(outside));
    EXPECT_EQ(2ul, report.skipped);
    for (const char* name : {"to-outside", "to-file"})
    {
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(scratch.Root() / name))) << name;
        EXPECT_EQ("the link itself is replaced", ReadFile(scratch.Root() / name)) << name;
    }
}

TEST(DosTime, ReadAsLocalTime)
{
    struct
    {
        const char* zone;
        unsigned long dos;
        std::int64_t utc;
    } const cases[] = {
        {"UTC0", DosDateTime(2020, 6, 15, 12, 30, 44), 1592224244},
        {"CET-1CEST,M3.5.0,M10.5.0/3", DosDateTime(2020, 6, 15, 12, 30, 44), 1592224244 - 7200},
        {"CET-1CEST,M3.5.0,M10.5.0/3", DosDateTime(2020, 1, 15, 12, 0, 0), 1579089600 - 3600},
        {"EST5EDT,M3.2.0,M11.1.0", DosDateTime(1980, 1, 1, 0, 0, 0), 315532800 + 5 * 3600},
        {"UTC0", DosDateTime(2107, 12, 31, 23, 59, 58), 4354819198},
    };
    const char* saved = std::getenv("TZ");
    const std::string previous = saved != nullptr ? saved : "";
    for (const auto& c : cases)
    {
        setenv("TZ", c.zone, 1);
        tzset();
        EXPECT_EQ(c.utc, DosTimeToUnix(c.dos)) << c.zone;
    }
    if (saved != nullptr)
        setenv("TZ", previous.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

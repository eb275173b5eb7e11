// A peer: Info-ZIP's unzip and zip. Benign packages unpacked by unzip and by us give the same
// tree, bytes, permission bits and write times; a package that zip made of a real tree unpacks
// to that tree. Skipped where the tools are not installed.
#include "plugin/package/QVPackageExtractor.h"

#include "../FileState.h"
#include "../PackageTestSupport.h"
#include "../ZipBuilder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>

namespace
{
bool Shell(const std::string& command) { return std::system(command.c_str()) == 0; }

std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }

// Every file and directory below folder with its permission bits and (for files) write time.
std::map<std::string, std::string> StatesOf(const fs::path& folder)
{
    std::map<std::string, std::string> states;
    for (const auto& [name, bytes] : TreeOf(folder))
    {
        const FileState state = StateOf(folder / name);
        std::string text = "mode " + std::to_string(state.permissions);
        if (name.back() != '/')
            text += " written " + std::to_string(state.write);
        states[name] = text;
    }
    return states;
}

class PeerUnzipTest : public ::testing::Test
{
protected:
    PeerUnzipTest()
        : scratch(::testing::UnitTest::GetInstance()->current_test_info()->name()),
          theirs(scratch.Parent() / "theirs")
    {
    }

    void SetUp() override
    {
        if (!Shell("unzip -v >/dev/null 2>&1") || !Shell("zip -v >/dev/null 2>&1"))
            GTEST_SKIP() << "Info-ZIP zip and unzip are not installed";
        fs::create_directories(theirs);
    }

    // Unpacks the package both ways and expects the same result.
    void ExpectSameAsUnzip(const std::string& package)
    {
        ASSERT_TRUE(Shell("unzip -o -q " + Quoted(package) + " -d " + Quoted(theirs)));
        const QVUnpackReport report =
            QVPackageExtractor().Unpack(package.c_str(), scratch.RootText().c_str());
        EXPECT_EQ(0ul, report.skipped);
        EXPECT_EQ(TreeOf(theirs), TreeOf(scratch.Root()));
        EXPECT_EQ(StatesOf(theirs), StatesOf(scratch.Root()));
    }

    ScratchTree scratch;
    fs::path theirs;
};
}  // namespace

TEST_F(PeerUnzipTest, CraftedPackagesUnpackAsUnzipUnpacksThem)
{
    ZipEntry stamped = UnixFile("times/stamped", "UT times");
    stamped.localExtra = ExtendedTimestamp(3, 1300000000, 1300000100);
    stamped.centralExtra = ExtendedTimestamp(1, 1300000000);
    ZipEntry dosTime = UnixFile("times/dos", "DOS time only");
    dosTime.dosDateTime = DosDateTime(2001, 2, 3, 4, 5, 6);
    ZipEntry stored = UnixFile("stored-big", NoiseBytes(300000, 7));
    stored.deflate = false;
    const std::string package = scratch.PackageText();
    ASSERT_TRUE(WriteZip(package, {
                                      Directory("docs/"),
                                      UnixFile("docs/readme.txt", "read me"),
                                      UnixFile("docs/deep/er/file", NoiseBytes(70000, 3)),
                                      UnixFile("run.sh", "#!/bin/sh\n", 0755),
                                      UnixFile("private", "secret", 0600),
                                      UnixFile("locked", "read only", 0444),
                                      UnixFile("empty", ""),
                                      stored,
                                      stamped,
                                      dosTime,
                                  }));
    ExpectSameAsUnzip(package);
}

TEST_F(PeerUnzipTest, PackageMadeByZipUnpacksToItsTree)
{
    // A tree with modes and write times of its own, packed by Info-ZIP zip (with its "UT" and
    // "ux" extra fields).
    const fs::path source = scratch.Parent() / "source";
    fs::create_directories(source / "sub" / "deeper");
    struct
    {
        const char* name;
        std::string bytes;
        mode_t mode;
        std::int64_t written;
    } const files[] = {
        {"a.txt", "alpha\n", 0644, 1000000000},
        {"sub/b.bin", NoiseBytes(50000, 9), 0600, 1100000000},
        {"sub/deeper/c.sh", "#!/bin/sh\necho c\n", 0755, 1200000000},
        {"sub/deeper/empty", "", 0444, 1300000000},
    };
    for (const auto& file : files)
    {
        WriteFile(source / file.name, file.bytes);
        chmod((source / file.name).c_str(), file.mode);
        const timespec times[2] = {{file.written, 0}, {file.written, 0}};
        utimensat(AT_FDCWD, (source / file.name).c_str(), times, 0);
    }
    const std::string package = scratch.PackageText();
    ASSERT_TRUE(Shell("cd " + Quoted(source) + " && zip -q -r " + Quoted(package) + " ."));
    ExpectSameAsUnzip(package);

    const auto ours = StatesOf(scratch.Root());
    for (const auto& file : files)
    {
        EXPECT_EQ(file.bytes, ReadFile(scratch.Root() / file.name)) << file.name;
        EXPECT_EQ("mode " + std::to_string(file.mode) + " written " + std::to_string(file.written),
                  ours.at(file.name))
            << file.name;
    }
}

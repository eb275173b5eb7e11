// Unpacking crafted packages: the tree they make, what stays inside the root, damaged and
// oversized entries, the times.
#include "plugin/package/QVPackageExtractor.h"
#include "plugin/package/EntryInfo.h"

#include "FileState.h"
#include "PackageTestSupport.h"
#include "ZipBuilder.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace
{
using Tree = std::map<std::string, std::string>;

class PackageExtractorTest : public ::testing::Test
{
protected:
    PackageExtractorTest()
        : scratch(::testing::UnitTest::GetInstance()->current_test_info()->name())
    {
    }

    QVUnpackReport Unpack(const std::vector<ZipEntry>& entries,
                          std::uint64_t limit = QVPackageExtractor::DefaultByteLimit,
                          unsigned long entryLimit = QVPackageExtractor::DefaultEntryLimit)
    {
        EXPECT_TRUE(WriteZip(scratch.PackageText(), entries));
        QVPackageExtractor extractor;
        extractor.SetByteLimit(limit);
        extractor.SetEntryLimit(entryLimit);
        return extractor.Unpack(scratch.PackageText().c_str(), scratch.RootText().c_str());
    }

    // Nothing but the root and the package beside it: no entry escaped.
    void ExpectNothingEscaped()
    {
        Tree beside;
        for (const auto& item : fs::directory_iterator(scratch.Parent()))
            beside[item.path().filename().string()] = "";
        EXPECT_EQ((Tree{{"package.qva", ""}, {"root", ""}}), beside);
    }

    ScratchTree scratch;
};

ZipEntry Stored(ZipEntry entry)
{
    entry.deflate = false;
    return entry;
}
}  // namespace

TEST_F(PackageExtractorTest, SeparatorsAndSubdirectoriesMakeOneTree)
{
    const QVUnpackReport report = Unpack({
        UnixFile("top.txt", "top"),
        UnixFile("a/b/c.txt", "c"),
        UnixFile("a\\d.txt", "d"),
        Directory("e/"),
        Directory("f\\g\\"),
        DosFile("h\\i.txt", "i", 0x20),
    });
    EXPECT_EQ((Tree{{"top.txt", "top"},
                    {"a/", ""},
                    {"a/b/", ""},
                    {"a/b/c.txt", "c"},
                    {"a/d.txt", "d"},
                    {"e/", ""},
                    {"f/", ""},
                    {"f/g/", ""},
                    {"h/", ""},
                    {"h/i.txt", "i"}}),
              TreeOf(scratch.Root()));
    EXPECT_EQ(6ul, report.entries);
    EXPECT_EQ(4ul, report.files);
    EXPECT_EQ(2ul, report.directories);
    EXPECT_EQ(0ul, report.skipped);
    EXPECT_EQ(6u, report.bytes);
}

TEST_F(PackageExtractorTest, HostileNamesStayInside)
{
    struct
    {
        const char* stored;
        const char* lands;  // null: skipped
    } const names[] = {
        {"C:\\x1.txt", "x1.txt"},
        {"/x2.txt", "x2.txt"},
        {"\\\\server\\share\\x3.txt", "server/share/x3.txt"},
        {"../x4.txt", "x4.txt"},
        {"d/../../x5.txt", "x5.txt"},
        {"..\\..\\x6.txt", "x6.txt"},
        {"../../../../../../../../x7/x7.txt", "x7/x7.txt"},
        {"a/..", nullptr},
        {"../", nullptr},
        {"..\\..\\", nullptr},
    };
    std::vector<ZipEntry> entries;
    Tree expected;
    for (const auto& name : names)
    {
        entries.push_back(UnixFile(name.stored, name.stored));
        if (name.lands == nullptr)
            continue;
        expected[name.lands] = name.stored;
        for (std::string parent = name.lands; parent.rfind('/') != std::string::npos;)
        {
            parent.erase(parent.rfind('/'));
            expected[parent + "/"] = "";
        }
    }
    const QVUnpackReport report = Unpack(entries);
    EXPECT_EQ(expected, TreeOf(scratch.Root()));
    EXPECT_EQ(3ul, report.skipped);
    ExpectNothingEscaped();
}

TEST_F(PackageExtractorTest, DirectoryEntriesByAttributesWriteNothing)
{
    ZipEntry dosDirectory = DosFile("dosdir", "", 0x10);
    ZipEntry unixDirectory = UnixFile("unixdir", "", 0);
    unixDirectory.externalAttributes = 0040755ul << 16;
    ZipEntry withData = Directory("full/");
    withData.data = "directories hold no data";
    const QVUnpackReport report = Unpack({dosDirectory, unixDirectory, withData});
    EXPECT_EQ((Tree{{"dosdir/", ""}, {"unixdir/", ""}, {"full/", ""}}), TreeOf(scratch.Root()));
    EXPECT_EQ(3ul, report.directories);
}

TEST_F(PackageExtractorTest, StoredAndDeflatedDataOfEverySize)
{
    const std::size_t sizes[] = {0, 1, 16383, 16384, 16385, 100000, 1u << 20};
    std::vector<ZipEntry> entries;
    Tree expected;
    for (std::size_t size : sizes)
    {
        const std::string data = NoiseBytes(size, static_cast<unsigned>(size) + 1);
        const std::string stored = "stored-" + std::to_string(size);
        const std::string deflated = "deflated-" + std::to_string(size);
        entries.push_back(Stored(UnixFile(stored, data)));
        entries.push_back(UnixFile(deflated, data));
        expected[stored] = data;
        expected[deflated] = data;
    }
    // Data that compresses well, in many deflate blocks.
    ZipEntry text = UnixFile("text", "");
    for (int i = 0; i < 20000; ++i)
        text.data += "line " + std::to_string(i) + " of a text that compresses\n";
    entries.push_back(text);
    expected["text"] = text.data;

    const QVUnpackReport report = Unpack(entries);
    EXPECT_EQ(expected, TreeOf(scratch.Root()));
    EXPECT_EQ(0ul, report.skipped);
}

TEST_F(PackageExtractorTest, DamagedEntriesAreSkippedAndTheNextOnesUnpacked)
{
    ZipEntry badCrc = UnixFile("bad-crc", NoiseBytes(40000));
    badCrc.crc = 0x12345678;
    ZipEntry storedBadCrc = Stored(UnixFile("stored-bad-crc", "abc"));
    storedBadCrc.crc = 0;
    ZipEntry cutDeflated = UnixFile("cut-deflated", NoiseBytes(40000, 2));
    cutDeflated.cutStoredBytes = 20000;
    ZipEntry cutStored = Stored(UnixFile("cut-stored", NoiseBytes(40000, 3)));
    cutStored.cutStoredBytes = 39999;
    ZipEntry garbage = UnixFile("not-deflate", "");
    garbage.deflate = true;
    garbage.data = "";
    garbage.cutStoredBytes = 0;  // no stream at all where one is declared
    garbage.declaredSize = 10;

    const QVUnpackReport report =
        Unpack({UnixFile("good-1", "1"), badCrc, UnixFile("good-2", "2"), storedBadCrc,
                UnixFile("good-3", "3"), cutDeflated, UnixFile("good-4", "4"), cutStored,
                UnixFile("good-5", "5"), garbage, UnixFile("good-6", "6")});
    // Nothing of the damaged entries is left, not even a temporary file.
    EXPECT_EQ((Tree{{"good-1", "1"},
                    {"good-2", "2"},
                    {"good-3", "3"},
                    {"good-4", "4"},
                    {"good-5", "5"},
                    {"good-6", "6"}}),
              TreeOf(scratch.Root()));
    EXPECT_EQ(5ul, report.skipped);
    EXPECT_EQ(6ul, report.files);
}

TEST_F(PackageExtractorTest, SizesThatLieAreSkipped)
{
    // A deflate stream that goes on past the declared size, with the CRC of the whole data and
    // with the CRC of just the declared part: neither is written, not even cut to size.
    ZipEntry longer = UnixFile("longer", std::string(5000, 'x'));
    longer.declaredSize = 1000;
    ZipEntry longerMatching = longer;
    longerMatching.name = "longer-matching-crc";
    {
        // CRC-32 of 1000 'x' bytes, computed independently of the code under test.
        unsigned long crc = 0xFFFFFFFFul;
        for (int i = 0; i < 1000; ++i)
        {
            crc ^= static_cast<unsigned char>('x');
            for (int bit = 0; bit < 8; ++bit)
                crc = (crc >> 1) ^ (0xEDB88320ul & (0ul - (crc & 1)));
        }
        longerMatching.crc = static_cast<long long>(crc ^ 0xFFFFFFFFul);
    }
    ZipEntry shorter = UnixFile("shorter", std::string(1000, 'y'));
    shorter.declaredSize = 2000;
    ZipEntry storedLonger = Stored(UnixFile("stored-longer", std::string(3000, 'z')));
    storedLonger.declaredSize = 1000;
    ZipEntry storedShorter = Stored(UnixFile("stored-shorter", std::string(1000, 'z')));
    storedShorter.declaredSize = 3000;

    const QVUnpackReport report = Unpack({longer, longerMatching, shorter, storedLonger,
                                          storedShorter, UnixFile("next", "still unpacked")});
    EXPECT_EQ((Tree{{"next", "still unpacked"}}), TreeOf(scratch.Root()));
    EXPECT_EQ(5ul, report.skipped);
}

std::string Repeated(const std::string& part, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += part;
    return text;
}

TEST_F(PackageExtractorTest, LimitsChargeBlocksAndBoundEntriesAndDepth)
{
    const std::uint64_t block = QVPackageExtractor::BlockSize;
    const std::string deepest = Repeated("d/", 63) + "f";  // 64 components
    struct
    {
        const char* what;
        std::vector<ZipEntry> entries;
        std::uint64_t limit;
        unsigned long entryLimit;
        unsigned long files, directories;  // the rest is skipped
        std::uint64_t charged;             // in blocks
        std::size_t made;                  // files and directories in the tree
    } const cases[] = {
        {"files in whole blocks",
         {UnixFile("a", std::string(4000, 'a')), UnixFile("b", std::string(4097, 'b')),
          UnixFile("c", "c")},
         3 * block + 1808,
         65535,
         2,
         0,
         3,
         2},
        {"empty files cost a block",
         {UnixFile("e1", ""), UnixFile("e2", ""), UnixFile("e3", ""), UnixFile("e4", "")},
         3 * block,
         65535,
         3,
         0,
         3,
         3},
        {"directories made cost a block, a directory entry at least one",
         {Directory("a/b/c/"), Directory("a/"), Directory("d/")},
         4 * block,
         65535,
         0,
         2,
         4,
         3},
        {"directories-only package",
         {Directory("x/"), Directory("y/"), Directory("z/")},
         2 * block,
         65535,
         0,
         2,
         2,
         2},
        {"directories a file's path makes",
         {UnixFile("x/y/f", "1"), UnixFile("z/g", "")},
         3 * block,
         65535,
         1,
         0,
         3,
         3},
        {"a path that needs more directories than are left stops where they end",
         {UnixFile("p/q/r/f", "1")},
         3 * block,
         65535,
         0,
         0,
         2,
         2},
        {"deep paths",
         {UnixFile(deepest, "deepest"), UnixFile(Repeated("d/", 64) + "g", "too deep"),
          Directory("0/" + Repeated("a/", 200)), Directory("1/" + Repeated("a/", 200))},
         QVPackageExtractor::DefaultByteLimit,
         65535,
         1,
         0,
         64,
         64},
        {"many entries",
         {UnixFile("1", ""), Directory("2/"), UnixFile("3", ""), UnixFile("4", ""),
          Directory("5/")},
         QVPackageExtractor::DefaultByteLimit,
         3,
         2,
         1,
         3,
         3},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        fs::remove_all(scratch.Root());
        fs::create_directories(scratch.Root());
        const QVUnpackReport report = Unpack(c.entries, c.limit, c.entryLimit);
        EXPECT_EQ(c.entries.size(), report.entries);
        EXPECT_EQ(c.files, report.files);
        EXPECT_EQ(c.directories, report.directories);
        EXPECT_EQ(c.entries.size() - c.files - c.directories, report.skipped);
        EXPECT_EQ(c.charged * block, report.charged);
        EXPECT_LE(report.charged, c.limit);
        EXPECT_EQ(c.made, TreeOf(scratch.Root()).size());
    }
}

TEST_F(PackageExtractorTest, CompressionBombsStopAtTheLimit)
{
    // 64 MiB of zeros in 64 KiB, honestly declared, over a host's limit of 1 MiB; and the same
    // declared as one kilobyte.
    ZipEntry bomb = UnixFile("bomb", "");
    bomb.zeros = std::uint64_t(64) << 20;
    ZipEntry liar = bomb;
    liar.name = "liar";
    liar.declaredSize = 1024;
    const QVUnpackReport report =
        Unpack({bomb, UnixFile("after-bomb", "kept"), liar, UnixFile("after-liar", "kept")},
               std::uint64_t(1) << 20);
    EXPECT_EQ((Tree{{"after-bomb", "kept"}, {"after-liar", "kept"}}), TreeOf(scratch.Root()));
    EXPECT_EQ(2ul, report.skipped);
    EXPECT_EQ(8u, report.bytes);
}

TEST_F(PackageExtractorTest, DefaultLimits)
{
    EXPECT_EQ(std::uint64_t(1) << 30, QVPackageExtractor().GetByteLimit());
    EXPECT_EQ(65535ul, QVPackageExtractor().GetEntryLimit());
    EXPECT_EQ(64u, QVPackageExtractor().GetDepthLimit());
    // Declared sizes over it are refused before anything is read.
    ZipEntry huge = UnixFile("huge", "not read");
    huge.declaredSize = (std::int64_t(1) << 30) + 1;
    ZipEntry fits = UnixFile("fits", "");
    fits.zeros = 1 << 20;
    const QVUnpackReport report = Unpack({huge, fits});
    EXPECT_EQ((Tree{{"fits", std::string(1 << 20, '\0')}}), TreeOf(scratch.Root()));
    EXPECT_EQ(1ul, report.skipped);
}

TEST_F(PackageExtractorTest, WhatIsNoPackageUnpacksNothing)
{
    QVPackageExtractor extractor;
    const fs::path notZip = scratch.Parent() / "not-a-zip.qva";
    WriteFile(notZip, "PK\x03\x04 but nothing a zip archive holds");
    const fs::path empty = scratch.Parent() / "empty.qva";
    WriteFile(empty, "");
    const fs::path missing = scratch.Parent() / "missing.qva";
    for (const fs::path& file : {notZip, empty, missing, scratch.Root()})
    {
        const QVUnpackReport report =
            extractor.Unpack(file.string().c_str(), scratch.RootText().c_str());
        EXPECT_EQ(0ul, report.entries) << file;
        EXPECT_EQ(0ul, report.files) << file;
    }
    EXPECT_TRUE(TreeOf(scratch.Root()).empty());
}

TEST_F(PackageExtractorTest, RootThatIsNoDirectorySkipsEverything)
{
    EXPECT_TRUE(WriteZip(scratch.PackageText(), {UnixFile("a", "a")}));
    QVPackageExtractor extractor;
    const QVUnpackReport report =
        extractor.Unpack(scratch.PackageText().c_str(), scratch.PackageText().c_str());
    EXPECT_EQ(1ul, report.skipped);
}

TEST_F(PackageExtractorTest, LaterPackageReplacesFilesOfTheSameName)
{
    Unpack({UnixFile("same.txt", "first"), DosFile("locked.txt", "first", 0x01),
            UnixFile("sub/only-first.txt", "first"), UnixFile("mode.txt", "first", 0444)});
    const QVUnpackReport report =
        Unpack({UnixFile("same.txt", "second"), DosFile("locked.txt", "second", 0x01),
                UnixFile("mode.txt", "second", 0644)});
    EXPECT_EQ((Tree{{"same.txt", "second"},
                    {"locked.txt", "second"},
                    {"mode.txt", "second"},
                    {"sub/", ""},
                    {"sub/only-first.txt", "first"}}),
              TreeOf(scratch.Root()));
    EXPECT_EQ(0ul, report.skipped);
}

TEST_F(PackageExtractorTest, FilesAndDirectoriesDoNotReplaceEachOther)
{
    fs::create_directories(scratch.Root() / "was-directory" / "inner");
    WriteFile(scratch.Root() / "was-file", "file");
    const QVUnpackReport report = Unpack(
        {UnixFile("was-directory", "x"), Directory("was-file/"), UnixFile("was-file/below", "x")});
    EXPECT_EQ((Tree{{"was-directory/", ""}, {"was-directory/inner/", ""}, {"was-file", "file"}}),
              TreeOf(scratch.Root()));
    EXPECT_EQ(3ul, report.skipped);
}

TEST_F(PackageExtractorTest, Utf8NamesAreDecoded)
{
    ZipEntry entry = UnixFile("caf\xc3\xa9/na\xc3\xafve.txt", "utf-8");
    entry.utf8Name = true;
    Unpack({entry});
    EXPECT_EQ("utf-8", ReadFile(scratch.Root() / fs::u8path("caf\xc3\xa9/na\xc3\xafve.txt")));
}

TEST_F(PackageExtractorTest, TimesFromTheExtendedTimestampOrTheDosTime)
{
    const unsigned long dos = DosDateTime(2019, 3, 4, 5, 6, 8);
    ZipEntry all = UnixFile("all", "a");
    all.dosDateTime = dos;
    all.localExtra = ExtendedTimestamp(7, 1000000000, 1100000000, 900000000);
    all.centralExtra = ExtendedTimestamp(1, 1000000000);
    // The central directory alone: only the write time is there.
    ZipEntry central = UnixFile("central", "c");
    central.dosDateTime = dos;
    central.centralExtra = ExtendedTimestamp(1, 1200000000);
    ZipEntry dosOnly = UnixFile("dos", "d");
    dosOnly.dosDateTime = dos;
    Unpack({all, central, dosOnly});

    const std::int64_t dosTime = DosTimeToUnix(dos);
    struct
    {
        const char* name;
        std::int64_t write, access, creation;
    } const expected[] = {
        {"all", 1000000000, 1100000000, 900000000},
        {"central", 1200000000, dosTime, dosTime},
        {"dos", dosTime, dosTime, dosTime},
    };
    for (const auto& file : expected)
    {
        const FileState state = StateOf(scratch.Root() / file.name);
        ASSERT_TRUE(state.exists) << file.name;
        EXPECT_EQ(file.write, state.write) << file.name;
        EXPECT_EQ(file.access, state.access) << file.name;
        // Only Windows files have a creation time.
        if (state.creation != -1)
        {
            EXPECT_EQ(file.creation, state.creation) << file.name;
        }
    }
}

// Windows specifics of unpacking: file attributes, names that are no plain file names, long
// paths.
#include "plugin/package/QVPackageExtractor.h"

#include "../FileState.h"
#include "../PackageTestSupport.h"
#include "../ZipBuilder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>

namespace
{
class Win32UnpackTest : public ::testing::Test
{
protected:
    Win32UnpackTest() : scratch(::testing::UnitTest::GetInstance()->current_test_info()->name()) {}

    QVUnpackReport Unpack(const std::vector<ZipEntry>& entries)
    {
        EXPECT_TRUE(WriteZip(scratch.PackageText(), entries));
        return QVPackageExtractor().Unpack(scratch.PackageText().c_str(),
                                           scratch.RootText().c_str());
    }

    ScratchTree scratch;
};

ZipEntry UnixEntry(const std::string& name, unsigned long mode)
{
    ZipEntry entry = UnixFile(name, "x");
    entry.externalAttributes = mode << 16;
    return entry;
}
}  // namespace

TEST_F(Win32UnpackTest, FilesGetTheEntryAttributes)
{
    struct
    {
        ZipEntry entry;
        bool readOnly, hidden, system, archive;
    } const cases[] = {
        {DosFile("plain", "x", 0x00), false, false, false, false},
        {DosFile("read-only", "x", 0x01), true, false, false, false},
        {DosFile("hidden", "x", 0x02), false, true, false, false},
        {DosFile("system", "x", 0x04), false, false, true, false},
        {DosFile("archive", "x", 0x20), false, false, false, true},
        {DosFile("all", "x", 0x27), true, true, true, true},
        {UnixEntry("unix-644", 0100644), false, false, false, true},
        {UnixEntry("unix-444", 0100444), true, false, false, true},
        {UnixEntry("unix-no-mode", 0), true, false, false, true},
    };
    std::vector<ZipEntry> entries;
    for (const auto& c : cases)
        entries.push_back(c.entry);
    Unpack(entries);
    for (const auto& c : cases)
    {
        const FileState state = StateOf(scratch.Root() / c.entry.name);
        ASSERT_TRUE(state.exists) << c.entry.name;
        EXPECT_EQ(c.readOnly, state.readOnly) << c.entry.name;
        EXPECT_EQ(c.hidden, state.hidden) << c.entry.name;
        EXPECT_EQ(c.system, state.system) << c.entry.name;
        // Windows itself marks every new file for archiving: only a set bit says anything.
        if (c.archive)
        {
            EXPECT_TRUE(state.archive) << c.entry.name;
        }
    }
}

TEST_F(Win32UnpackTest, NamesThatAreNoPlainFileNamesAreSkipped)
{
    const char* const refused[] = {"CON",        "aux.txt", "com1",     "LPT9.log", "nul .txt",
                                   "x/a:stream", "trail.",  "trail ",   "q?.txt",   "star*",
                                   "dir/CON/x",  "pipe|",   "quote\"x", "less<"};
    std::vector<ZipEntry> entries;
    for (const char* name : refused)
        entries.push_back(UnixFile(name, name));
    entries.push_back(UnixFile("CONSOLE.txt", "plain"));
    entries.push_back(UnixFile("com10", "plain"));
    const QVUnpackReport report = Unpack(entries);
    EXPECT_EQ(std::size(refused), report.skipped);
    EXPECT_EQ((std::map<std::string, std::string>{{"CONSOLE.txt", "plain"}, {"com10", "plain"}}),
              TreeOf(scratch.Root()));
}

TEST_F(Win32UnpackTest, PathsLongerThan260Characters)
{
    std::wstring path = L"\\\\?\\" + scratch.Root().wstring();
    std::vector<std::wstring> folders;
    std::string name;
    for (int i = 0; i < 6; ++i)
    {
        const std::string folder(60, static_cast<char>('a' + i));
        name += folder + "/";
        path += L"\\" + std::wstring(folder.begin(), folder.end());
        folders.push_back(path);
    }
    name += "deep.txt";
    const QVUnpackReport report = Unpack({UnixFile(name, "deep")});
    EXPECT_EQ(1ul, report.files);
    const std::wstring file = path + L"\\deep.txt";
    EXPECT_TRUE(StateOf(file).exists);
    // The folder iterator of the tests knows no paths this long: the tree goes here.
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(file.c_str());
    for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder)
        RemoveDirectoryW(folder->c_str());
}

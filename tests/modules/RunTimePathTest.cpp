// Runtime directory, directory changes, file listings and the library search order.
#include "modules/QVModule.h"
#include "tests/modules/ModuleTestSupport.h"

#include <algorithm>
#include <string>
#include <vector>

namespace
{

std::vector<std::string> Names(QVList<QVString>& list)
{
    std::vector<std::string> names;
    for (unsigned i = 0; i < list.GetCount(); ++i)
        names.emplace_back(list[i].GetBuffer());
    return names;
}

bool OnWindows() { return QVPathSeparator() == '\\'; }

}  // namespace

using RunTimePathTest = ModuleDirectoryTest;

TEST_F(RunTimePathTest, RunTimeKeyKeepsItsThreeOutcomes)
{
    QVString path("stale");
    EXPECT_FALSE(GetRunTimePath(path));
    EXPECT_EQ(0, path.GetLength());

    SetRunTimeKeyWithoutValue();
    path.Assign("stale");
    EXPECT_TRUE(GetRunTimePath(path));
    EXPECT_EQ(0, path.GetLength());

    SetRunTimeKey(RunTimeModuleDir().c_str());
    EXPECT_TRUE(GetRunTimePath(path));
    EXPECT_EQ(RunTimeModuleDir(), path.GetBuffer());
}

TEST_F(RunTimePathTest, RunTimeKeyValuesOfAnyLength)
{
    // Around the 250 characters that the path buffer holds at first, and well beyond.
    for (const std::size_t length : {249u, 250u, 251u, 300u, 1000u})
    {
        QVString path;
        const std::string value(length, 'x');
        SetRunTimeKey(value.c_str());
        EXPECT_TRUE(GetRunTimePath(path));
        EXPECT_EQ(value, path.GetBuffer()) << length;
    }
}

TEST_F(RunTimePathTest, ChangeDirectoryValidForms)
{
    EXPECT_EQ(TestModuleDir(), CurrentDir());
    ASSERT_TRUE(ChangeDirectory("rt"));
    EXPECT_EQ(RunTimeModuleDir(), CurrentDir());

    QVString wide(TestModuleDir().c_str());
    wide.SetEncoding(QVString::Wide);
    ASSERT_TRUE(ChangeDirectory(wide));
    EXPECT_EQ(TestModuleDir(), CurrentDir());

    const unsigned short up[] = {'.', '.', 0};
    ASSERT_TRUE(ChangeDirectory(up));
    EXPECT_EQ(BinDir(), CurrentDir());
}

TEST_F(RunTimePathTest, ChangeDirectoryWithDrivePrefix)
{
    // Windows: the lower-case drive letter of the working directory selects that drive, then the
    // rest of the path is entered. Linux has no drives: the prefix alone makes the change fail.
    std::string path = RunTimeModuleDir();
    if (OnWindows())
    {
        ASSERT_EQ(':', path[1]);
        path[0] = static_cast<char>(path[0] | 0x20);
        EXPECT_TRUE(ChangeDirectory(path.c_str()));
        EXPECT_EQ(RunTimeModuleDir(), CurrentDir());
    }
    else
    {
        EXPECT_FALSE(ChangeDirectory(("d:" + path).c_str()));
        EXPECT_EQ(TestModuleDir(), CurrentDir());
    }
}

TEST_F(RunTimePathTest, ChangeDirectoryInvalidLeavesDirectory)
{
    EXPECT_FALSE(ChangeDirectory("no-such-directory"));
    EXPECT_FALSE(ChangeDirectory("q:\\no-such-directory"));  // a drive nobody has
    EXPECT_FALSE(ChangeDirectory("1:\\no-such-directory"));  // not a drive letter at all
    EXPECT_FALSE(ChangeDirectory(static_cast<const char*>(nullptr)));
    EXPECT_FALSE(ChangeDirectory(""));
    EXPECT_EQ(TestModuleDir(), CurrentDir());
}

TEST_F(RunTimePathTest, AddWorkingDirectoryOnlyToBareNames)
{
    QVString bare("tm_image.qvm");
    AddWorkingDirectory(bare);
    EXPECT_EQ(InDir(TestModuleDir(), "tm_image.qvm"), bare.GetBuffer());

    const std::string relative = InDir("rt", "tm_runtime.qvm");
    QVString withPath(relative.c_str());
    AddWorkingDirectory(withPath);
    EXPECT_EQ(relative, withPath.GetBuffer());
}

TEST_F(RunTimePathTest, FindFilesMatchesPatterns)
{
    QVList<QVString> names;
    FindFiles(names, "tm_*.qvm");
    std::vector<std::string> found = Names(names);
    for (const char* expected :
         {"tm_image.qvm", "tm_nocreate.qvm", "tm_norelease.qvm", "tm_nullcreate.qvm",
          "tm_renderer.qvm", "tm_subtyped.qvm", "tm_unnamed.qvm"})
        EXPECT_NE(found.end(), std::find(found.begin(), found.end(), expected)) << expected;
    EXPECT_EQ(7u, found.size());
    if (!OnWindows())
    {
        EXPECT_TRUE(std::is_sorted(found.begin(), found.end()));
    }

    FindFiles(names, "tm_?mage.qvm");
    EXPECT_EQ(std::vector<std::string>{"tm_image.qvm"}, Names(names));
}

TEST_F(RunTimePathTest, FindFilesWithoutMatchEmptiesTheList)
{
    QVList<QVString> names;
    names.Insert(QVString("left over"));
    FindFiles(names, "*.nothing-has-this");
    EXPECT_EQ(0u, names.GetCount());
    FindFiles(names, nullptr);
    EXPECT_EQ(0u, names.GetCount());
}

TEST_F(RunTimePathTest, FindFilesInKeepsTheWorkingDirectory)
{
    QVList<QVString> names;
    FindFilesIn(RunTimeModuleDir().c_str(), names, "*.qvm");
    EXPECT_EQ(std::vector<std::string>{"tm_runtime.qvm"}, Names(names));
    EXPECT_EQ(TestModuleDir(), CurrentDir());

    // A directory that cannot be entered: the working directory is searched instead.
    FindFilesIn("no-such-directory", names, "tm_image.qvm");
    EXPECT_EQ(std::vector<std::string>{"tm_image.qvm"}, Names(names));
    FindFilesIn("", names, "tm_image.qvm");
    EXPECT_EQ(1u, names.GetCount());
    EXPECT_EQ(TestModuleDir(), CurrentDir());
}

TEST_F(RunTimePathTest, LoadDynLibraryFindsTheWorkingDirectory)
{
    QVHandle library = LoadDynLibrary("tm_image.qvm");
    ASSERT_NE(nullptr, library);
    EXPECT_NE(nullptr, GetDynSymbol(library, "CreateMod"));
    EXPECT_NE(nullptr, GetDynSymbol(library, "ReleaseMod"));
    EXPECT_EQ(nullptr, GetDynSymbol(library, "QVHookAllocate"));  // not exported
    auto release = reinterpret_cast<QVReleaseModFunction>(GetDynSymbol(library, "ReleaseMod"));
    release(nullptr);  // no module: nothing happens
    EXPECT_TRUE(FreeDynLibrary(library));
    EXPECT_EQ(nullptr, library);
}

TEST_F(RunTimePathTest, LoadDynLibraryReachesTheRunTimeDirectory)
{
    // tm_runtime.qvm lies only in the runtime directory: found at the last step, and only when
    // the key names that directory.
    EXPECT_EQ(nullptr, LoadDynLibrary("tm_runtime.qvm"));
    SetRunTimeKeyWithoutValue();
    EXPECT_EQ(nullptr, LoadDynLibrary("tm_runtime.qvm"));
    SetRunTimeKey(RunTimeModuleDir().c_str());
    QVHandle library = LoadDynLibrary("tm_runtime.qvm");
    EXPECT_NE(nullptr, library);
    EXPECT_TRUE(FreeDynLibrary(library));
}

TEST_F(RunTimePathTest, LoadDynLibraryReachesTheSystemDirectory)
{
    QVString system;
    GetSystemDir(system);
    EXPECT_GT(system.GetLength(), 0);
    if (!OverrideSystemDir(RunTimeModuleDir().c_str()))
        GTEST_SKIP() << "the Windows system directory is not the tests' to fill";
    QVHandle library = LoadDynLibrary("tm_runtime.qvm");
    EXPECT_NE(nullptr, library);
    EXPECT_TRUE(FreeDynLibrary(library));
}

TEST_F(RunTimePathTest, LoadDynLibraryInvalid)
{
    EXPECT_EQ(nullptr, LoadDynLibrary("tm_absent.qvm"));
    EXPECT_EQ(nullptr, LoadDynLibrary(""));
    EXPECT_EQ(nullptr, LoadDynLibrary(nullptr));
    QVHandle none = nullptr;
    EXPECT_FALSE(FreeDynLibrary(none));
    EXPECT_EQ(nullptr, GetDynSymbol(nullptr, "CreateMod"));
}

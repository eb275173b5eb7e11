// Scans from working directories that fixed path buffers cannot hold, or whose path cannot be
// read at all: the modules are still found, and the process stays where it was.
#include "modules/QVModManager.h"
#include "tests/modules/ModuleTestSupport.h"
#include "tests/modules/testmods/QVTestModule.h"

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace
{

namespace fs = std::filesystem;

// The directory the process is in, by identity rather than by a name that may not be readable.
struct DirectoryIdentity
{
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const DirectoryIdentity& other) const
    {
        return device == other.device && inode == other.inode;
    }
};

DirectoryIdentity CurrentIdentity()
{
    struct stat info = {};
    stat(".", &info);
    return {info.st_dev, info.st_ino};
}

struct WorkingDirectoryCase
{
    const char* what;
    // Enters the working directory of the case below scratch; returns its path as
    // GetWorkingDirectory should give it (empty: the path cannot be read).
    std::string (*enter)(const fs::path& scratch);
    const char* bareNameBecomes;  // AddWorkingDirectory("tm_image.qvm") below that directory
    std::vector<std::string> found;
};

std::string EnterLongDirectory(const fs::path& scratch)
{
    // Longer than the 250 characters that path buffers once held; a module lies in it.
    fs::path deep = scratch;
    for (int i = 0; i < 3; ++i)
        deep /= std::string(100, 'd');
    fs::create_directories(deep);
    fs::create_symlink(fs::path(TestModuleDir()) / "tm_image.qvm", deep / "tm_image.qvm");
    EXPECT_TRUE(ChangeDirectory(deep.c_str()));
    return deep.string();
}

std::string EnterRemovedDirectory(const fs::path& scratch)
{
    const fs::path gone = scratch / "gone";
    fs::create_directories(gone);
    EXPECT_TRUE(ChangeDirectory(gone.c_str()));
    fs::remove(gone);
    return "";
}

}  // namespace

using WorkingDirectoryTest = ModuleDirectoryTest;

TEST_F(WorkingDirectoryTest, ScansFindModulesAndStayInTheWorkingDirectory)
{
    const WorkingDirectoryCase cases[] = {
        {"a working directory of 300 characters and more",
         EnterLongDirectory,
         nullptr,
         {"tm_image", "tm_runtime"}},
        {"a working directory that was removed",
         EnterRemovedDirectory,
         "./tm_image.qvm",
         {"tm_runtime"}},
    };
    const fs::path scratch = fs::path(TestModuleDir()) / "working-directory-test";
    for (const WorkingDirectoryCase& c : cases)
    {
        fs::remove_all(scratch);
        SetRunTimeKey(RunTimeModuleDir().c_str());
        const std::string expected = c.enter(scratch);
        const DirectoryIdentity start = CurrentIdentity();

        QVString path;
        GetWorkingDirectory(path);
        EXPECT_EQ(expected, path.GetBuffer()) << c.what;
        QVString name("tm_image.qvm");
        AddWorkingDirectory(name);
        const std::string bareName =
            c.bareNameBecomes != nullptr ? c.bareNameBecomes : expected + "/tm_image.qvm";
        EXPECT_EQ(bareName, name.GetBuffer()) << c.what;

        QVList<QVString> names;
        FindFilesIn(RunTimeModuleDir().c_str(), names, "*.qvm");
        EXPECT_EQ(1u, names.GetCount()) << c.what;
        EXPECT_TRUE(start == CurrentIdentity()) << c.what << ": left after FindFilesIn";

        QVModManager manager;
        manager.LoadModules(nullptr, nullptr);
        std::vector<std::string> tags;
        for (unsigned i = 0; i < manager.GetCount(); ++i)
            if (IsTestModule(manager[i]))
                tags.emplace_back(static_cast<QVTestModule*>(manager[i])->GetTag());
        EXPECT_EQ(c.found, tags) << c.what;
        EXPECT_TRUE(start == CurrentIdentity()) << c.what << ": left after LoadModules";

        ChangeDirectory(TestModuleDir().c_str());
    }
    fs::remove_all(scratch);
}

// The web's libraries: the modules compiled into the program, found by file name where their
// library files would lie (the test modules in testmods/ and testmods/rt/, the memory module
// beside the program), listed by scans of those directories, and stood for by files of their
// name elsewhere.
#include "modules/QVModManager.h"
#include "platform/DynLibrary.h"
#include "platform/FileSearch.h"
#include "platform/ProgramDirectory.h"
#include "tests/modules/ModuleTestSupport.h"
#include "tests/modules/testmods/QVTestModule.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace
{

namespace fs = std::filesystem;

struct OpenCase
{
    const char* what;
    std::string path;
    bool found;
};

std::vector<std::string> Listing(const std::string& directory, const char* pattern)
{
    std::vector<std::string> names;
    QVFindFiles(
        directory.c_str(), pattern,
        [](const char* name, void* context)
        { static_cast<std::vector<std::string>*>(context)->emplace_back(name); },
        &names);
    return names;
}

// A directory of files named like modules, which stand for nothing on their own.
class CompiledModuleTest : public ModuleDirectoryTest
{
protected:
    void SetUp() override
    {
        ModuleDirectoryTest::SetUp();
        fs::remove_all(scratch);
        fs::create_directories(scratch);
        for (const char* name : {"tm_image.qvm", "unknown.qvm"})
            std::ofstream(scratch / name) << "not code";
    }
    void TearDown() override
    {
        ModuleDirectoryTest::TearDown();
        fs::remove_all(scratch);
    }
    const fs::path scratch = fs::path(TestModuleDir()) / "compiled-test";
};

}  // namespace

TEST_F(CompiledModuleTest, LibrariesAreFoundWhereTheirFilesWouldLie)
{
    const std::string modules = TestModuleDir();
    const std::string scratchFile = (scratch / "tm_image.qvm").string();
    const OpenCase cases[] = {
        {"a bare name beside the program", "qvmemmgr.qvm", true},
        {"a bare name of a module in a folder below the program", "tm_image.qvm", false},
        {"its folder by the whole path", modules + "/tm_image.qvm", true},
        {"a path through . and ..", modules + "/./rt/../tm_image.qvm", true},
        {"a relative path from the working directory", "rt/tm_runtime.qvm", true},
        {"a directory where it does not lie", RunTimeModuleDir() + "/tm_image.qvm", false},
        {"a file of its name elsewhere", scratchFile, true},
        {"a file of a name that is not compiled in", (scratch / "unknown.qvm").string(), false},
        {"a name that is not compiled in", "unknown.qvm", false},
        {"an empty name", "", false},
    };
    for (const OpenCase& c : cases)
    {
        QVHandle library = QVOpenLibrary(c.path.c_str());
        EXPECT_EQ(c.found, library != nullptr) << c.what;
        // Closing unloads nothing and succeeds for every library that was found.
        EXPECT_EQ(c.found, QVCloseLibrary(library)) << c.what;
    }
    EXPECT_EQ(nullptr, QVOpenLibrary(nullptr));
}

TEST_F(CompiledModuleTest, SymbolsAreTheEntryPointsTheModuleHas)
{
    QVHandle complete = QVOpenLibrary("./tm_renderer.qvm");
    QVHandle withoutCreate = QVOpenLibrary("./tm_nocreate.qvm");
    QVHandle withoutRelease = QVOpenLibrary("./tm_norelease.qvm");
    ASSERT_NE(nullptr, complete);
    ASSERT_NE(nullptr, withoutCreate);
    ASSERT_NE(nullptr, withoutRelease);
    EXPECT_NE(nullptr, QVLibrarySymbol(complete, "CreateMod"));
    EXPECT_NE(nullptr, QVLibrarySymbol(complete, "ReleaseMod"));
    EXPECT_EQ(nullptr, QVLibrarySymbol(withoutCreate, "CreateMod"));
    EXPECT_NE(nullptr, QVLibrarySymbol(withoutCreate, "ReleaseMod"));
    EXPECT_NE(nullptr, QVLibrarySymbol(withoutRelease, "CreateMod"));
    EXPECT_EQ(nullptr, QVLibrarySymbol(withoutRelease, "ReleaseMod"));
    EXPECT_EQ(nullptr, QVLibrarySymbol(complete, "Other"));
    EXPECT_EQ(nullptr, QVLibrarySymbol(complete, nullptr));
    EXPECT_EQ(nullptr, QVLibrarySymbol(nullptr, "CreateMod"));
    EXPECT_NE(complete, withoutCreate);
}

TEST_F(CompiledModuleTest, ListingsShowTheModulesWithTheFiles)
{
    EXPECT_EQ((std::vector<std::string>{"tm_runtime.qvm"}), Listing(RunTimeModuleDir(), "*.qvm"));
    EXPECT_EQ((std::vector<std::string>{"tm_image.qvm", "tm_nocreate.qvm", "tm_norelease.qvm",
                                        "tm_nullcreate.qvm", "tm_renderer.qvm", "tm_subtyped.qvm",
                                        "tm_unnamed.qvm"}),
              Listing(TestModuleDir(), "*.qvm"));
    EXPECT_EQ((std::vector<std::string>{"tm_image.qvm"}), Listing(TestModuleDir(), "tm_i*"));
    // A file of a module's name in the module's own place is listed once.
    EXPECT_EQ((std::vector<std::string>{"tm_image.qvm", "unknown.qvm"}),
              Listing(scratch.string(), "*.qvm"));
    const std::vector<std::string> beside = Listing(QVProgramDirectory(), "*.qvm");
    EXPECT_NE(beside.end(), std::find(beside.begin(), beside.end(), "qvmemmgr.qvm"));
    EXPECT_EQ(beside.end(), std::find(beside.begin(), beside.end(), "tm_image.qvm"));
}

TEST_F(CompiledModuleTest, TheManagerLoadsAFileOfAModulesNameAsThatModule)
{
    QVModManager manager;
    ASSERT_TRUE(ChangeDirectory(scratch.c_str()));
    int status = QV_LOAD_FAILED;
    QVModule* module = manager.LoadModule((scratch / "tm_image.qvm").c_str(), status);
    ASSERT_NE(nullptr, module);
    EXPECT_EQ(QV_LOAD_NEW, status);
    EXPECT_STREQ("tm_image", static_cast<QVTestModule*>(module)->GetTag());
    // By its file name it is the same module now, wherever it was loaded from.
    EXPECT_EQ(module, manager.LoadModule("tm_image.qvm", status));
    EXPECT_EQ(QV_LOAD_ALREADY, status);
    EXPECT_EQ(nullptr, manager.LoadModule("unknown.qvm", status));
    EXPECT_EQ(QV_LOAD_FAILED, status);
    // A scan here meets both files and loads the one that stands for a module (then the
    // modules beside the program, the memory module).
    manager.LoadModules(nullptr, nullptr);
    unsigned testModules = 0;
    for (unsigned i = 0; i < manager.GetCount(); ++i)
        testModules += IsTestModule(manager[i]) ? 1 : 0;
    EXPECT_EQ(1u, testModules);
}

// Module scans and library loads meet FIFOs and directories named like modules: they are
// passed by, never opened (an open of a FIFO would wait for a writer for ever).
#include "modules/QVModManager.h"
#include "tests/core/ScratchFifo.h"
#include "tests/modules/ModuleTestSupport.h"
#include "tests/modules/testmods/QVTestModule.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace
{

namespace fs = std::filesystem;

std::vector<std::string> Names(QVList<QVString>& list)
{
    std::vector<std::string> names;
    for (unsigned i = 0; i < list.GetCount(); ++i)
        names.emplace_back(list[i].GetBuffer());
    return names;
}

class NonRegularFileTest : public ModuleDirectoryTest
{
protected:
    // A directory of one module (a link to tm_image.qvm), a FIFO and a directory named like
    // modules; it is the working and the runtime directory.
    void SetUp() override
    {
        ModuleDirectoryTest::SetUp();
        fs::remove_all(directory);
        fs::create_directories(directory / "folder.qvm");
        fs::create_symlink(fs::path(TestModuleDir()) / "tm_image.qvm", directory / "tm_image.qvm");
        fifo = std::make_unique<ScratchFifo>((directory / "fifo.qvm").string());
        ASSERT_TRUE(ChangeDirectory(directory.c_str()));
        SetRunTimeKey(directory.c_str());
    }
    void TearDown() override
    {
        fifo.reset();
        ModuleDirectoryTest::TearDown();
        fs::remove_all(directory);
    }

    const fs::path directory = fs::path(TestModuleDir()) / "non-regular-test";
    std::unique_ptr<ScratchFifo> fifo;
};

}  // namespace

TEST_F(NonRegularFileTest, ListingsHoldOnlyRegularFiles)
{
    QVList<QVString> names;
    FindFiles(names, "*.qvm");
    EXPECT_EQ(std::vector<std::string>{"tm_image.qvm"}, Names(names));
    FindFilesIn(directory.c_str(), names, "*.qvm");
    EXPECT_EQ(std::vector<std::string>{"tm_image.qvm"}, Names(names));
}

TEST_F(NonRegularFileTest, LoadsAndScansPassThemBy)
{
    struct Case
    {
        const char* name;
        std::string path;
    };
    const Case cases[] = {
        {"a FIFO by its bare name", "fifo.qvm"},
        {"a FIFO by its path", fifo->Path()},
        {"a directory by its bare name", "folder.qvm"},
        {"a directory by its path", (directory / "folder.qvm").string()},
    };
    for (const Case& c : cases)
    {
        QVHandle library = fifo->RunWithoutWaiting([&] { return LoadDynLibrary(c.path.c_str()); });
        EXPECT_EQ(nullptr, library) << c.name;
        FreeDynLibrary(library);
    }

    QVModManager manager;
    fifo->RunWithoutWaiting([&] { return manager.LoadModules(nullptr, nullptr); });
    ASSERT_GE(manager.GetCount(), 1u);
    EXPECT_STREQ("tm_image", static_cast<QVTestModule*>(manager[0])->GetTag());
    // Then only the real modules beside the test program.
    for (unsigned i = 1; i < manager.GetCount(); ++i)
        EXPECT_FALSE(IsTestModule(manager[i]));
}

TEST_F(NonRegularFileTest, AKeyFileThatIsAFifoIsNoKey)
{
    ASSERT_EQ(0, setenv("QV_RUNTIME_KEY", fifo->Path().c_str(), 1));
    QVString path("stale");
    EXPECT_FALSE(fifo->RunWithoutWaiting([&] { return GetRunTimePath(path); }));
    EXPECT_EQ(0, path.GetLength());
}

// Typed loads against real module libraries: the type decides, the status is LoadModule's.
#include "modules/LoadModuleAs.h"

#include "modules/QVMemoryModule.h"
#include "tests/modules/ModuleTestSupport.h"

using LoadModuleAsTest = ModuleDirectoryTest;

TEST_F(LoadModuleAsTest, ModuleOfAnotherTypeIsNullButStaysLoaded)
{
    QVModManager manager;
    int status = -1;
    const std::string memoryFile = InDir(BinDir(), "qvmemmgr.qvm");
    QVMemoryModule* memory = LoadModuleAs<QVMemoryModule>(manager, memoryFile.c_str(), status);
    ASSERT_NE(nullptr, memory);
    EXPECT_EQ(QV_LOAD_NEW, status);

    // A renderer is no memory module: null, whether new or loaded before, and it stays loaded
    // for whoever loaded it.
    EXPECT_EQ(nullptr, LoadModuleAs<QVMemoryModule>(manager, "tm_renderer.qvm", status));
    EXPECT_EQ(QV_LOAD_NEW, status);
    EXPECT_EQ(nullptr, LoadModuleAs<QVMemoryModule>(manager, "tm_renderer.qvm", status));
    EXPECT_EQ(QV_LOAD_ALREADY, status);
    EXPECT_EQ(2u, manager.GetCount());

    EXPECT_EQ(nullptr, LoadModuleAs<QVMemoryModule>(manager, "tm_missing.qvm", status));
    EXPECT_EQ(QV_LOAD_FAILED, status);
    EXPECT_EQ(nullptr, LoadModuleAs<QVMemoryModule>(manager, "tm_missing.qvm"));
    // The manager's destructor keeps the memory module; this test's own goes now.
    EXPECT_TRUE(manager.ReleaseModule(memory));
}

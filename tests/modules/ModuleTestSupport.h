#pragma once

#include "core/string/QVString.h"
#include "modules/RunTimePath.h"
#include "platform/Directory.h"
#include "tests/modules/RunTimeKeyEditor.h"

#include <gtest/gtest.h>

#include <string>

// Directories of the module tests. The tests start in the output directory (bin/), where the
// memory module lives; the test modules are in bin/testmods, and bin/testmods/rt plays the
// runtime directory.
std::string BinDir();
std::string TestModuleDir();
std::string RunTimeModuleDir();
std::string InDir(const std::string& directory, const char* name);
std::string CurrentDir();

class QVModule;
// Whether module is one of the test modules (their names begin "Test module "): scans also list
// the program's directory, bin/, whose real modules the tests leave aside.
bool IsTestModule(QVModule* module);

// Each test runs in bin/testmods with the runtime key absent; afterwards the working directory
// and the key are as they were.
class ModuleDirectoryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RemoveRunTimeKey();
        ASSERT_TRUE(ChangeDirectory(TestModuleDir().c_str()));
    }
    void TearDown() override
    {
        ChangeDirectory(BinDir().c_str());
        RestoreRunTimeKey();
        OverrideSystemDir(nullptr);
    }
};

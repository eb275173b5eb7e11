#include "tests/modules/RunTimeKeyEditor.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace
{

bool saved = false;
bool hadVariable = false;
std::string savedVariable;

// A key file of this test program only, beside the test modules' directory.
std::string KeyFile()
{
    static const std::string path = []
    {
        char dir[4096];
        return std::string(getcwd(dir, sizeof dir) != nullptr ? dir : ".") + "/modules_tests." +
               std::to_string(getpid()) + ".key";
    }();
    return path;
}

void Prepare()
{
    if (!saved)
    {
        const char* value = std::getenv("QV_RUNTIME_KEY");
        hadVariable = value != nullptr;
        savedVariable = hadVariable ? value : "";
        saved = true;
    }
    setenv("QV_RUNTIME_KEY", KeyFile().c_str(), 1);
}

void WriteKeyFile(const std::string& text)
{
    std::FILE* file = std::fopen(KeyFile().c_str(), "w");
    if (file != nullptr)
    {
        std::fputs(text.c_str(), file);
        std::fclose(file);
    }
}

}  // namespace

void SetRunTimeKey(const char* directory)
{
    Prepare();
    WriteKeyFile(std::string("# runtime directory\nOther=1\nQVRunTimePath=") + directory + "\n");
}

void SetRunTimeKeyWithoutValue()
{
    Prepare();
    WriteKeyFile("# no runtime directory here\nQVRunTimePathX=/nowhere\n");
}

void RemoveRunTimeKey()
{
    Prepare();
    std::remove(KeyFile().c_str());
}

void RestoreRunTimeKey()
{
    if (!saved)
        return;
    std::remove(KeyFile().c_str());
    if (hadVariable)
        setenv("QV_RUNTIME_KEY", savedVariable.c_str(), 1);
    else
        unsetenv("QV_RUNTIME_KEY");
    saved = false;
}

bool OverrideSystemDir(const char* directory)
{
    if (directory != nullptr)
        setenv("QV_SYSTEM_DIR", directory, 1);
    else
        unsetenv("QV_SYSTEM_DIR");
    return true;
}

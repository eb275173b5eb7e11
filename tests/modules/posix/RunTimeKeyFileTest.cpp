// The key file that stands in for the registry value on Linux, read as it is on disk: lines of
// any length, with whatever bytes an editor or a broken tool left in them.
#include "tests/modules/ModuleTestSupport.h"

#include <cstdlib>
#include <fstream>
#include <string>

namespace
{

struct KeyFileCase
{
    const char* what;
    std::string contents;
    const char* value;  // what GetRunTimePath reads
};

// Puts contents, byte for byte, where the runtime key is read from.
void WriteKeyFile(const std::string& contents)
{
    const char* keyFile = std::getenv("QV_RUNTIME_KEY");
    ASSERT_NE(nullptr, keyFile);
    std::ofstream out(keyFile, std::ios::binary | std::ios::trunc);
    out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
}

const std::string Value = "QVRunTimePath=/opt/qv";

}  // namespace

using RunTimeKeyFileTest = ModuleDirectoryTest;

TEST_F(RunTimeKeyFileTest, LinesAreReadByTheirRealLength)
{
    const KeyFileCase cases[] = {
        {"a NUL byte ends no line", std::string("note\0x\n", 7) + Value + "\n", "/opt/qv"},
        {"two NUL bytes on the line before",
         std::string("\0\0\n", 3) + Value + "\n" + std::string("\0", 1), "/opt/qv"},
        {"a NUL byte inside the value: no path holds one",
         std::string("QVRunTimePath=/opt\0/qv\n", 23), ""},
        {"last line without a line feed", Value, "/opt/qv"},
        {"carriage returns before line feeds", "# key\r\n" + Value + "\r\n", "/opt/qv"},
        {"a line longer than any buffer before the value",
         std::string(5000, '#') + "\n" + Value + "\n", "/opt/qv"},
        {"the name in the middle of a line is no value", std::string(3000, ' ') + Value + "\n", ""},
        {"the first value counts", Value + "\nQVRunTimePath=/other\n", "/opt/qv"},
        {"an empty file is a key without value", "", ""},
    };
    for (const KeyFileCase& c : cases)
    {
        WriteKeyFile(c.contents);
        QVString path("stale");
        EXPECT_TRUE(GetRunTimePath(path)) << c.what;
        EXPECT_STREQ(c.value, path.GetBuffer()) << c.what;
    }
}

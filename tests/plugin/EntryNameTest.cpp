// Confinement of stored names: whatever a name holds, what is left lies below the package
// directory.
#include "plugin/package/EntryName.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
std::string Joined(const std::string& stored)
{
    std::string out;
    for (const std::string& part : ConfineEntryName(stored))
        out += (out.empty() ? "" : "/") + part;
    return out;
}

struct NameCase
{
    const char* stored;
    const char* confined;  // components joined with '/'; empty: nothing left
};

const NameCase PlainNames[] = {
    {"a.txt", "a.txt"},
    {"dir/sub/file.txt", "dir/sub/file.txt"},
    {"dir\\sub\\file.txt", "dir/sub/file.txt"},
    {"mixed/sub\\file", "mixed/sub/file"},
    {"dir/", "dir"},
    {"a//b", "a/b"},
    {"./a/./b", "a/b"},
    {"...", "..."},
    {"..a/b..", "..a/b.."},
    {"a/..b/c", "a/..b/c"},
    {"1:x", "1:x"},
};

const NameCase HostileNames[] = {
    {"C:\\Windows\\x.dll", "Windows/x.dll"},
    {"c:x.txt", "x.txt"},
    {"/etc/passwd", "etc/passwd"},
    {"\\\\server\\share\\f", "server/share/f"},
    {"//leading", "leading"},
    {"../up.txt", "up.txt"},
    {"..\\up.txt", "up.txt"},
    {"d/../../f.txt", "f.txt"},
    {"a/b/../c.txt", "c.txt"},
    {"../../../../../../etc/passwd", "etc/passwd"},
    {"..\\..\\..\\windows\\win.ini", "windows/win.ini"},
    {"/../x", "x"},
    {"C:../D:/x", "x"},
    {"a/../C:\\..\\/b", "b"},
};

const NameCase EmptyNames[] = {
    {"", ""},     {"/", ""},  {"\\", ""},   {"..", ""}, {"../", ""},
    {"a/..", ""}, {"C:", ""}, {"C:\\", ""}, {"./", ""}, {"../..\\", ""},
};

// Each name gives its expected path, made only of components that name something below.
void ExpectConfined(const NameCase* cases, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
    {
        EXPECT_EQ(cases[i].confined, Joined(cases[i].stored)) << "stored name " << cases[i].stored;
        for (const std::string& part : ConfineEntryName(cases[i].stored))
        {
            EXPECT_FALSE(part.empty() || part == "." || part == "..") << cases[i].stored;
            EXPECT_EQ(std::string::npos, part.find_first_of("/\\")) << cases[i].stored;
        }
    }
}
}  // namespace

TEST(EntryName, PlainNamesKeepTheirComponents)
{
    ExpectConfined(PlainNames, std::size(PlainNames));
}

TEST(EntryName, DrivesLeadingSeparatorsAndParentsAreRemoved)
{
    ExpectConfined(HostileNames, std::size(HostileNames));
}

TEST(EntryName, NamesOfNothingAreEmpty) { ExpectConfined(EmptyNames, std::size(EmptyNames)); }

TEST(EntryName, NamesOfExtremeLength)
{
    const auto repeated = [](const std::string& part, int count)
    {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += part;
        return text;
    };
    const struct
    {
        std::string stored;
        std::string confined;
    } cases[] = {
        {repeated("C:", 32766) + "d/", "d"},
        {repeated("C:", 1000) + "..\\" + repeated("c:", 1000) + "x", "x"},
        {repeated("C:/", 20000) + "e", "e"},
        {repeated("../", 20000) + "f", "f"},
        {repeated("a/../", 20000) + "g/h", "g/h"},
        {repeated("x", 100000), repeated("x", 100000)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.confined, Joined(c.stored)) << c.stored.substr(0, 40) << "...";
}

TEST(EntryName, TrailingSeparatorMarksDirectories)
{
    EXPECT_TRUE(EndsWithSeparator("dir/"));
    EXPECT_TRUE(EndsWithSeparator("dir\\"));
    EXPECT_FALSE(EndsWithSeparator("dir"));
    EXPECT_FALSE(EndsWithSeparator(""));
}

// The version resource as the system reads it from the built library: the string table browsers
// read to register the plug-in, and the fixed version.
#include "tests/plugin/np/NPTestSupport.h"

#include <windows.h>

using namespace nptest;

TEST(NPVersionResource, StringTableAndFixedVersion)
{
    const char* path = QV_NPQVARUNNER;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    ASSERT_NE(0u, size) << path;
    std::vector<char> data(size);
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, data.data()));

    const std::pair<const char*, const char*> strings[] = {
        {"FileDescription", "npqvarunner"},
        {"InternalName", "npqvarunner"},
        {"OriginalFilename", "npqvarunner.dll"},
        {"FileVersion", "1, 0, 0, 1"},
        {"ProductVersion", "1, 0, 0, 1"},
        {"MIMEType", "application/qv-applet"},
        {"FileExtents", "qva"},
        {"FileOpenName", "Quarvo Applet (*.qva)"},
    };
    for (const auto& entry : strings)
    {
        const std::string query = std::string("\\StringFileInfo\\040904e4\\") + entry.first;
        char* value = nullptr;
        UINT length = 0;
        ASSERT_TRUE(
            VerQueryValueA(data.data(), query.c_str(), reinterpret_cast<void**>(&value), &length))
            << entry.first;
        EXPECT_STREQ(entry.second, value) << entry.first;
    }

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(0x00010000u, fixed->dwFileVersionMS);
    EXPECT_EQ(0x00000001u, fixed->dwFileVersionLS);
    EXPECT_EQ(0x00010000u, fixed->dwProductVersionMS);
    EXPECT_EQ(0x00000001u, fixed->dwProductVersionLS);
    EXPECT_EQ(static_cast<DWORD>(VFT_DLL), fixed->dwFileType);
}

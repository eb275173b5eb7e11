// The library's exports: the browser table's checks, the plug-in table's filling, and the record
// layouts that browsers and the plug-in share.
#include "tests/plugin/np/NPTestSupport.h"

#include <cstddef>
#include <cstring>

using namespace nptest;

// Record sizes fixed by browsers, per target.
#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(NPP_t) == 8 && sizeof(NPSavedData) == 8 && sizeof(NPRect) == 8, "i386");
static_assert(sizeof(NPWindow) == 32, "NPWindow on i386 Windows");
static_assert(sizeof(NPStream) == 28, "NPStream on i386 (with headers)");
static_assert(sizeof(NPPluginFuncs) == 60, "NPPluginFuncs through setvalue on i386");
static_assert(sizeof(NPNetscapeFuncs) == 88, "NPNetscapeFuncs through forceredraw on i386");
static_assert(offsetof(NPNetscapeFuncs, forceredraw) == 84, "forceredraw on i386");
#else
static_assert(sizeof(NPP_t) == 16 && sizeof(NPSavedData) == 16 && sizeof(NPRect) == 8, "x86_64");
#if defined(_WIN32)
static_assert(sizeof(NPWindow) == 40, "NPWindow on x86_64 Windows");
#else
static_assert(sizeof(NPWindow) == 48, "NPWindow on x86_64 Unix (with ws_info)");
#endif
static_assert(sizeof(NPStream) == 48, "NPStream on x86_64 (with headers)");
static_assert(sizeof(NPPluginFuncs) == 120, "NPPluginFuncs through setvalue on x86_64");
static_assert(sizeof(NPNetscapeFuncs) == 176, "NPNetscapeFuncs through forceredraw on x86_64");
static_assert(offsetof(NPNetscapeFuncs, forceredraw) == 168, "forceredraw on x86_64");
#endif

namespace
{
struct InitializeCase
{
    const char* what;
    bool null;
    std::uint16_t version;
    std::size_t size;
    NPError expected;
};

const std::size_t MinimumSize = offsetof(NPNetscapeFuncs, forceredraw) + sizeof(void*);
}  // namespace

TEST(NPExports, InitializeChecksTheBrowserTable)
{
    ASSERT_TRUE(LoadPlugin());
    const InitializeCase cases[] = {
        {"null table", true, 19, sizeof(NPNetscapeFuncs), NPERR_INVALID_FUNCTABLE_ERROR},
        {"major version 1", false, 0x0100, sizeof(NPNetscapeFuncs),
         NPERR_INCOMPATIBLE_VERSION_ERROR},
        {"major version 0x7f", false, 0x7f00, sizeof(NPNetscapeFuncs),
         NPERR_INCOMPATIBLE_VERSION_ERROR},
        {"major 1 and too small: the version is checked first", false, 0x0100, 4,
         NPERR_INCOMPATIBLE_VERSION_ERROR},
        {"one byte short of force-redraw", false, 19, MinimumSize - 1,
         NPERR_INVALID_FUNCTABLE_ERROR},
        {"size 0", false, 19, 0, NPERR_INVALID_FUNCTABLE_ERROR},
        {"through force-redraw", false, 19, MinimumSize, NPERR_NO_ERROR},
        {"with scripting entries after", false, 27, MinimumSize + 15 * sizeof(void*),
         NPERR_NO_ERROR},
        {"minor 0", false, 0x0000, MinimumSize, NPERR_NO_ERROR},
        {"minor 0xff", false, 0x00ff, MinimumSize, NPERR_NO_ERROR},
    };
    for (const InitializeCase& c : cases)
    {
        NPNetscapeFuncs funcs = MakeBrowserFuncs();
        funcs.version = c.version;
        funcs.size = static_cast<std::uint16_t>(c.size);
        EXPECT_EQ(c.expected, CallInitialize(c.null ? nullptr : &funcs)) << c.what;
    }
#if defined(_WIN32) && !defined(_WIN64)
    // The documented figure of the original target.
    NPNetscapeFuncs funcs = MakeBrowserFuncs();
    funcs.size = 87;
    EXPECT_EQ(NPERR_INVALID_FUNCTABLE_ERROR, CallInitialize(&funcs));
#endif
    // Leave a complete table behind for the other tests.
    NPNetscapeFuncs complete = MakeBrowserFuncs();
    EXPECT_EQ(NPERR_NO_ERROR, CallInitialize(&complete));
}

TEST(NPExports, EntryPointsFillTheTableButItsSizeAndJavaClass)
{
    ASSERT_TRUE(LoadPlugin());
    EXPECT_EQ(NPERR_INVALID_FUNCTABLE_ERROR, CallGetEntryPoints(nullptr));

    // Whatever the browser put in size and javaClass stays; version becomes 13 (major 0).
    for (std::uint16_t size :
         {std::uint16_t(0), std::uint16_t(sizeof(NPPluginFuncs)), std::uint16_t(0xBEEF)})
    {
        NPPluginFuncs funcs;
        std::memset(&funcs, 0, sizeof funcs);
        funcs.size = size;
        funcs.version = 0x0101;
        int marker = 0;
        funcs.javaClass = &marker;
        ASSERT_EQ(NPERR_NO_ERROR, CallGetEntryPoints(&funcs));
        EXPECT_EQ(size, funcs.size);
        EXPECT_EQ(13, funcs.version);
        EXPECT_EQ(&marker, funcs.javaClass);
        const void* entries[] = {
            reinterpret_cast<void*>(funcs.newp),          reinterpret_cast<void*>(funcs.destroy),
            reinterpret_cast<void*>(funcs.setwindow),     reinterpret_cast<void*>(funcs.newstream),
            reinterpret_cast<void*>(funcs.destroystream), reinterpret_cast<void*>(funcs.asfile),
            reinterpret_cast<void*>(funcs.writeready),    reinterpret_cast<void*>(funcs.write),
            reinterpret_cast<void*>(funcs.print),         reinterpret_cast<void*>(funcs.event),
            reinterpret_cast<void*>(funcs.urlnotify),     reinterpret_cast<void*>(funcs.getvalue),
            reinterpret_cast<void*>(funcs.setvalue)};
        for (std::size_t i = 0; i < sizeof entries / sizeof entries[0]; ++i)
            EXPECT_NE(nullptr, entries[i]) << "entry " << i;
    }
}

TEST(NPExports, ShutdownAnswersNoError)
{
    ASSERT_TRUE(LoadPlugin());
    EXPECT_EQ(NPERR_NO_ERROR, CallShutdown());
}

#ifndef _WIN32
TEST(NPExports, UnixRegistration)
{
    ASSERT_TRUE(LoadPlugin());
    auto describe =
        reinterpret_cast<NP_GetMIMEDescriptionFunc>(PluginSymbol("NP_GetMIMEDescription"));
    ASSERT_NE(nullptr, describe);
    EXPECT_STREQ("application/qv-applet:qva:Quarvo Applet", describe());

    auto getValue = reinterpret_cast<NP_GetValueFunc>(PluginSymbol("NP_GetValue"));
    ASSERT_NE(nullptr, getValue);
    const char* text = nullptr;
    ASSERT_EQ(NPERR_NO_ERROR, getValue(nullptr, NPPVpluginNameString, &text));
    EXPECT_STREQ("npqvarunner", text);
    text = nullptr;
    ASSERT_EQ(NPERR_NO_ERROR, getValue(nullptr, NPPVpluginDescriptionString, &text));
    ASSERT_NE(nullptr, text);
    EXPECT_NE(nullptr, std::strstr(text, "application/qv-applet"));
    EXPECT_EQ(NPERR_INVALID_PARAM, getValue(nullptr, NPPVpluginNameString, nullptr));
    EXPECT_EQ(NPERR_INVALID_PARAM, getValue(nullptr, NPPVpluginWindowBool, &text));
}
#endif

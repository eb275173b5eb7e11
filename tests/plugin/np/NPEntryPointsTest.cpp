// The instance entry points' answers when there is no instance, no object or no window, and the
// calls that need neither a window nor a package.
#include "tests/plugin/np/NPTestSupport.h"

using namespace nptest;

namespace
{
// One entry point called with what is missing, and the answer it must give.
struct EntryCase
{
    const char* what;
    std::function<long(NPP)> call;
    long expected;
};

std::vector<EntryCase> EntryCases(NPWindow* window, NPStream* stream)
{
    const NPPluginFuncs& f = PluginFuncs();
    std::uint16_t type = 0;
    return {
        {"destroy", [&f](NPP i) { return long(f.destroy(i, nullptr)); }, -1},
        {"set window", [&f, window](NPP i) { return long(f.setwindow(i, window)); }, -1},
        {"new stream",
         [&f, stream, type](NPP i) mutable
         { return long(f.newstream(i, nullptr, stream, 0, &type)); },
         -1},
        {"destroy stream", [&f, stream](NPP i) { return long(f.destroystream(i, stream, 0)); }, -1},
        {"get value",
         [&f](NPP i)
         {
             void* value = nullptr;
             return long(f.getvalue(i, NPPVpluginNameString, &value));
         },
         -1},
        {"set value", [&f](NPP i) { return long(f.setvalue(i, NPNVxDisplay, nullptr)); }, -1},
        {"write ready", [&f, stream](NPP i) { return long(f.writeready(i, stream)); }, 0x0fffffff},
        {"write",
         [&f, stream](NPP i)
         {
             char data[5] = {};
             return long(f.write(i, stream, 0, 5, data));
         },
         5},
        {"handle event", [&f](NPP i) { return long(f.event(i, nullptr)); }, 0},
        {"stream as file",
         [&f, stream](NPP i)
         {
             f.asfile(i, stream, "/nowhere/x.qva");
             return 0L;
         },
         0},
        {"print",
         [&f](NPP i)
         {
             f.print(i, nullptr);
             return 0L;
         },
         0},
        {"URL notify",
         [&f](NPP i)
         {
             f.urlnotify(i, "http://example.com/", NPRES_DONE, nullptr);
             return 0L;
         },
         0},
    };
}
}  // namespace

TEST(NPEntryPoints, AnswersWithoutInstanceOrObject)
{
    ASSERT_NE(nullptr, PluginFuncs().newp) << "the plug-in did not load";
    NPWindow window = {};
    NPStream stream = {};
    NPP_t empty = {nullptr, nullptr};
    // -1 stands for the code the entry reports: 2 (invalid instance) without an instance, 1
    // (generic error) without an object; the others answer the same either way.
    for (const EntryCase& c : EntryCases(&window, &stream))
    {
        const bool coded = c.expected == -1;
        EXPECT_EQ(coded ? long(NPERR_INVALID_INSTANCE_ERROR) : c.expected, c.call(nullptr))
            << c.what << " without an instance";
        // The destroy of an instance without an object succeeds: there is nothing to destroy.
        const long withoutObject = std::string(c.what) == "destroy" ? long(NPERR_NO_ERROR)
                                   : coded                          ? long(NPERR_GENERIC_ERROR)
                                                                    : c.expected;
        EXPECT_EQ(withoutObject, c.call(&empty)) << c.what << " without an object";
    }
    char type[] = "application/qv-applet";
    EXPECT_EQ(NPERR_INVALID_INSTANCE_ERROR,
              PluginFuncs().newp(type, nullptr, NP_EMBED, 0, nullptr, nullptr, nullptr));
}

TEST(NPEntryPoints, InstanceWithoutWindowOrPackage)
{
    ASSERT_NE(nullptr, PluginFuncs().newp) << "the plug-in did not load";
    Embedded embedded;
    ASSERT_EQ(NPERR_NO_ERROR, NewInstance(embedded, {{"width", "320"}}));
    NPP instance = &embedded.handle;
    ASSERT_NE(nullptr, instance->pdata);

    // A null window record is an error; one without a native window is accepted and does not
    // initialise (a later one with a window does, see NPInstance tests).
    EXPECT_EQ(NPERR_GENERIC_ERROR, PluginFuncs().setwindow(instance, nullptr));
    NPWindow noWindow = {};
    noWindow.width = 320;
    noWindow.height = 200;
    EXPECT_EQ(NPERR_NO_ERROR, PluginFuncs().setwindow(instance, &noWindow));
    EXPECT_NE(nullptr, instance->pdata);

    // Streams are always asked for as files only, whatever the browser proposes.
    for (std::uint16_t proposed :
         {std::uint16_t(NP_NORMAL), std::uint16_t(NP_SEEK), std::uint16_t(NP_ASFILE),
          std::uint16_t(NP_ASFILEONLY), std::uint16_t(0), std::uint16_t(0xFFFF)})
    {
        for (NPBool seekable : {NPBool(0), NPBool(1)})
        {
            NPStream stream = {};
            std::uint16_t type = proposed;
            char mime[] = "application/qv-applet";
            EXPECT_EQ(NPERR_NO_ERROR,
                      PluginFuncs().newstream(instance, mime, &stream, seekable, &type));
            EXPECT_EQ(NP_ASFILEONLY, type) << "proposed " << proposed;
        }
    }
    NPStream stream = {};
    EXPECT_EQ(0x0fffffff, PluginFuncs().writeready(instance, &stream));
    char data[3] = {1, 2, 3};
    EXPECT_EQ(3, PluginFuncs().write(instance, &stream, 0, 3, data));
    EXPECT_EQ(0, PluginFuncs().event(instance, nullptr));
    EXPECT_EQ(NPERR_NO_ERROR, PluginFuncs().destroystream(instance, &stream, NPRES_DONE));
    void* value = nullptr;
    EXPECT_EQ(NPERR_NO_ERROR, PluginFuncs().getvalue(instance, NPPVpluginNameString, &value));
    EXPECT_EQ(NPERR_NO_ERROR, PluginFuncs().setvalue(instance, NPNVxDisplay, nullptr));
    // A package path without a directory part starts nothing.
    PluginFuncs().asfile(instance, &stream, "probe.qva");

    EXPECT_EQ(NPERR_NO_ERROR, PluginFuncs().destroy(instance, nullptr));
    EXPECT_EQ(nullptr, instance->pdata);
}

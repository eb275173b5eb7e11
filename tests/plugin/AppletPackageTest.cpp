// Starting an applet from its package: the package directory, "@temp_path", the configuration
// and its module key, and only applets reaching the host.
#include "modules/QVModManager.h"
#include "platform/PlatformName.h"
#include "plugin/AppletModule.h"
#include "plugin/QVAppletPackage.h"

#include "PackageTestSupport.h"
#include "ZipBuilder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
// The sample applet as qv_add_applet built and packed it.
const char* const HelloModule = QV_HELLO_APPLET;
const char* const HelloPackage = QV_HELLO_PACKAGE;

bool BuiltForLinux() { return std::string(QVPlatformName()) == "Linux"; }

std::string Text(const QVString& text)
{
    QVString copy(text);
    copy.SetEncoding(QVString::Narrow);
    return copy.GetLength() > 0 ? copy.GetBuffer() : "";
}

std::string Parameter(const QVProperties& parameters, const char* key)
{
    QVString value("<absent>");
    parameters.Get(QVString(key), value);
    return Text(value);
}

class AppletPackageTest : public ::testing::Test
{
protected:
    AppletPackageTest()
        : scratch(::testing::UnitTest::GetInstance()->current_test_info()->name()),
          workingDirectory(fs::current_path()), parameters(0)
    {
    }
    // Unpacking changes the working directory; the next test starts where this one did.
    ~AppletPackageTest() override { fs::current_path(workingDirectory); }

    // A package in the scratch root holding the configuration text and the hello module (as
    // helloapplet.qvm) and the given other entries.
    std::string Package(const std::string& configuration, std::vector<ZipEntry> entries = {},
                        const char* name = "applet.qva")
    {
        if (!configuration.empty())
            entries.insert(entries.begin(), DosFile("qveapp.cfg", configuration, 0x20));
        entries.push_back(UnixFile("helloapplet.qvm", ReadFile(HelloModule), 0755));
        const std::string path = (scratch.Root() / name).string();
        EXPECT_TRUE(WriteZip(path, entries));
        return path;
    }

    ScratchTree scratch;
    fs::path workingDirectory;
    QVProperties parameters;
};
}  // namespace

TEST_F(AppletPackageTest, PackageUnpacksBesideItself)
{
    fs::copy_file(HelloPackage, scratch.Root() / "hello.qva");
    parameters.Set(QVString("width"), QVString("320"));
    parameters.Set(QVString("@temp_path"), QVString("set by the page"));
    QVAppletPackage package;
    ASSERT_TRUE(
        package.Unpack(QVString((scratch.Root() / "hello.qva").string().c_str()), parameters));

    EXPECT_EQ(scratch.RootText(), Text(package.GetDirectory()));
    EXPECT_EQ(scratch.RootText(), Parameter(parameters, "@temp_path"));
    EXPECT_EQ(scratch.Root(), fs::current_path());
    EXPECT_EQ("320", Parameter(parameters, "width"));
    EXPECT_TRUE(fs::exists(scratch.Root() / "qveapp.cfg"));
    EXPECT_EQ(ReadFile(HelloModule), ReadFile(scratch.Root() / "helloapplet.qvm"));
    EXPECT_EQ(2ul, package.GetReport().files);

    QVApplet* applet = package.LoadApplet(parameters);
    ASSERT_NE(nullptr, applet);
    EXPECT_EQ("Applet", Text(applet->GetType()));
    EXPECT_EQ("Hello Applet", Text(applet->GetName()));
    EXPECT_EQ("helloapplet.qvm", Text(package.GetModuleName()));
    EXPECT_EQ(scratch.RootText(), Parameter(parameters, "@temp_path"));
    GetModManager().ReleaseModule(applet);
}

TEST_F(AppletPackageTest, PathWithoutDirectoryStartsNothing)
{
    QVAppletPackage package;
    for (const char* path : {"hello.qva", "", "/hello.qva"})
    {
        EXPECT_FALSE(package.Unpack(QVString(path), parameters)) << path;
        EXPECT_EQ(workingDirectory, fs::current_path()) << path;
        EXPECT_EQ("<absent>", Parameter(parameters, "@temp_path")) << path;
        EXPECT_EQ(nullptr, package.LoadApplet(parameters)) << path;
    }
}

TEST_F(AppletPackageTest, ConfigurationNamesTheModule)
{
    struct
    {
        const char* what;
        std::string configuration;
        bool loads;
        const char* moduleName;
    } const cases[] = {
        {"LF", "main_w32=helloapplet.qvm\n", true, "helloapplet.qvm"},
        {"CR LF, blanks around", "other=1\r\nmain_w32 = helloapplet.qvm \r\n", true,
         "helloapplet.qvm"},
        {"no line end", "main_w32=helloapplet.qvm", true, "helloapplet.qvm"},
        {"native key first on Linux", "main_w32=missing.dll\nmain_linux=helloapplet.qvm\n",
         BuiltForLinux(), BuiltForLinux() ? "helloapplet.qvm" : "missing.dll"},
        {"Windows key only read there", "main_linux=missing.so\nmain_w32=helloapplet.qvm\n",
         !BuiltForLinux(), BuiltForLinux() ? "missing.so" : "helloapplet.qvm"},
        {"name confined to the directory", "main_w32=../../helloapplet.qvm\n", true,
         "../../helloapplet.qvm"},
        {"no key", "main=helloapplet.qvm\n", false, ""},
        {"empty value", "main_w32=\n", false, ""},
        {"missing library", "main_w32=missing.qvm\n", false, "missing.qvm"},
        {"no configuration", "", false, ""},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        const std::string path = Package(c.configuration);
        fs::remove(scratch.Root() / "qveapp.cfg");
        QVAppletPackage package;
        ASSERT_TRUE(package.Unpack(QVString(path.c_str()), parameters));
        QVApplet* applet = package.LoadApplet(parameters);
        EXPECT_EQ(c.loads, applet != nullptr);
        EXPECT_EQ(c.moduleName, Text(package.GetModuleName()));
        if (applet != nullptr)
            GetModManager().ReleaseModule(applet);
    }
}

TEST_F(AppletPackageTest, ConfigurationOverOneMebibyteIsRefused)
{
    for (const std::size_t size : {std::size_t(1) << 20, (std::size_t(1) << 20) + 1})
    {
        std::string configuration = "main_w32=helloapplet.qvm\n";
        configuration.resize(size - 1, '#');
        configuration += '\n';
        QVAppletPackage package;
        ASSERT_TRUE(package.Unpack(QVString(Package(configuration).c_str()), parameters));
        QVApplet* applet = package.LoadApplet(parameters);
        const bool within = size <= QVAppletPackage::ConfigurationLimit;
        EXPECT_EQ(within, applet != nullptr) << size;
        EXPECT_EQ(within ? "" : "the configuration qveapp.cfg is larger than 1 MiB",
                  package.GetFailure())
            << size;
        if (applet != nullptr)
            GetModManager().ReleaseModule(applet);
    }
}

TEST_F(AppletPackageTest, ModuleThatIsNoAppletIsRefused)
{
    // A real module of another kind, brought by the package.
    const std::string loader = ReadFile("qvproploader.qvm");
    ASSERT_FALSE(loader.empty());
    const unsigned count = GetModManager().GetCount();
    const std::string path = Package("main_w32=loader.qvm\nmain_linux=loader.qvm\n",
                                     {UnixFile("loader.qvm", loader, 0755)});
    QVAppletPackage package;
    ASSERT_TRUE(package.Unpack(QVString(path.c_str()), parameters));
    EXPECT_EQ(nullptr, package.LoadApplet(parameters));
    // It was released again.
    EXPECT_EQ(count, GetModManager().GetCount());
}

TEST_F(AppletPackageTest, TwoPackagesInOneDirectory)
{
    const std::string first =
        Package("main_w32=helloapplet.qvm\n",
                {UnixFile("data.txt", "first"), UnixFile("first.txt", "1")}, "first.qva");
    const std::string second =
        Package("main_w32=helloapplet.qvm\n", {UnixFile("data.txt", "second")}, "second.qva");
    QVAppletPackage package;
    ASSERT_TRUE(package.Unpack(QVString(first.c_str()), parameters));
    ASSERT_TRUE(package.Unpack(QVString(second.c_str()), parameters));
    EXPECT_EQ("second", ReadFile(scratch.Root() / "data.txt"));
    EXPECT_EQ("1", ReadFile(scratch.Root() / "first.txt"));
}

TEST(AppletModule, RefusingAModuleLoadedBeforeKeepsIt)
{
    // The property set's scan loaded the property loader; refusing it as an applet must not
    // take it from its other users.
    QVProperties properties(0);
    int status = 0;
    QVModule* loader = GetModManager().LoadModule("qvproploader.qvm", status);
    ASSERT_NE(nullptr, loader);
    EXPECT_EQ(nullptr, LoadAppletModule("qvproploader.qvm"));
    EXPECT_EQ(loader, GetModManager().LoadModule("qvproploader.qvm", status));
    EXPECT_EQ(QV_LOAD_ALREADY, status);
    EXPECT_EQ(nullptr, LoadAppletModule(""));
}

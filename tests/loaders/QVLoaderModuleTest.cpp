// The loader kind: which file names a loader accepts, the order of its virtual operations, and
// the property loader module as the module manager loads it.
#include "loaders/QVLoaderModule.h"
#include "loaders/QVProperties.h"
#include "modules/QVModManager.h"

#include "LoaderTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace
{
class ExtensionLoader : public QVLoaderModule
{
public:
    explicit ExtensionLoader(const char* extension) { SetExtension(QVString(extension)); }
    using QVLoaderModule::Load;
    using QVLoaderModule::Save;
    bool Load(QVModCollection*, const QVString&) override { return false; }
    bool Save(QVModCollection*, const QVString&) override { return false; }
};

// Index in the table of virtual operations that a pointer to a virtual member names (the
// Itanium C++ ABI both targets' compilers follow: table offset + 1).
template <typename Member>
std::ptrdiff_t TableIndex(Member member)
{
    struct Representation
    {
        std::uintptr_t pointer;
        std::ptrdiff_t adjustment;
    } representation;
    static_assert(sizeof(member) == sizeof(representation), "unexpected member pointer layout");
    std::memcpy(&representation, &member, sizeof(representation));
    return static_cast<std::ptrdiff_t>((representation.pointer - 1) / sizeof(void*));
}
}  // namespace

TEST(QVLoaderModuleCanLoad, AnyAcceptsEveryName)
{
    ExtensionLoader any("ANY");
    EXPECT_TRUE(any.GetExtension().Equals(QVString("any")));
    for (const char* name : {"", "config", ".", "a.", ".a", "qveapp.cfg", "x.ANY"})
    {
        EXPECT_TRUE(any.CanLoad(name)) << name;
    }
    EXPECT_TRUE(any.CanLoad(Units(u"\u00e9").data()));
}

TEST(QVLoaderModuleCanLoad, ExtensionsMatchInAnyLetterCase)
{
    ExtensionLoader tga("TGA");  // stored folded
    EXPECT_TRUE(tga.GetExtension().Equals(QVString("tga")));
    for (const char* name :
         {"image.tga", "IMAGE.TGA", "a.TgA", "a.b.tga", "a..tga", "dir.d/image.tga"})
    {
        EXPECT_TRUE(tga.CanLoad(name)) << name;
    }
    EXPECT_TRUE(tga.CanLoad(QVString("x.Tga")));
    EXPECT_TRUE(tga.CanLoad(Units(u"bild-\u00e9.TGA").data()));
    EXPECT_TRUE(tga.CanLoad(WideText(u"\u03a9.tga")));

    ExtensionLoader single("t");
    EXPECT_TRUE(single.CanLoad("a.t"));  // the dot right before the last character counts
    EXPECT_TRUE(single.CanLoad("..t"));
    EXPECT_FALSE(single.CanLoad(".t"));  // ... unless it is also the first
}

TEST(QVLoaderModuleCanLoad, NamesWithoutAUsableExtensionAreRefused)
{
    ExtensionLoader tga("tga");
    for (const char* name : {"", "tga", "imagetga", "image.", ".tga", "x.tga.", "a.tga.b", "a.tgax",
                             "a.tg", "dir.tga/file"})
    {
        EXPECT_FALSE(tga.CanLoad(name)) << name;
    }
    EXPECT_FALSE(tga.CanLoad(Units(u".tga").data()));
    EXPECT_FALSE(tga.CanLoad(Units(u"x.t\u0167a").data()));
}

TEST(QVLoaderModuleSlots, OperationsFollowTheModuleSlotsInTheAgreedOrder)
{
    using CanLoadText = bool (QVLoaderModule::*)(const QVString&);
    using CanLoadWide = bool (QVLoaderModule::*)(const unsigned short*);
    using CanLoadNarrow = bool (QVLoaderModule::*)(const char*);
    using LoadText = bool (QVLoaderModule::*)(QVModCollection*, const QVString&);
    using LoadWide = bool (QVLoaderModule::*)(QVModCollection*, const unsigned short*);
    using LoadNarrow = bool (QVLoaderModule::*)(QVModCollection*, const char*);
    const std::ptrdiff_t shutdown = TableIndex(&QVModule::Shutdown);
    const std::ptrdiff_t indexes[] = {
        TableIndex(static_cast<CanLoadText>(&QVLoaderModule::CanLoad)),
        TableIndex(static_cast<CanLoadWide>(&QVLoaderModule::CanLoad)),
        TableIndex(static_cast<CanLoadNarrow>(&QVLoaderModule::CanLoad)),
        TableIndex(static_cast<LoadText>(&QVLoaderModule::Load)),
        TableIndex(static_cast<LoadWide>(&QVLoaderModule::Load)),
        TableIndex(static_cast<LoadNarrow>(&QVLoaderModule::Load)),
        TableIndex(static_cast<LoadText>(&QVLoaderModule::Save)),
        TableIndex(static_cast<LoadWide>(&QVLoaderModule::Save)),
        TableIndex(static_cast<LoadNarrow>(&QVLoaderModule::Save)),
    };
    for (std::size_t i = 0; i < sizeof indexes / sizeof indexes[0]; ++i)
    {
        EXPECT_EQ(shutdown + 1 + static_cast<std::ptrdiff_t>(i), indexes[i]) << "operation " << i;
    }
}

TEST(QVPropLoaderModule, TheManagerLoadsItWithItsDescriptors)
{
    int status = 0;
    QVModule* module = GetModManager().LoadModule("qvproploader.qvm", status);
    ASSERT_NE(nullptr, module);
    EXPECT_NE(0, status);
    EXPECT_EQ("qvproploader.qvm", Narrow(module->GetFileName()));
    EXPECT_EQ("Properties Loader", Narrow(module->GetName()));
    EXPECT_EQ("Properties Loader", Narrow(module->GetType()));
    EXPECT_EQ("All", Narrow(module->GetPlatform()));
    QVLoaderModule* loader = static_cast<QVLoaderModule*>(module);
    EXPECT_EQ("Property files", Narrow(loader->GetDescription()));
    EXPECT_EQ("any", Narrow(loader->GetExtension()));
    EXPECT_TRUE(loader->CanLoad("no-extension"));

    // A second request finds the same object by its file name.
    EXPECT_EQ(module, GetModManager().LoadModule("qvproploader.qvm", status));
    EXPECT_EQ(2, status);
}

TEST(QVPropLoaderModule, RefusesClientsThatAreNotPropertySets)
{
    QVModule* module = GetModManager().LoadModule("qvproploader.qvm");
    ASSERT_NE(nullptr, module);
    QVLoaderModule* loader = static_cast<QVLoaderModule*>(module);
    ScratchFile file("client.cfg", "a=1\n");
    QVModCollection meshLoaders(16393, "Object Loader");
    EXPECT_FALSE(loader->Load(&meshLoaders, file.Name()));
    EXPECT_FALSE(loader->Save(&meshLoaders, file.Name()));
    EXPECT_FALSE(loader->Load(nullptr, file.Text()));
    EXPECT_FALSE(loader->Save(nullptr, file.Text()));
    EXPECT_EQ("a=1\n", file.Bytes());
}

// The real "qvtgaloader.qvm" as hosts meet it: through the module manager and an image's module
// collection.
#include "loaders/QVImage.h"
#include "loaders/QVLoaderModule.h"
#include "modules/QVModManager.h"

#include "TgaTestSupport.h"

#include <gtest/gtest.h>

TEST(TgaLoaderModule, TheManagerLoadsItWithItsDescriptors)
{
    int status = 0;
    QVModule* module = GetModManager().LoadModule("qvtgaloader.qvm", status);
    ASSERT_NE(nullptr, module);
    // The module does not name its file, so the manager never recognises it as loaded: each
    // request makes a new object.
    EXPECT_EQ("", Narrow(module->GetFileName()));
    QVModule* again = GetModManager().LoadModule("qvtgaloader.qvm", status);
    EXPECT_NE(module, again);
    EXPECT_NE(2, status);
    EXPECT_EQ("TGA loader", Narrow(module->GetName()));
    EXPECT_EQ("Image Loader", Narrow(module->GetType()));
    EXPECT_EQ("All", Narrow(module->GetPlatform()));
    QVLoaderModule* loader = static_cast<QVLoaderModule*>(module);
    EXPECT_EQ("Tga", Narrow(loader->GetDescription()));
    EXPECT_EQ("tga", Narrow(loader->GetExtension()));
    EXPECT_TRUE(loader->CanLoad("picture.TGA"));
    EXPECT_FALSE(loader->CanLoad("picture.png"));
}

TEST(TgaLoaderModule, AnImageFindsItAndLoadsAndSavesThroughIt)
{
    QVImage image;
    bool found = false;
    for (unsigned i = 0; i < image.GetLoaders().GetCount(); ++i)
    {
        found = found || Narrow(image.GetLoaders().GetAt(i)->GetName()) == "TGA loader";
    }
    ASSERT_TRUE(found);

    TgaSpec spec;
    spec.descriptor = 0x20;
    spec.pixels = "abcdefghijkl";
    ScratchFile file("module.tga", TgaBytes(spec));
    const std::string output = StandardOutputOf([&] { EXPECT_TRUE(image.Load(file.Text())); });
    EXPECT_EQ("DataSize in bytes: 12, in Kbytes: 0\n", output);
    EXPECT_EQ("ghijklabcdef", PixelsOf(image));

    ScratchFile saved("module-saved.tga");
    ASSERT_TRUE(image.Save(saved.Text()));
    QVImage reloaded;
    StandardOutputOf([&] { EXPECT_TRUE(reloaded.Load(saved.Text())); });
    EXPECT_EQ("ghijklabcdef", PixelsOf(reloaded));

    // A refusal from inside the module reaches this program's standard output too.
    ScratchFile refused("module-refused.tga", std::string(10, '\0'));
    EXPECT_EQ("Read Footer Failed.\n",
              StandardOutputOf([&] { EXPECT_FALSE(image.Load(refused.Text())); }));
    EXPECT_EQ("ghijklabcdef", PixelsOf(image));
}

TEST(TgaLoaderModule, RefusesClientsThatAreNotImages)
{
    QVLoaderModule* loader =
        static_cast<QVLoaderModule*>(GetModManager().LoadModule("qvtgaloader.qvm"));
    ASSERT_NE(nullptr, loader);
    TgaSpec spec;
    spec.pixels = std::string(12, 'p');
    ScratchFile file("client.tga", TgaBytes(spec));
    QVModCollection properties(4106, "Properties Loader");
    QVModCollection meshes(0x4009, "Object Loader");
    for (QVModCollection* client : {&properties, &meshes, static_cast<QVModCollection*>(nullptr)})
    {
        EXPECT_EQ("", StandardOutputOf([&] { EXPECT_FALSE(loader->Load(client, file.Name())); }));
        EXPECT_FALSE(loader->Save(client, file.Name()));
    }
    EXPECT_EQ(TgaBytes(spec), file.Bytes());
}

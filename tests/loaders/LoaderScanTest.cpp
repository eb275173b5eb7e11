// The owners of module collections (images, meshes, property sets) as hosts use them: each finds
// the loader modules built beside the program from any working directory, and gives back what its
// scan loaded when it goes, so that owners made in a loop leave the module table as it was.
#include "loaders/QVImage.h"
#include "loaders/QVProperties.h"
#include "modules/QVModManager.h"
#include "scene/QVSGMesh.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace
{
namespace fs = std::filesystem;

std::vector<std::string> NamesIn(QVModCollection& collection)
{
    std::vector<std::string> names;
    for (unsigned i = 0; i < collection.GetCount(); ++i)
        names.emplace_back(collection.GetAt(i)->GetName().GetBuffer());
    return names;
}

// One owner of each kind: made, asked what it collected, destroyed.
struct Kind
{
    const char* what;
    const char* loader;  // the module it must find
    std::vector<std::string> (*collect)();
};
const Kind kKinds[] = {
    {"image", "TGA loader",
     []
     {
         QVImage image;
         return NamesIn(image.GetLoaders());
     }},
    {"mesh", "Quarvo 3ds file loader",
     []
     {
         QVSGMesh mesh;
         return NamesIn(mesh.GetLoaders());
     }},
    {"property set", "Properties Loader",
     []
     {
         QVProperties properties(0);
         return NamesIn(*properties.GetModCollection());
     }},
};

bool Holds(const std::vector<std::string>& names, const char* name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}
}  // namespace

TEST(LoaderScan, OwnersFindTheLoadersBesideTheProgramFromAnotherDirectory)
{
    // A directory without modules, and no runtime directory (the suite runs without a key).
    const fs::path start = fs::current_path();
    const fs::path elsewhere = start / "loaders-test-elsewhere";
    fs::create_directories(elsewhere);
    fs::current_path(elsewhere);
    for (const Kind& kind : kKinds)
        EXPECT_TRUE(Holds(kind.collect(), kind.loader)) << kind.what;
    fs::current_path(start);
    fs::remove_all(elsewhere);
}

TEST(LoaderScan, OwnersMadeAndDestroyedLeaveTheModuleTableAsItWas)
{
    QVModManager& manager = GetModManager();
    for (const Kind& kind : kKinds)
    {
        const unsigned before = manager.GetCount();
        for (int i = 0; i < 200; ++i)
            ASSERT_TRUE(Holds(kind.collect(), kind.loader)) << kind.what;
        EXPECT_EQ(before, manager.GetCount()) << kind.what;
    }
    // A module that the caller asked for by name is the caller's, also when a collection's scan
    // had loaded it: the collection leaves it loaded.
    QVModule* byName = nullptr;
    {
        QVProperties properties(0);
        byName = manager.LoadModule("qvproploader.qvm");
    }
    int status = QV_LOAD_FAILED;
    EXPECT_EQ(byName, manager.LoadModule("qvproploader.qvm", status));
    EXPECT_EQ(QV_LOAD_ALREADY, status);
}

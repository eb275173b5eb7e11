// The owners of module collections (images, meshes, property sets) as hosts use them: each finds
// the loader modules built beside the program from any working directory, and gives back what its
// scan loaded when it goes, so that owners made in a loop leave the module table as it was.
#include "loaders/QVImage.h"
#include "loaders/QVProperties.h"
#include "modules/QVModManager.h"
#include "scene/QVSGMesh.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace
{
namespace fs = std::filesystem;

QVModCollection& LoadersOf(QVImage& image) { return image.GetLoaders(); }
QVModCollection& LoadersOf(QVSGMesh& mesh) { return mesh.GetLoaders(); }
QVModCollection& LoadersOf(QVProperties& set) { return *set.GetModCollection(); }

// Makes an owner, tells whether it collected the named module, destroys it.
template <class Owner>
bool Collects(const char* name)
{
    Owner owner;
    QVModCollection& loaders = LoadersOf(owner);
    for (unsigned i = 0; i < loaders.GetCount(); ++i)
        if (loaders.GetAt(i)->GetName().Equals(QVString(name)))
            return true;
    return false;
}

struct Kind
{
    const char* what;
    const char* loader;
    bool (*collects)(const char* name);
};
const Kind kKinds[] = {{"image", "TGA loader", Collects<QVImage>},
                       {"mesh", "Quarvo 3ds file loader", Collects<QVSGMesh>},
                       {"property set", "Properties Loader", Collects<QVProperties>}};
}  // namespace

TEST(LoaderScan, OwnersFindTheLoadersBesideTheProgramFromAnotherDirectory)
{
    // A directory without modules, and no runtime directory (the suite runs without a key).
    const fs::path start = fs::current_path();
    const fs::path elsewhere = start / "loaders-test-elsewhere";
    fs::create_directories(elsewhere);
    fs::current_path(elsewhere);
    for (const Kind& kind : kKinds)
        EXPECT_TRUE(kind.collects(kind.loader)) << kind.what;
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
            ASSERT_TRUE(kind.collects(kind.loader)) << kind.what;
        EXPECT_EQ(before, manager.GetCount()) << kind.what;
    }
}

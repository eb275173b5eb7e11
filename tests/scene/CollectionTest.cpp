#include "modules/QVModManager.h"
#include "scene/QVSGBox.h"
#include "scene/QVSGMesh.h"
#include "scene/QVSGSphere.h"
#include "scene/QVSGWorld.h"

#include <gtest/gtest.h>

#include <string>

// The scene tests run in a directory that holds a "3D Renderer" and an "Object Loader" module;
// scans also list the program's directory, whose object loader a mesh gathers as well.

namespace
{
// How many of the collected modules are the suite's object loader stub; every one collected must
// be an object loader.
int StubsIn(QVModCollection& loaders)
{
    int stubs = 0;
    for (unsigned i = 0; i < loaders.GetCount(); ++i)
    {
        EXPECT_EQ(std::string("Object Loader"), loaders.GetAt(i)->GetType().GetBuffer());
        stubs += std::string("Scene test object loader") == loaders.GetAt(i)->GetName().GetBuffer();
    }
    return stubs;
}
}  // namespace

TEST(SceneCollectionTest, MeshesGatherTheObjectLoaderWithTheirOwnTag)
{
    QVSGMesh mesh;
    QVSGSphere sphere(1.0, 3);
    QVSGBox box(0x3F, 1);
    EXPECT_EQ(0x4009, mesh.GetLoaders().GetTag());
    EXPECT_EQ(0x400F, sphere.GetLoaders().GetTag());
    EXPECT_EQ(0x4010, box.GetLoaders().GetTag());
    for (QVSGMesh* each : {&mesh, static_cast<QVSGMesh*>(&sphere), static_cast<QVSGMesh*>(&box)})
        EXPECT_EQ(1, StubsIn(each->GetLoaders()));
}

TEST(SceneCollectionTest, WorldFindsNoWorldLoaderAndTheScanKeepsNoRenderer)
{
    QVSGWorld world;
    EXPECT_EQ(0x400B, world.GetLoaders().GetTag());
    EXPECT_EQ(0u, world.GetLoaders().GetCount());
    QVModManager& manager = GetModManager();
    for (unsigned i = 0; i < manager.GetCount(); ++i)
    {
        EXPECT_NE(std::string("3D Renderer"), manager[i]->GetType().GetBuffer());
    }
}

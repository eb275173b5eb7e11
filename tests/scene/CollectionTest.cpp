#include "modules/QVModManager.h"
#include "scene/QVSGBox.h"
#include "scene/QVSGMesh.h"
#include "scene/QVSGSphere.h"
#include "scene/QVSGWorld.h"

#include <gtest/gtest.h>

#include <string>

// The scene tests run in a directory that holds a "3D Renderer" and an "Object Loader" module.

TEST(SceneCollectionTest, MeshesGatherTheObjectLoaderWithTheirOwnTag)
{
    QVSGMesh mesh;
    QVSGSphere sphere(1.0, 3);
    QVSGBox box(0x3F, 1);
    EXPECT_EQ(0x4009, mesh.GetLoaders().GetTag());
    EXPECT_EQ(0x400F, sphere.GetLoaders().GetTag());
    EXPECT_EQ(0x4010, box.GetLoaders().GetTag());
    for (QVSGMesh* each : {&mesh, static_cast<QVSGMesh*>(&sphere), static_cast<QVSGMesh*>(&box)})
    {
        ASSERT_EQ(1u, each->GetLoaders().GetCount());
        EXPECT_EQ(std::string("Object Loader"), each->GetLoaders().GetAt(0)->GetType().GetBuffer());
    }
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

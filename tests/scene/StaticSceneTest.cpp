// Programs build their scenes as static objects: the world's and meshes' module scans then run
// during static initialisation, before main. These objects check that this works.
#include "scene/QVSGBox.h"
#include "scene/QVSGSphere.h"
#include "scene/QVSGWorld.h"

#include <gtest/gtest.h>

namespace
{
QVSGWorld staticWorld;
QVSGSphere staticSphere(2.0, 6);
QVSGBox staticBox(0x25, 1);
const bool staticBuilt = staticSphere.BuildSphere() && staticBox.BuildBox();
}  // namespace

TEST(StaticSceneTest, ObjectsBuiltBeforeMainAreComplete)
{
    ASSERT_TRUE(staticBuilt);
    EXPECT_LE(1u, staticSphere.GetLoaders().GetCount());  // the stub, and the program's loader
    EXPECT_EQ(0u, staticWorld.GetLoaders().GetCount());
    EXPECT_EQ(7 * 13, staticSphere.GetVertexCount());
    EXPECT_EQ(3, staticBox.GetFaceGroupCount());
    staticWorld.AddObject(&staticSphere);
    EXPECT_EQ(&staticSphere, staticWorld.GetChild(0));
}

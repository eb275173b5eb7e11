#include "scene/QVColor.h"
#include "scene/QVSGLight.h"
#include "scene/QVSGMaterial.h"
#include "scene/QVSGTransform.h"

#include <gtest/gtest.h>

// --- colour ---

TEST(ColorTest, PackedValuesSplitIntoAlphaRedGreenBlue)
{
    const QVColor white(0xFFFFFFu);
    EXPECT_EQ(1.0, white.r);
    EXPECT_EQ(1.0, white.g);
    EXPECT_EQ(1.0, white.b);
    EXPECT_EQ(0.0, white.a);
    const QVColor halfRed(0x80FF0000u);
    EXPECT_EQ(1.0, halfRed.r);
    EXPECT_EQ(0.0, halfRed.g);
    EXPECT_EQ(0.0, halfRed.b);
    EXPECT_EQ(128.0 / 255.0, halfRed.a);
    QVColor c(0x00000001u);
    EXPECT_EQ(1.0 / 255.0, c.b);
    EXPECT_EQ(0x3001, c.GetClassId());
}

TEST(ColorTest, ComponentsAreStoredUnclamped)
{
    QVColor c;
    EXPECT_EQ(0.0, c.r);
    c.Set(1.5, -0.25, 0.5, 2.0);
    EXPECT_EQ(1.5, c.r);
    EXPECT_EQ(-0.25, c.g);
    c.SetPacked(0xFF000000u);
    EXPECT_EQ(0.0, c.r);
    EXPECT_EQ(1.0, c.a);
}

// --- light ---

TEST(LightTest, InitialValues)
{
    QVSGLight light(1.0, 2.0, 3.0);
    EXPECT_EQ(3.0, light.GetPosition()[2]);
    EXPECT_EQ(3u, light.GetPosition().GetDimension());
    EXPECT_EQ(1, light.GetOn());
    EXPECT_EQ(0.1, light.GetAmbient().r);
    EXPECT_EQ(1.0, light.GetAmbient().a);
    EXPECT_EQ(0.8, light.GetDiffuse().b);
    EXPECT_EQ(1.0, light.GetSpecular().g);
    EXPECT_EQ(1000.0, light.GetExtraValue(1));
    EXPECT_EQ(1.0, light.GetExtraValue(2));
    EXPECT_EQ(1.4, light.GetExtraValue(3));
    EXPECT_EQ(1.7, light.GetExtraValue(4));
    EXPECT_EQ(4u, light.GetExtraVector().GetDimension());
    EXPECT_EQ(1.0, light.GetScale()[0]);
}

TEST(LightTest, AttenuationFactor)
{
    QVSGLight light(0, 0, 0);
    EXPECT_EQ(1.0, light.AttenuationAt(0.0));     // all three factors 0: full strength anywhere
    EXPECT_EQ(1.0, light.AttenuationAt(1e9));
    light.SetAttenuation(0.5, 0.0, 0.0);           // below 1 never brightens
    EXPECT_EQ(1.0, light.AttenuationAt(10.0));
    light.SetAttenuation(1.0, 0.5, 0.25);
    EXPECT_EQ(1.0 / (1.0 + 1.0 + 1.0), light.AttenuationAt(2.0));
    EXPECT_EQ(0.25, light.GetQuadraticAttenuation());
}

// --- material and transform ---

TEST(MaterialTest, StartsBlackAndUntextured)
{
    QVSGMaterial material;
    EXPECT_EQ(0.0, material.transparency);
    EXPECT_EQ(0.0, material.reflectivity);
    EXPECT_EQ(0, material.shininess);
    EXPECT_EQ(0.0, material.GetDiffuse().r);
    EXPECT_EQ(0.0, material.baseColour.a);
    EXPECT_EQ(nullptr, material.texture);
    material.diffuse.Set(0.2, 0.3, 0.4, 1.0);
    EXPECT_EQ(&material.diffuse, &material.GetDiffuse());
}

TEST(TransformTest, InitialPlacement)
{
    QVSGTransform node;
    EXPECT_EQ(3u, node.GetPosition().GetDimension());
    EXPECT_EQ(0.0, node.GetRotation()[1]);
    EXPECT_EQ(1.0, node.GetScale()[2]);
    EXPECT_EQ(0.0, node.GetSize());
    EXPECT_EQ(0.0, node.GetColor().a);
    EXPECT_TRUE(node.Prepare());
}

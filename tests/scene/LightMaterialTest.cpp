#include "scene/QVColor.h"
#include "scene/QVSGLight.h"

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

// --- light ---

TEST(LightTest, AttenuationFactor)
{
    QVSGLight light(0, 0, 0);
    EXPECT_EQ(1.0, light.AttenuationAt(0.0));  // all three factors 0: full strength anywhere
    EXPECT_EQ(1.0, light.AttenuationAt(1e9));
    light.SetAttenuation(0.5, 0.0, 0.0);  // below 1 never brightens
    EXPECT_EQ(1.0, light.AttenuationAt(10.0));
    light.SetAttenuation(1.0, 0.5, 0.25);
    EXPECT_EQ(1.0 / (1.0 + 1.0 + 1.0), light.AttenuationAt(2.0));
    EXPECT_EQ(0.25, light.GetQuadraticAttenuation());
}

// The parts of the web GL layer that run on the CPU alone, built natively: how primitives become
// WebGL draws, pixel format conversion, the scaling and halving of texture images, and matrices.
#include "gl/webgl/ImageScaling.h"
#include "gl/webgl/Matrix4.h"
#include "gl/webgl/PixelConversion.h"
#include "gl/webgl/PrimitiveAssembly.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace
{
using Indices = std::vector<std::uint32_t>;
}  // namespace

TEST(LayerPrimitives, ModesWebGLLacksBecomeTrianglesEndingAtTheFlatShadingVertex)
{
    struct Case
    {
        const char* what;
        GLenum mode;
        std::size_t count;
        bool separate;
        GLenum webGLMode;
        bool inOrder;
        Indices indices;
    };
    const Case cases[] = {
        {"triangles", GL_TRIANGLES, 6, false, GL_TRIANGLES, true, {}},
        {"strip", GL_TRIANGLE_STRIP, 5, false, GL_TRIANGLE_STRIP, true, {}},
        {"lines", GL_LINE_LOOP, 3, false, GL_LINE_LOOP, true, {}},
        {"one quad", GL_QUADS, 4, false, GL_TRIANGLES, false, {0, 1, 3, 1, 2, 3}},
        {"quad and leftovers", GL_QUADS, 7, false, GL_TRIANGLES, false, {0, 1, 3, 1, 2, 3}},
        {"quad strip",
         GL_QUAD_STRIP,
         6,
         false,
         GL_TRIANGLES,
         false,
         {0, 1, 3, 2, 0, 3, 2, 3, 5, 4, 2, 5}},
        {"quad strip, odd count", GL_QUAD_STRIP, 5, false, GL_TRIANGLES, false, {0, 1, 3, 2, 0, 3}},
        {"too short a quad strip", GL_QUAD_STRIP, 3, false, GL_TRIANGLES, false, {}},
        {"polygon", GL_POLYGON, 5, false, GL_TRIANGLES, false, {1, 2, 0, 2, 3, 0, 3, 4, 0}},
        {"flat strip", GL_TRIANGLE_STRIP, 4, true, GL_TRIANGLES, false, {0, 1, 2, 2, 1, 3}},
        {"flat fan", GL_TRIANGLE_FAN, 4, true, GL_TRIANGLES, false, {0, 1, 2, 0, 2, 3}},
        {"flat loop", GL_LINE_LOOP, 3, true, GL_LINES, false, {0, 1, 1, 2, 2, 0}},
        {"flat lines", GL_LINES, 5, true, GL_LINES, false, {0, 1, 2, 3}},
        {"flat points", GL_POINTS, 2, true, GL_POINTS, false, {0, 1}},
        {"no mode", 42, 3, false, GL_INVALID_ENUM, false, {}},
    };
    for (const Case& c : cases)
    {
        const AssembledPrimitive a = AssemblePrimitive(c.mode, c.count, c.separate);
        EXPECT_EQ(a.mode, c.webGLMode) << c.what;
        EXPECT_EQ(a.inOrder, c.inOrder) << c.what;
        EXPECT_EQ(a.indices, c.indices) << c.what;
    }
}

TEST(LayerPixels, UploadsArriveInTheBaseFormatWithOpenGLsComponentRules)
{
    struct Case
    {
        const char* what;
        std::vector<std::uint8_t> in;
        int width, height;
        GLenum format;
        int alignment;
        GLenum base;
        std::vector<std::uint8_t> out;
    };
    const Case cases[] = {
        // One BGR pixel per row, rows padded to 4 bytes.
        {"BGR rows", {1, 2, 3, 0, 4, 5, 6, 0}, 1, 2, GL_BGR, 4, GL_RGB, {3, 2, 1, 6, 5, 4}},
        {"BGRA", {1, 2, 3, 4}, 1, 1, GL_BGRA, 4, GL_RGBA, {3, 2, 1, 4}},
        {"BGR to RGBA", {1, 2, 3}, 1, 1, GL_BGR, 1, GL_RGBA, {3, 2, 1, 255}},
        {"luminance as RGB", {9, 7}, 2, 1, GL_LUMINANCE, 1, GL_RGB, {9, 9, 9, 7, 7, 7}},
        {"RGB as luminance takes red", {9, 8, 7}, 1, 1, GL_RGB, 1, GL_LUMINANCE, {9}},
        {"alpha as RGBA", {200}, 1, 1, GL_ALPHA, 1, GL_RGBA, {0, 0, 0, 200}},
        {"luminance-alpha", {5, 6}, 1, 1, GL_LUMINANCE_ALPHA, 1, GL_RGBA, {5, 5, 5, 6}},
        {"bytes with odd rows",
         {1, 2, 3, 0, 4},
         3,
         2,
         GL_LUMINANCE,
         4,
         GL_LUMINANCE,
         {1, 2, 3, 4, 0, 0}},
    };
    for (const Case& c : cases)
    {
        std::vector<std::uint8_t> in = c.in;
        in.resize(16, 0);  // the last row may end before its padding
        EXPECT_EQ(ConvertPixels(in.data(), c.width, c.height, c.format, c.alignment, c.base), c.out)
            << c.what;
    }
    EXPECT_TRUE(ConvertPixels(nullptr, 1, 1, GL_RGB, 1, GL_RGB).empty());
    EXPECT_EQ(BaseFormatOf(3), static_cast<GLenum>(GL_RGB));
    EXPECT_EQ(BaseFormatOf(GL_RGB16), 0u);

    // Read back: RGBA from WebGL to the caller's RGB rows of 4 bytes.
    const std::uint8_t rgba[8] = {1, 2, 3, 255, 4, 5, 6, 255};
    std::uint8_t out[8] = {};
    ASSERT_TRUE(PackPixels(rgba, 1, 2, GL_RGB, 4, out));
    EXPECT_EQ(std::vector<std::uint8_t>(out, out + 8),
              (std::vector<std::uint8_t>{1, 2, 3, 0, 4, 5, 6, 0}));
    EXPECT_FALSE(PackPixels(rgba, 1, 2, GL_DEPTH_COMPONENT, 4, out));
}

TEST(LayerImages, MipmapSizesAndLevelsAreThoseGLUBuilds)
{
    const int sizes[][2] = {{1, 1},   {2, 2},   {3, 4},   {5, 4},   {6, 8},     {7, 8},
                            {12, 16}, {24, 32}, {40, 32}, {64, 64}, {100, 128}, {0, 0}};
    for (const auto& s : sizes)
    {
        EXPECT_EQ(NearestPowerOfTwo(s[0]), s[1]) << s[0];
    }
    EXPECT_EQ(PowerOfTwoAtLeast(40), 64);
    EXPECT_EQ(PowerOfTwoAtLeast(64), 64);

    struct Halving
    {
        const char* what;
        Pixels in;
        int width, height;
        Pixels out;
        int newWidth, newHeight;
    };
    const Halving halvings[] = {
        {"2 x 2, rounded", {1, 2, 3, 5}, 2, 2, {3}, 1, 1},
        {"a column", {10, 21, 30, 50}, 1, 4, {16, 40}, 1, 2},
        {"a row", {0, 255}, 2, 1, {128}, 1, 1},
        {"4 x 2", {0, 4, 8, 8, 0, 4, 0, 0}, 4, 2, {2, 4}, 2, 1},
    };
    for (const Halving& h : halvings)
    {
        int w = 0;
        int ht = 0;
        EXPECT_EQ(HalveImage(h.in, h.width, h.height, 1, w, ht), h.out) << h.what;
        EXPECT_EQ(w, h.newWidth) << h.what;
        EXPECT_EQ(ht, h.newHeight) << h.what;
    }

    // Shrinking averages by area; 3 -> 2 takes one and a half pixels each.
    EXPECT_EQ(ScaleBox({0, 90, 180, 30}, 4, 1, 1, 2, 1), (Pixels{45, 105}));
    EXPECT_EQ(ScaleBox({0, 90, 180}, 3, 1, 1, 2, 1), (Pixels{30, 150}));
    // Enlarging a flat image keeps it flat; so does resampling.
    EXPECT_EQ(ScaleBox(Pixels(6, 77), 3, 2, 1, 4, 4), Pixels(16, 77));
    EXPECT_EQ(ScaleLinear(Pixels(6, 77), 3, 2, 1, 4, 4), Pixels(16, 77));
    // Resampled at the new texel centres, wrapping around as GL_REPEAT does.
    EXPECT_EQ(ScaleLinear({0, 255}, 2, 1, 1, 4, 1), (Pixels{64, 64, 191, 191}));
}

TEST(LayerMatrices, TransformsAndTheNormalMatrix)
{
    struct Case
    {
        const char* what;
        Matrix4 matrix;
        float in[4];
        float out[4];
    };
    const Case cases[] = {
        {"turn about z", Matrix4::Rotation(90, 0, 0, 2), {1, 0, 0, 1}, {0, 1, 0, 1}},
        {"turn about x", Matrix4::Rotation(90, 1, 0, 0), {0, 1, 0, 1}, {0, 0, 1, 1}},
        {"move then scale",
         Matrix4::Translation(1, 2, 3) * Matrix4::Scaling(2, 2, 2),
         {1, 1, 1, 1},
         {3, 4, 5, 1}},
        {"ortho", Matrix4::Ortho(0, 400, 0, 300, -1, 1), {400, 300, 0, 1}, {1, 1, 0, 1}},
        {"frustum near corner",
         Matrix4::Frustum(-1, 1, -1, 1, 1, 10),
         {1, 1, -1, 1},
         {1, 1, -1, 1}},
    };
    for (const Case& c : cases)
    {
        float out[4];
        c.matrix.Transform(c.in, out);
        for (int i = 0; i < 4; ++i)
        {
            EXPECT_NEAR(out[i], c.out[i], 1e-5) << c.what << ", component " << i;
        }
    }

    const NormalTransform scaled = NormalTransformOf(Matrix4::Scaling(3, 3, 3));
    EXPECT_NEAR(scaled.m[0], 1.0f / 3, 1e-6);
    EXPECT_NEAR(scaled.rescale, 3.0f, 1e-5);
    // Squashed along y: normals lean the other way (the transposed inverse).
    const NormalTransform squashed = NormalTransformOf(Matrix4::Scaling(1, 0.5f, 1));
    EXPECT_NEAR(squashed.m[4], 2.0f, 1e-6);
    const NormalTransform turned = NormalTransformOf(Matrix4::Rotation(30, 0, 1, 0));
    EXPECT_NEAR(turned.rescale, 1.0f, 1e-6);
    EXPECT_NEAR(turned.m[2], Matrix4::Rotation(30, 0, 1, 0).m[2], 1e-6);
    EXPECT_EQ(NormalTransformOf(Matrix4::Scaling(1, 0, 1)).m[0], 0.0f);
}

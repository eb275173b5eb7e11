// Images turned into OpenGL textures by the renderer, read back from the GL and from the frame.
#include "loaders/QVImage.h"
#include "renderers/QVRenderer.h"
#include "renderers/opengl/QVTexture.h"
#include "scene/QVSGCamera.h"
#include "scene/QVSGMaterial.h"
#include "scene/QVSGMesh.h"
#include "tests/renderers/opengl/GLTestPlatform.h"
#include "tests/renderers/opengl/GLTestScene.h"
#include "tests/renderers/opengl/GLTestSession.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace
{
const GLenum kBgr = 0x80E0;
const GLenum kCubeMap = 0x8513;
const GLenum kCubeMapPositiveX = 0x8515;

// 2 x 2 pixels, rows bottom-up, blue green red: red and green at the bottom, blue and a dark
// brown at the top.
const unsigned char kBgrPixels[12] = {0, 0, 255, 0, 255, 0, 255, 0, 0, 10, 20, 30};
const Rgb kBottomLeft = {255, 0, 0};
const Rgb kBottomRight = {0, 255, 0};
const Rgb kTopLeft = {0, 0, 255};
const Rgb kTopRight = {30, 20, 10};

void Fill(QVImage& image, int width, int height, int bits, const unsigned char* pixels)
{
    ASSERT_TRUE(image.SetSize(width, height, bits));
    std::memcpy(image.GetPixels(), pixels, static_cast<std::size_t>(image.GetByteSize()));
}

QVTexture* TextureOf(QVImage& image) { return static_cast<QVTexture*>(image.RendererSlot()); }

GLint TexParameter(GLenum name)
{
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
}

GLint LevelParameter(GLenum target, int level, GLenum name)
{
    GLint value = 0;
    glGetTexLevelParameteriv(target, level, name, &value);
    return value;
}

std::vector<unsigned char> TexelBytes(int level, GLenum format, int bytes)
{
    std::vector<unsigned char> data(static_cast<std::size_t>(bytes), 0xEE);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, level, format, GL_UNSIGNED_BYTE, data.data());
    return data;
}
}  // namespace

TEST(GLTexture, ABgrImageArrivesAsTheRightColours)
{
    OPEN_SESSION(gl, 64, 64);
    QVImage image;
    Fill(image, 2, 2, 24, kBgrPixels);
    ASSERT_TRUE(gl->InitNode(&image));
    QVTexture* texture = TextureOf(image);
    ASSERT_NE(texture, nullptr);
    EXPECT_NE(texture->GetName(), 0u);
    EXPECT_EQ(texture->GetTarget(), static_cast<std::uint32_t>(GL_TEXTURE_2D));
    texture->Bind();
    EXPECT_EQ(LevelParameter(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH), 2);
    // Three components: the legacy count, or its name.
    const GLint internalFormat = LevelParameter(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT);
    EXPECT_TRUE(internalFormat == 3 || internalFormat == GL_RGB) << internalFormat;
    EXPECT_EQ(TexParameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(TexParameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(TexParameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(TexParameter(GL_TEXTURE_WRAP_T), GL_REPEAT);
    const std::vector<unsigned char> rgb = TexelBytes(0, GL_RGB, 12);
    EXPECT_EQ(rgb, (std::vector<unsigned char>{255, 0, 0, 0, 255, 0, 0, 0, 255, 30, 20, 10}));

    // On a quad that fills the view (lighting off: the texels modulate white), each quadrant's
    // centre shows one texel, the first row at the bottom (give or take the filtering's blend
    // with the neighbours half a pixel away).
    QVSGMaterial material;
    material.texture = &image;
    QVSGMesh mesh;
    BuildQuad(mesh, &material);
    mesh.SetPosition(0, 0, -1);
    QVSGCamera camera;
    gl->InitNode(&mesh);
    BeginSceneFrame(gl, camera, 90.0, nullptr);
    gl->DrawNode(&mesh);
    EXPECT_TRUE(Near(ReadRgb(16, 16), kBottomLeft, 12));
    EXPECT_TRUE(Near(ReadRgb(48, 16), kBottomRight, 12));
    EXPECT_TRUE(Near(ReadRgb(16, 48), kTopLeft, 12));
    EXPECT_TRUE(Near(ReadRgb(48, 48), kTopRight, 12));
    // The enable state is the mesh's own: texturing ends with the mesh.
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLint mode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    EXPECT_EQ(mode, GL_MODULATE);

    // An image that was never prepared leaves the mesh untextured.
    QVImage unprepared;
    Fill(unprepared, 2, 2, 24, kBgrPixels);
    material.texture = &unprepared;
    BeginSceneFrame(gl, camera, 90.0, nullptr);
    gl->DrawNode(&mesh);
    EXPECT_EQ(ReadRgb(16, 16), (Rgb{255, 255, 255}));

    gl->ReleaseNode(&mesh);
    EXPECT_TRUE(gl->ReleaseNode(&image));
    EXPECT_EQ(image.RendererSlot(), nullptr);
    // Releasing again, with no texture left, is no failure.
    EXPECT_TRUE(gl->ReleaseNode(&image));
}

TEST(GLTexture, MipmapsAreBuiltWhenTheImageAsksForThem)
{
    OPEN_SESSION(gl, 32, 32);
    QVImage image;
    Fill(image, 2, 2, 24, kBgrPixels);
    image.SetMipmapMode(1);
    ASSERT_TRUE(gl->InitNode(&image));
    TextureOf(image)->Bind();
    EXPECT_EQ(TexParameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(TexParameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(LevelParameter(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH), 1);
    EXPECT_EQ(TexelBytes(0, GL_RGB, 12)[0], 255);
    // The one texel of level 1 is the average of the four.
    const std::vector<unsigned char> average = TexelBytes(1, GL_RGB, 3);
    EXPECT_TRUE(Near({average[0], average[1], average[2]}, Rgb{71, 69, 66}, 2))
        << static_cast<int>(average[0]) << "," << static_cast<int>(average[1]) << ","
        << static_cast<int>(average[2]);
    gl->ReleaseNode(&image);
}

TEST(GLTexture, PixelSizesChooseTheFormatAndReadExactlyTheImage)
{
    OPEN_SESSION(gl, 32, 32);
    struct Case
    {
        int bits;
        GLenum readFormat;  // how the texels are read back
        std::vector<unsigned char> pixels;
        std::vector<unsigned char> expected;  // empty: no image uploaded
    };
    const std::vector<Case> cases = {
        {8, GL_LUMINANCE, {1, 2, 3, 4}, {1, 2, 3, 4}},
        // Luminance and alpha, one byte each: eight bytes for 2 x 2 pixels.
        {16, GL_LUMINANCE_ALPHA, {1, 2, 3, 4, 5, 6, 7, 8}, {1, 2, 3, 4, 5, 6, 7, 8}},
        {24,
         kBgr,
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
        {32,
         GL_RGBA,
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16},
         {3, 2, 1, 4, 7, 6, 5, 8, 11, 10, 9, 12, 15, 14, 13, 16}},
        // Five bytes per pixel have no format; the low 8 bits of 264 bits per pixel are 8.
        {40, GL_RGB, std::vector<unsigned char>(20, 9), {}},
        {264, GL_LUMINANCE, std::vector<unsigned char>(132, 9), {9, 9, 9, 9}},
    };
    for (const Case& c : cases)
    {
        QVImage image;
        Fill(image, 2, 2, c.bits, c.pixels.data());
        ASSERT_TRUE(gl->InitNode(&image)) << c.bits << " bits";
        TextureOf(image)->Bind();
        const int width = LevelParameter(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH);
        if (c.expected.empty())
        {
            EXPECT_EQ(width, 0) << c.bits << " bits";
        }
        else
        {
            EXPECT_EQ(width, 2) << c.bits << " bits";
            EXPECT_EQ(TexelBytes(0, c.readFormat, static_cast<int>(c.expected.size())), c.expected)
                << c.bits << " bits";
        }
        gl->ReleaseNode(&image);
    }
}

TEST(GLTexture, TextureKindsChooseTheTargetAndOnly2DGetsAnImage)
{
    OPEN_SESSION(gl, 32, 32);
    struct Case
    {
        std::int32_t kind;
        GLenum target;
        GLenum levelTarget;  // where the image would be
    };
    const Case cases[] = {{QVImage::Texture1D, GL_TEXTURE_1D, GL_TEXTURE_1D},
                          {QVImage::Texture2D, GL_TEXTURE_2D, GL_TEXTURE_2D},
                          {QVImage::TextureCubeMap, kCubeMap, kCubeMapPositiveX},
                          {7, GL_TEXTURE_2D, GL_TEXTURE_2D}};
    for (const Case& c : cases)
    {
        QVImage image;
        Fill(image, 2, 2, 24, kBgrPixels);
        image.SetTextureKind(c.kind);
        ASSERT_TRUE(gl->InitNode(&image));
        QVTexture* texture = TextureOf(image);
        EXPECT_NE(texture->GetName(), 0u) << "kind " << c.kind;
        EXPECT_EQ(texture->GetTarget(), static_cast<std::uint32_t>(c.target)) << "kind " << c.kind;
        texture->Bind();
        EXPECT_EQ(LevelParameter(c.levelTarget, 0, GL_TEXTURE_WIDTH),
                  c.kind == QVImage::Texture2D ? 2 : 0)
            << "kind " << c.kind;
        // Preparing the image again replaces its texture.
        ASSERT_TRUE(gl->InitNode(&image));
        EXPECT_NE(TextureOf(image), nullptr);
        gl->ReleaseNode(&image);
    }
}

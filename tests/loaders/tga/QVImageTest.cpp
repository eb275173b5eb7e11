// The image object: its size arithmetic, including sizes no machine can hold, and how loaders
// recognise it from its module collection.
#include "loaders/QVImage.h"
#include "scene/QVSGKind.h"

#include "AllocationWatch.h"
#include "TgaTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

TEST(QVImageSetSize, AllocatesWholeBytesForEveryPixelBit)
{
    struct Case
    {
        std::int32_t width;
        std::int32_t height;
        std::int32_t bits;
        std::int32_t bytes;
    } cases[] = {
        {2, 2, 24, 12},  {3, 1, 1, 1},  {3, 3, 4, 5}, {9, 1, 1, 2}, {1, 1, 8, 1},
        {7, 5, 32, 140}, {0, 5, 32, 0}, {5, 0, 8, 0}, {4, 4, 0, 0}, {1, 1, 0x7FFF, 4096},
    };
    QVImage image;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height) + " x " +
                     std::to_string(c.bits));
        ASSERT_TRUE(image.SetSize(c.width, c.height, c.bits));
        EXPECT_EQ(c.width, image.GetWidth());
        EXPECT_EQ(c.height, image.GetHeight());
        EXPECT_EQ(c.bits & 0xFF, image.GetBitsPerPixel());
        EXPECT_EQ(c.bytes, image.GetByteSize());
        EXPECT_EQ(c.bytes == 0, image.GetPixels() == nullptr);
        if (c.bytes > 0)
        {
            image.GetPixels()[c.bytes - 1] = 1;  // the last byte is the image's (for ASan)
        }
    }
}

TEST(QVImageSetSize, SizesBeyondAnIntOfBytesAreRefusedWithoutAllocating)
{
    const std::int32_t most = std::numeric_limits<std::int32_t>::max();
    struct Case
    {
        std::int32_t width;
        std::int32_t height;
        std::int32_t bits;
    } cases[] = {
        {65535, 65535, 32},  // 16 GiB
        {65536, 32768, 8},   // 2^31 bytes, one more than an int counts
        {46341, 46341, 8},   // the pixel count fits, the bytes do not
        {most, most, 0x7FFF}, {most, 1, 9}, {-1, 1, 8},
        {1, -1, 8},           {1, 1, -8},   {1, 1, 0x8000},  // more than the 16-bit field holds
    };
    QVImage image;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height) + " x " +
                     std::to_string(c.bits));
        ASSERT_TRUE(image.SetSize(10, 10, 24));
        AllocationWatch watch(1);
        EXPECT_FALSE(image.SetSize(c.width, c.height, c.bits));
        EXPECT_LT(watch.Largest(), 4096u);
        // Left empty: the old pixels are gone, no size is claimed.
        EXPECT_EQ(0, image.GetWidth());
        EXPECT_EQ(0, image.GetHeight());
        EXPECT_EQ(0, image.GetBitsPerPixel());
        EXPECT_EQ(nullptr, image.GetPixels());
        EXPECT_EQ(0, image.GetByteSize());
    }
}

TEST(QVImageModCollection, ConvertsBackOnlyFromAnImage)
{
    QVImage image;
    // What renderers and loaders tell an image by.
    EXPECT_TRUE(image.HasKind(QVSG_KIND_NODE | QVSG_KIND_ATTRIBUTE | QVSG_KIND_LIGHT));
    EXPECT_FALSE(image.HasKind(QVSG_KIND_SPATIAL));
    EXPECT_EQ(QV_CLASS_IMAGE, image.GetLoaders().GetTag());
    EXPECT_EQ(&image, QVImage::FromModCollection(&image.GetLoaders()));
    QVModCollection properties(4106, "Properties Loader");
    QVModCollection meshes(0x4009, "Object Loader");
    QVModCollection untagged(0, "Image Loader");
    EXPECT_EQ(nullptr, QVImage::FromModCollection(&properties));
    EXPECT_EQ(nullptr, QVImage::FromModCollection(&meshes));
    EXPECT_EQ(nullptr, QVImage::FromModCollection(&untagged));
    EXPECT_EQ(nullptr, QVImage::FromModCollection(nullptr));
}

TEST(QVImageLoad, NamesNoLoaderAcceptsFailAndChangeNothing)
{
    QVImage image;
    MarkImage(image);
    ScratchFile file("picture.png", "not a picture");
    EXPECT_FALSE(image.Load(file.Text()));
    EXPECT_FALSE(image.Save(file.Text()));
    ExpectMarked(image);
    EXPECT_EQ("not a picture", file.Bytes());
}

// Saving images as TGA files: the exact bytes, the round trip through a load, the images that
// cannot be saved, and that a failed save leaves the target as it was.
#include "loaders/tga/QVTgaLoader.h"
#include "loaders/tga/TgaWriter.h"

#include "TgaTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace
{
QVTgaLoader& Loader()
{
    static QVTgaLoader loader;
    return loader;
}

// Fills the image with the picture's bytes at the picture's size.
void Fill(QVImage& image, const Picture& picture)
{
    ASSERT_TRUE(image.SetSize(picture.width, picture.height, picture.bytesPerPixel * 8));
    std::memcpy(image.GetPixels(), picture.bytes.data(), picture.bytes.size());
}

// A file beside name whose name starts with name and goes on: a temporary file left behind.
bool HasTemporaryBeside(const std::string& name)
{
    for (const auto& entry : std::filesystem::directory_iterator("."))
    {
        const std::string other = entry.path().filename().string();
        if (other.size() > name.size() && other.compare(0, name.size(), name) == 0)
        {
            return true;
        }
    }
    return false;
}

bool Save(QVImage& image, const ScratchFile& file)
{
    return Loader().Save(&image.GetLoaders(), file.Name());
}

bool Load(QVImage& image, const ScratchFile& file)
{
    testing::internal::CaptureStdout();
    const bool loaded = Loader().Load(&image.GetLoaders(), file.Name());
    testing::internal::GetCapturedStdout();
    return loaded;
}

bool Exists(const std::string& name) { return std::filesystem::exists(name); }
}  // namespace

TEST(TgaSave, WritesAnUncompressedFileWithATga2Footer)
{
    struct Case
    {
        int depth;
        int descriptor;
    } cases[] = {{8, 0x00}, {24, 0x00}, {32, 0x08}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.depth);
        QVImage image;
        const Picture picture(3, 2, c.depth / 8);
        Fill(image, picture);
        ScratchFile file("save.tga");
        ASSERT_TRUE(Save(image, file));
        TgaSpec spec;
        spec.width = 3;
        spec.height = 2;
        spec.depth = c.depth;
        spec.descriptor = c.descriptor;
        spec.pixels = picture.bytes;
        EXPECT_EQ(TgaBytes(spec), file.Bytes());
        EXPECT_FALSE(HasTemporaryBeside(file.Name()));
    }
}

TEST(TgaSave, SavingAndLoadingGivesBackTheSamePixels)
{
    QVImage saved;
    QVImage loaded;
    for (const int depth : {8, 24, 32})
    {
        for (const auto& size : {std::pair<int, int>{1, 1}, {5, 7}, {640, 3}})
        {
            SCOPED_TRACE(std::to_string(depth) + " bits, " + std::to_string(size.first) + " x " +
                         std::to_string(size.second));
            const Picture picture(size.first, size.second, depth / 8);
            Fill(saved, picture);
            ScratchFile file("round-trip.tga");
            ASSERT_TRUE(Save(saved, file));
            ASSERT_TRUE(Load(loaded, file));
            EXPECT_EQ(size.first, loaded.GetWidth());
            EXPECT_EQ(size.second, loaded.GetHeight());
            EXPECT_EQ(depth, loaded.GetBitsPerPixel());
            EXPECT_EQ(picture.bytes, PixelsOf(loaded));
        }
    }
}

// The writer's other forms, as the programs use them: RGB rows from the top without a footer
// (qvrender's images), and pixels in file order stored from another origin (the benchmark).
TEST(TgaSave, TheWriterWritesRowsAndChannelsInTheOrderAsked)
{
    const std::string rgb = "\x01\x02\x03\x04\x05\x06";
    tga::WriteOptions rightTop;
    rightTop.origin = 3;
    const struct Case
    {
        const char* what;
        tga::WriteOptions options;
        int descriptor;
        std::string stored;
        bool footer;
    } cases[] = {
        {"RGB from the top", tga::kRgbRowsFromTop, 0x20, "\x03\x02\x01\x06\x05\x04", false},
        {"top-right origin", rightTop, 0x30, rgb, true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        ScratchFile file("writer-form.tga");
        ASSERT_TRUE(tga::WriteFile(file.Name(), 1, 2, 24,
                                   reinterpret_cast<const std::uint8_t*>(rgb.data()), c.options));
        TgaSpec spec;
        spec.width = 1;
        spec.descriptor = c.descriptor;
        spec.pixels = c.stored;
        spec.footer = c.footer;
        EXPECT_EQ(TgaBytes(spec), file.Bytes());
    }
}

TEST(TgaSave, ImagesTheFormatCannotHoldAreNotSaved)
{
    struct Case
    {
        const char* what;
        int width;
        int height;
        int bits;
    } cases[] = {
        {"empty", 0, 0, 0}, {"no pixels", 4, 0, 24}, {"16 bits", 2, 2, 16},     {"4 bits", 3, 3, 4},
        {"1 bit", 8, 1, 1}, {"48 bits", 1, 1, 48},   {"too wide", 65536, 1, 8},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        QVImage image;
        ASSERT_TRUE(image.SetSize(c.width, c.height, c.bits));
        ScratchFile file("unsavable.tga");
        EXPECT_FALSE(Save(image, file));
        EXPECT_FALSE(Exists(file.Name()));
        EXPECT_FALSE(HasTemporaryBeside(file.Name()));
    }
}

TEST(TgaSave, AnExistingFileIsReplacedWhole)
{
    QVImage image;
    const Picture picture(4, 4, 3);
    Fill(image, picture);
    ScratchFile file("replace.tga", std::string(100000, 'o'));
    ASSERT_TRUE(Save(image, file));
    EXPECT_EQ(18u + 48u + 26u, file.Bytes().size());
}

TEST(TgaSave, AFailedSaveLeavesNothingBehind)
{
    QVImage image;
    Fill(image, Picture(2, 2, 3));

    // The target is a folder: the finished file cannot take its place.
    const std::string folder = "loaders-test-folder.tga";
    std::filesystem::remove_all(folder);
    ASSERT_TRUE(std::filesystem::create_directory(folder));
    EXPECT_FALSE(Loader().Save(&image.GetLoaders(), folder.c_str()));
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_FALSE(HasTemporaryBeside(folder));
    std::filesystem::remove_all(folder);

    // A folder that does not exist: nothing can be written.
    EXPECT_FALSE(Loader().Save(&image.GetLoaders(), "loaders-test-missing-folder/image.tga"));
    EXPECT_FALSE(Exists("loaders-test-missing-folder"));
}

TEST(TgaSave, WideFileNamesSaveToo)
{
    QVImage image;
    const Picture picture(2, 1, 4);
    Fill(image, picture);
    ScratchFile file("wide-save.tga");
    ASSERT_TRUE(Loader().Save(&image.GetLoaders(), Units(u"loaders-test-wide-save.tga").data()));
    QVImage loaded;
    ASSERT_TRUE(Load(loaded, file));
    EXPECT_EQ(picture.bytes, PixelsOf(loaded));
}

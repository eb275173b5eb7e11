// The sample TGA files made by other programs (the project's sample data folder, skipped when
// absent): which of them load, with which messages, and that the loaded pixels equal what
// ImageMagick decodes, for the files as they are and for each of the four origins.
#include "loaders/tga/QVTgaLoader.h"

#include "ReferenceDecoder.h"
#include "TgaTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace
{
std::string SampleFolder() { return std::string(QV_SAMPLE_DATA_DIR) + "/tga"; }

QVTgaLoader& Loader()
{
    static QVTgaLoader loader;
    return loader;
}

bool LoadInto(QVImage& image, const std::string& name, std::string* output = nullptr)
{
    bool loaded = false;
    const std::string printed =
        StandardOutputOf([&] { loaded = Loader().Load(&image.GetLoaders(), name.c_str()); });
    if (output != nullptr)
    {
        *output = printed;
    }
    return loaded;
}

// The image's pixels as the reference decoder gives them: top row first, RGB(A).
std::string TopDownRgb(const QVImage& image)
{
    const int bytes = image.GetBitsPerPixel() / 8;
    const std::size_t rowBytes = static_cast<std::size_t>(image.GetWidth()) * bytes;
    std::string out;
    for (int row = image.GetHeight() - 1; row >= 0; --row)
    {
        const unsigned char* p = image.GetPixels() + rowBytes * row;
        for (int column = 0; column < image.GetWidth(); ++column, p += bytes)
        {
            out += static_cast<char>(p[2]);
            out += static_cast<char>(p[1]);
            out += static_cast<char>(p[0]);
            if (bytes == 4)
            {
                out += static_cast<char>(p[3]);
            }
        }
    }
    return out;
}

// Loads the file and compares it with the reference decoder's reading of the same file.
void ExpectSameAsReference(QVImage& image, const std::string& name)
{
    ASSERT_TRUE(LoadInto(image, name));
    const bool alpha = image.GetBitsPerPixel() == 32;
    std::string reference;
    ASSERT_TRUE(reference_decoder::Decode(name, alpha, reference));
    ASSERT_EQ(reference.size(), TopDownRgb(image).size());
    EXPECT_TRUE(reference == TopDownRgb(image)) << "pixels differ from the reference decoder";
}

std::string DataSize(int bytes)
{
    return "DataSize in bytes: " + std::to_string(bytes) +
           ", in Kbytes: " + std::to_string(bytes / 1024) + "\n";
}

const char kSampleId[] = "Image ID: Truevision(R) Sample Image\n";

struct Sample
{
    const char* file;
    std::string output;  // what loading prints
    bool loads;
};

std::vector<Sample> Samples()
{
    return {
        {"utc24.tga", DataSize(128 * 128 * 3) + kSampleId, true},
        {"utc32.tga", DataSize(128 * 128 * 4) + kSampleId, true},
        {"rgb24_top_left.tga", DataSize(64 * 64 * 3), true},
        {"rgb32_bottom_left.tga", DataSize(64 * 64 * 4), true},
        {"utc16.tga", "Image Pixel Depth [16] not supported.\n", false},
        {"ubw8.tga", "Image type [3] not supported.\n", false},
        {"ucm8.tga", "Image type [1] not supported.\n", false},
        {"ctc16.tga", "Image type [10] not supported.\n", false},
        {"ctc24.tga", "Image type [10] not supported.\n", false},
        {"ctc32.tga", "Image type [10] not supported.\n", false},
        {"cbw8.tga", "Image type [11] not supported.\n", false},
        {"ccm8.tga", "Image type [9] not supported.\n", false},
        {"monochrome8_bottom_left.tga", "Image type [3] not supported.\n", false},
        {"monochrome8_bottom_left_rle.tga", "Image type [11] not supported.\n", false},
        {"monochrome16_top_left.tga", "Image type [3] not supported.\n", false},
        {"monochrome16_top_left_rle.tga", "Image type [11] not supported.\n", false},
        {"rgb24_bottom_left_rle.tga", "Image type [10] not supported.\n", false},
        {"rgb24_top_left_colormap.tga", "Image type [1] not supported.\n", false},
        {"rgb32_top_left_rle.tga", "Image type [10] not supported.\n", false},
        {"rgb32_top_left_rle_colormap.tga", "Image type [9] not supported.\n", false},
    };
}

class TgaSampleFiles : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!std::filesystem::is_directory(SampleFolder()))
        {
            GTEST_SKIP() << "no sample files in " << SampleFolder();
        }
    }
    std::string PathOf(const char* file) const { return SampleFolder() + "/" + file; }
};
}  // namespace

TEST_F(TgaSampleFiles, LoadOrAreRefusedWithTheirMessage)
{
    QVImage image;
    int seen = 0;
    for (const Sample& sample : Samples())
    {
        SCOPED_TRACE(sample.file);
        if (!std::filesystem::exists(PathOf(sample.file)))
        {
            continue;
        }
        ++seen;
        ASSERT_TRUE(image.SetSize(0, 0, 0));
        std::string output;
        EXPECT_EQ(sample.loads, LoadInto(image, PathOf(sample.file), &output));
        EXPECT_EQ(sample.output, output);
        EXPECT_EQ(sample.loads, image.GetPixels() != nullptr);
    }
    EXPECT_GT(seen, 0);
}

TEST_F(TgaSampleFiles, PixelsEqualTheReferenceDecoders)
{
    const std::string unavailable = reference_decoder::Unavailable();
    if (!unavailable.empty())
    {
        GTEST_SKIP() << unavailable;
    }
    QVImage image;
    for (const Sample& sample : Samples())
    {
        if (sample.loads && std::filesystem::exists(PathOf(sample.file)))
        {
            SCOPED_TRACE(sample.file);
            ExpectSameAsReference(image, PathOf(sample.file));
        }
    }
}

TEST_F(TgaSampleFiles, EveryOriginAgreesWithTheReferenceDecoder)
{
    const std::string unavailable = reference_decoder::Unavailable();
    if (!unavailable.empty())
    {
        GTEST_SKIP() << unavailable;
    }
    // The same stored bytes read from each of the four corners: four different pictures.
    QVImage image;
    for (const char* file : {"utc24.tga", "utc32.tga", "rgb24_top_left.tga"})
    {
        const std::string path = PathOf(file);
        if (!std::filesystem::exists(path))
        {
            continue;
        }
        std::ifstream in(path, std::ios::binary);
        std::string bytes(std::istreambuf_iterator<char>(in), {});
        ASSERT_GT(bytes.size(), 18u);
        ScratchFile copy("origin-sample.tga");
        for (int origin = 0; origin < 4; ++origin)
        {
            SCOPED_TRACE(std::string(file) + ", origin " + std::to_string(origin));
            bytes[17] = static_cast<char>((bytes[17] & 0x0F) | (origin << 4));
            copy.Write(bytes);
            ExpectSameAsReference(image, copy.Name());
        }
    }
}

// Image files made by other programs (the project's sample data folder, skipped when absent, and
// files ImageMagick makes from them: progressive JPEG, GIF, BMP), each loaded through the image
// loader and compared with ImageMagick's own decoding of the same file. JPEG decoders may round
// differently; every lossless format must agree exactly.
#include "../tga/ReferenceDecoder.h"
#include "ImageTestSupport.h"
#include "loaders/tga/QVTgaLoader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace
{
namespace fs = std::filesystem;

std::string Samples(const char* folder) { return std::string(QV_SAMPLE_DATA_DIR) + "/" + folder; }

std::vector<std::string> FilesIn(const std::string& folder, const char* extension)
{
    std::vector<std::string> files;
    if (!fs::is_directory(folder))
        return files;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
    {
        if (entry.path().extension() == extension)
            files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Loads the file and compares it with ImageMagick's reading: every byte within tolerance, and
// on average within meanTolerance; alpha only when withAlpha.
void ExpectAsReference(const std::string& file, int tolerance, double meanTolerance,
                       bool withAlpha = true)
{
    SCOPED_TRACE(file);
    QVImage image;
    ASSERT_TRUE(LoadWithImgLoader(image, file));
    std::string reference;
    ASSERT_TRUE(reference_decoder::Decode(file, true, reference));
    const std::string ours = TopDownRgba(image);
    ASSERT_EQ(reference.size(), ours.size());
    int largest = 0;
    std::size_t worst = 0;
    double total = 0;
    for (std::size_t i = 0; i < ours.size(); ++i)
    {
        if (!withAlpha && i % 4 == 3)
            continue;
        const int difference = std::abs(static_cast<unsigned char>(ours[i]) -
                                        static_cast<unsigned char>(reference[i]));
        if (difference > largest)
        {
            largest = difference;
            worst = i;
        }
        total += difference;
    }
    EXPECT_LE(largest, tolerance) << "at byte " << worst << " (pixel " << worst / 4 << ", channel "
                                  << worst % 4 << ")";
    EXPECT_LE(total / static_cast<double>(ours.size()), meanTolerance);
}

// A grey TGA file of 16 bits per pixel (grey, then alpha), read as stored: uncompressed files
// straight from their bytes, run-length encoded ones against their uncompressed twin.
void ExpectGreyWithAlphaAsStored(const std::string& file)
{
    SCOPED_TRACE(file);
    QVImage image;
    ASSERT_TRUE(LoadWithImgLoader(image, file));
    const std::size_t rle = file.find("_rle");
    const std::string plain = rle == std::string::npos ? file : file.substr(0, rle) + ".tga";
    std::ifstream in(plain, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    ASSERT_GE(bytes.size(), 18u);
    const bool top = (bytes[17] & 0x20) != 0;
    const std::size_t width = image.GetWidth();
    const std::size_t height = image.GetHeight();
    ASSERT_GE(bytes.size(), 18 + bytes[0] + width * height * 2);
    std::string stored;
    for (std::size_t row = 0; row < height; ++row)
    {
        const std::size_t fileRow = top ? height - 1 - row : row;
        for (std::size_t column = 0; column < width; ++column)
        {
            const std::size_t at = 18 + bytes[0] + (fileRow * width + column) * 2;
            stored += std::string(3, bytes[at]) + bytes[at + 1];
        }
    }
    EXPECT_TRUE(stored == PixelsOf(image)) << "pixels differ from the stored grey and alpha";
}

class ImageSampleFiles : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!fs::is_directory(Samples("png")) && !fs::is_directory(Samples("jpeg")))
            GTEST_SKIP() << "no sample files in " << QV_SAMPLE_DATA_DIR;
    }
};

// The cases that compare with ImageMagick skip where it cannot run (the Windows build).
class ImageSampleFilesAgainstReference : public ImageSampleFiles
{
protected:
    void SetUp() override
    {
        ImageSampleFiles::SetUp();
        const std::string unavailable = reference_decoder::Unavailable();
        if (!unavailable.empty())
            GTEST_SKIP() << unavailable;
    }
};
}  // namespace

// Every PNG and JPEG sample, and every TGA sample the TGA loader refuses, loads (on every
// target, ImageMagick or not).
TEST_F(ImageSampleFiles, EveryFileLoads)
{
    static QVTgaLoader tgaLoader;
    int loaded = 0;
    for (const auto& [folder, extension] :
         {std::pair{"png", ".png"}, std::pair{"jpeg", ".jpg"}, std::pair{"tga", ".tga"}})
    {
        for (const std::string& file : FilesIn(Samples(folder), extension))
        {
            SCOPED_TRACE(file);
            QVImage image;
            bool read = false;
            StandardOutputOf([&] { read = tgaLoader.Load(&image.GetLoaders(), file.c_str()); });
            if (!read)
            {
                EXPECT_TRUE(LoadWithImgLoader(image, file));
            }
            loaded += image.GetPixels() != nullptr ? 1 : 0;
        }
    }
    EXPECT_GT(loaded, 0);
}

TEST_F(ImageSampleFilesAgainstReference, PngFilesEqualTheReferenceDecoder)
{
    const std::vector<std::string> files = FilesIn(Samples("png"), ".png");
    EXPECT_FALSE(files.empty());
    // 16-bit samples: ImageMagick rounds a few to the other neighbour.
    for (const std::string& file : files)
        ExpectAsReference(file, file.find("16") != std::string::npos ? 1 : 0, 0.5);
}

TEST_F(ImageSampleFilesAgainstReference, JpegFilesAgreeWithTheReferenceDecoder)
{
    std::vector<std::string> files = FilesIn(Samples("jpeg"), ".jpg");
    for (const std::string& file : FilesIn(Samples("obj"), ".jpg"))
        files.push_back(file);
    EXPECT_FALSE(files.empty());
    for (const std::string& file : files)
        ExpectAsReference(file, 48, 1.5);
}

// Every sample TGA file goes to exactly one loader: the TGA loader reads its kind, the image
// loader takes the others (run-length encoded, colour-mapped, grey, 16-bit) and reads them as
// ImageMagick does.
TEST_F(ImageSampleFilesAgainstReference, EveryTgaFileGoesToOneLoaderAndEqualsTheReferenceDecoder)
{
    static QVTgaLoader tgaLoader;
    int taken = 0;
    for (const std::string& file : FilesIn(Samples("tga"), ".tga"))
    {
        SCOPED_TRACE(file);
        QVImage image;
        bool tgaRead = false;
        StandardOutputOf([&] { tgaRead = tgaLoader.Load(&image.GetLoaders(), file.c_str()); });
        EXPECT_NE(tgaRead, ImgLoader().CanLoad(QVString(file.c_str())));
        if (tgaRead)
            continue;
        ++taken;
        std::ifstream in(file, std::ios::binary);
        std::string head(18, '\0');
        in.read(&head[0], 18);
        const int type = head[2] & 7;
        // 16 bits per pixel: ImageMagick reads grey (type 3) as one 16-bit sample where the
        // format says grey and 8 alpha bits, and takes the one attribute bit of 15-bit colour
        // as alpha where the picture is meant opaque; those are checked on their own.
        if (head[16] != 16)
            ExpectAsReference(file, 0, 0.0);
        else if (type == 2)
            ExpectAsReference(file, 0, 0.0, false);
        else
            ExpectGreyWithAlphaAsStored(file);
    }
    if (fs::is_directory(Samples("tga")))
    {
        EXPECT_GT(taken, 0);
    }
}

// Progressive JPEG, GIF and BMP (24 bits, and 32 with alpha), made by ImageMagick from the
// sample files into the working directory.
TEST_F(ImageSampleFilesAgainstReference, FilesMadeByImageMagickEqualTheReferenceDecoder)
{
    struct Made
    {
        const char* source;
        const char* options;
        const char* target;
        int tolerance;
        double meanTolerance;
    };
    const Made made[] = {
        {"jpeg/testorig.jpg", "-interlace JPEG", "progressive.jpg", 48, 1.5},
        {"png/basn3p08.png", "", "palette.gif", 0, 0.0},
        {"png/basn2c08.png", "", "BMP3:rgb.bmp", 0, 0.0},
        {"png/basn6a08.png", "", "rgba.bmp", 0, 0.0},
    };
    for (const Made& m : made)
    {
        const std::string source = std::string(QV_SAMPLE_DATA_DIR) + "/" + m.source;
        if (!fs::exists(source))
            continue;
        std::string target = m.target;
        const std::size_t colon = target.find(':');
        const std::string file = "loaders-test-" + target.substr(colon + 1);
        target = (colon == std::string::npos ? "" : target.substr(0, colon + 1)) + file;
        const std::string command =
            "convert '" + source + "' " + m.options + " '" + target + "' 2>/dev/null";
        ASSERT_EQ(0, std::system(command.c_str())) << command;
        ExpectAsReference(file, m.tolerance, m.meanTolerance);
        std::remove(file.c_str());
    }
}

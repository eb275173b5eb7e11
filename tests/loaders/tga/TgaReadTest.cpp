// Reading TGA files written by the tests: what is refused and with which message on standard
// output, how the four origins arrive, and what a load asks of memory. The loader runs in this
// process (the module's code, linked in), so its messages and allocations can be watched.
#include "loaders/tga/QVTgaLoader.h"
#include "loaders/tga/TgaReader.h"

#include "AllocationWatch.h"
#include "TgaTestSupport.h"

#include <gtest/gtest.h>

namespace
{
// One image for the whole suite: each image scans for its loader modules when it is made.
QVImage& Image()
{
    static QVImage image;
    return image;
}

QVTgaLoader& Loader()
{
    static QVTgaLoader loader;
    return loader;
}

struct Outcome
{
    bool loaded;
    std::string output;
    std::size_t largestRequest;
};

// Loads name into the marked shared image, watching standard output and memory requests.
Outcome LoadFile(const char* name)
{
    MarkImage(Image());
    Outcome outcome{};
    outcome.output = StandardOutputOf(
        [&]
        {
            AllocationWatch watch(1);
            outcome.loaded = Loader().Load(&Image().GetLoaders(), name);
            outcome.largestRequest = watch.Largest();
        });
    return outcome;
}

std::string DataSizeLine(long long bytes)
{
    return "DataSize in bytes: " + std::to_string(bytes) +
           ", in Kbytes: " + std::to_string(bytes / 1024) + "\n";
}

TgaSpec Spec(int width, int height, int depth, int descriptor, std::string pixels)
{
    TgaSpec spec;
    spec.width = width;
    spec.height = height;
    spec.depth = depth;
    spec.descriptor = descriptor;
    spec.pixels = std::move(pixels);
    return spec;
}

struct Refusal
{
    const char* name;
    std::string bytes;
    std::string output;
};

std::vector<Refusal> Refusals()
{
    const std::string twelve(12, '\x11');
    std::vector<Refusal> cases;
    const auto add = [&](const char* name, const TgaSpec& spec, const std::string& output) {
        cases.push_back({name, TgaBytes(spec), output});
    };

    cases.push_back({"empty file", "", "Read Footer Failed.\n"});
    cases.push_back({"17 bytes", std::string(17, '\0'), "Read Footer Failed.\n"});
    cases.push_back(
        {"25 bytes", TgaBytes(Spec(2, 2, 24, 0, twelve)).substr(0, 25), "Read Footer Failed.\n"});

    TgaSpec spec = Spec(2, 2, 24, 0, twelve);
    spec.imageType = 10;
    add("run-length encoded", spec, "Image type [10] not supported.\n");
    spec.imageType = 1;
    add("colour-mapped", spec, "Image type [1] not supported.\n");
    spec.imageType = 3;
    add("grey", spec, "Image type [3] not supported.\n");

    add("16 bits", Spec(2, 2, 16, 1, std::string(8, '\x11')),
        "Image Pixel Depth [16] not supported.\n");
    add("0 bits", Spec(2, 2, 0, 0, ""), "Image Pixel Depth [0] not supported.\n");
    add("width 0", Spec(0, 2, 24, 0, ""), "Image size [0x2] not supported.\n");
    add("height 0", Spec(3, 0, 24, 0, ""), "Image size [3x0] not supported.\n");
    add("32 bits without alpha bits", Spec(2, 2, 32, 0x00, std::string(16, '\x11')),
        "Alpha Channel bits [0] not supported.\n");
    add("32 bits with 4 alpha bits", Spec(2, 2, 32, 0x24, std::string(16, '\x11')),
        "Alpha Channel bits [4] not supported.\n");

    // Checked after the data-size line.
    spec = Spec(2, 2, 24, 0, twelve);
    spec.colourMapType = 1;
    spec.colourMapLength = 2;
    add("colour map length", spec, DataSizeLine(12) + "There shouldn't be a colormap here!!!\n");

    spec = Spec(2, 2, 24, 0, twelve);
    spec.idLength = 200;
    add("image ID beyond the end", spec, DataSizeLine(12) + "Error reading Image ID.\n");

    spec = Spec(2, 2, 24, 0, twelve.substr(0, 11));
    spec.footer = false;
    add("pixel data one byte short", spec, DataSizeLine(12) + "Error Reading Image Data.\n");

    // The ID's bytes are not pixel data: 4 + 10 bytes hold no 12-byte picture.
    spec = Spec(2, 2, 24, 0, twelve.substr(0, 10));
    spec.imageId = "name";
    spec.footer = false;
    add("pixel data short after an image ID", spec,
        DataSizeLine(12) + "Image ID: name\nError Reading Image Data.\n");

    // Headers promising more than any file here holds, or than an image can hold: refused
    // before anything of that size is allocated (the largest request is checked below).
    add("65535 x 65535 x 32", Spec(65535, 65535, 32, 8, twelve),
        DataSizeLine(17179344900LL) + "Error Reading Image Data.\n");
    add("65535 x 65535 x 24", Spec(65535, 65535, 24, 0, twelve),
        DataSizeLine(12884508675LL) + "Error Reading Image Data.\n");
    add("65535 x 65535 x 8", Spec(65535, 65535, 8, 0, twelve),
        DataSizeLine(4294836225LL) + "Error Reading Image Data.\n");
    add("16384 x 16384 x 32", Spec(16384, 16384, 32, 8, twelve),
        DataSizeLine(1073741824LL) + "Error Reading Image Data.\n");
    return cases;
}
}  // namespace

TEST(TgaRead, RefusalsPrintTheirMessageAndLeaveTheImageAlone)
{
    for (const Refusal& refusal : Refusals())
    {
        SCOPED_TRACE(refusal.name);
        ScratchFile file("refused.tga", refusal.bytes);
        const Outcome outcome = LoadFile(file.Name());
        EXPECT_FALSE(outcome.loaded);
        EXPECT_EQ(refusal.output, outcome.output);
        ExpectMarked(Image());
        EXPECT_LT(outcome.largestRequest, 4096u);
    }
}

TEST(TgaRead, AMissingFileIsNotOpened)
{
    ScratchFile missing("missing.tga");
    const Outcome outcome = LoadFile(missing.Name());
    EXPECT_FALSE(outcome.loaded);
    EXPECT_EQ("File not opened.\n", outcome.output);
    ExpectMarked(Image());
}

TEST(TgaRead, EveryOriginArrivesRowsBottomUpLeftToRight)
{
    // An odd width, so that a mirrored row cannot look like itself.
    for (const int depth : {8, 24, 32})
    {
        for (int origin = 0; origin < 4; ++origin)
        {
            SCOPED_TRACE("depth " + std::to_string(depth) + ", origin " + std::to_string(origin));
            const Picture picture(3, 2, depth / 8);
            const int descriptor = (origin << 4) | (depth == 32 ? 8 : 0);
            ScratchFile file("origin.tga",
                             TgaBytes(Spec(3, 2, depth, descriptor, picture.StoredFrom(origin))));
            const Outcome outcome = LoadFile(file.Name());
            ASSERT_TRUE(outcome.loaded);
            EXPECT_EQ(DataSizeLine(6 * depth / 8), outcome.output);
            EXPECT_EQ(3, Image().GetWidth());
            EXPECT_EQ(2, Image().GetHeight());
            EXPECT_EQ(depth, Image().GetBitsPerPixel());
            EXPECT_EQ(picture.bytes, PixelsOf(Image()));
        }
    }
}

TEST(TgaRead, TopLeftFileEqualsTheBottomLeftOneAndRightToLeftMirrorsEachRow)
{
    const std::string rows = "\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C";
    ScratchFile bottomLeft("bottom-left.tga", TgaBytes(Spec(2, 2, 24, 0x00, rows)));
    ASSERT_TRUE(LoadFile(bottomLeft.Name()).loaded);
    EXPECT_EQ(rows, PixelsOf(Image()));  // unchanged: no channel swap

    ScratchFile topLeft("top-left.tga", TgaBytes(Spec(2, 2, 24, 0x20, rows)));
    ASSERT_TRUE(LoadFile(topLeft.Name()).loaded);
    EXPECT_EQ(rows.substr(6) + rows.substr(0, 6), PixelsOf(Image()));

    ScratchFile mirrored("right-to-left.tga", TgaBytes(Spec(2, 2, 24, 0x10, rows)));
    ASSERT_TRUE(LoadFile(mirrored.Name()).loaded);
    EXPECT_EQ("\x04\x05\x06\x01\x02\x03\x0A\x0B\x0C\x07\x08\x09", PixelsOf(Image()));
}

TEST(TgaRead, TheVersionFollowsTheFooterSignatureAndBothLoadAlike)
{
    const std::string rows = "abcdefghijkl";
    for (const bool footer : {true, false})
    {
        TgaSpec spec = Spec(2, 2, 24, 0, rows);
        spec.footer = footer;
        ScratchFile file("version.tga", TgaBytes(spec));
        tga::ImageRecord record;
        testing::internal::CaptureStdout();
        const bool read = tga::ReadFile(file.Text(), record);
        testing::internal::GetCapturedStdout();
        ASSERT_TRUE(read);
        EXPECT_EQ(footer ? 2 : 1, record.version);
        EXPECT_EQ(12u, record.dataSize);
        EXPECT_EQ(rows, std::string(reinterpret_cast<const char*>(record.pixels.get()), 12));
    }
}

TEST(TgaRead, TheImageIdIsPrintedAndSkipped)
{
    struct Case
    {
        std::string id;
        std::string printed;
    } cases[] = {
        {"hello", "Image ID: hello\n"},
        {std::string("ab\0cd", 5), "Image ID: ab\n"},  // a zero byte ends the text
        {std::string(255, 'x'), "Image ID: " + std::string(255, 'x') + "\n"},
        // Bytes outside printable ASCII are escaped: no control sequence from a file reaches
        // the terminal (ESC, an OSC title change ended by BEL, line ends, high bytes).
        {"\x1b[2J\x1b]0;owned\x07", "Image ID: \\x1b[2J\\x1b]0;owned\\x07\n"},
        {"a\r\nb\t\x7f\x80\xff~ \\", "Image ID: a\\x0d\\x0ab\\x09\\x7f\\x80\\xff~ \\\n"},
    };
    const std::string rows = "abcdefghijkl";
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.printed);
        TgaSpec spec = Spec(2, 2, 24, 0, rows);
        spec.imageId = c.id;
        ScratchFile file("id.tga", TgaBytes(spec));
        const Outcome outcome = LoadFile(file.Name());
        ASSERT_TRUE(outcome.loaded);
        EXPECT_EQ(DataSizeLine(12) + c.printed, outcome.output);
        EXPECT_EQ(rows, PixelsOf(Image()));
    }
}

TEST(TgaRead, BytesAfterThePixelsAreIgnored)
{
    TgaSpec spec = Spec(2, 1, 8, 0, "\x10\x20");
    spec.extra = std::string(495, '\x7F');  // an extension area, say
    ScratchFile file("extra.tga", TgaBytes(spec));
    ASSERT_TRUE(LoadFile(file.Name()).loaded);
    EXPECT_EQ("\x10\x20", PixelsOf(Image()));

    // Without footer, the pixels may reach into the last 26 bytes.
    spec = Spec(3, 3, 24, 0, std::string(27, '\x33'));
    spec.footer = false;
    ScratchFile bare("bare.tga", TgaBytes(spec));
    ASSERT_TRUE(LoadFile(bare.Name()).loaded);
    EXPECT_EQ(std::string(27, '\x33'), PixelsOf(Image()));
}

TEST(TgaRead, WideFileNamesLoadToo)
{
    ScratchFile file("wide.tga", TgaBytes(Spec(1, 1, 8, 0, "\x42")));
    MarkImage(Image());
    testing::internal::CaptureStdout();
    const bool loaded =
        Loader().Load(&Image().GetLoaders(), Units(u"loaders-test-wide.tga").data());
    testing::internal::GetCapturedStdout();
    ASSERT_TRUE(loaded);
    EXPECT_EQ("\x42", PixelsOf(Image()));
}

TEST(TgaReadMemory, ThePixelsAreHeldTwiceAtMostAndReadOnce)
{
    // 256 x 256 x 32, top-right: the reorder that touches every pixel.
    const Picture picture(256, 256, 4);
    const std::size_t dataSize = picture.bytes.size();
    ScratchFile file("peak.tga", TgaBytes(Spec(256, 256, 32, 0x38, picture.StoredFrom(3))));
    MarkImage(Image());
    bool loaded = false;
    int large = 0;
    std::size_t largest = 0;
    StandardOutputOf(
        [&]
        {
            AllocationWatch watch(dataSize);
            loaded = Loader().Load(&Image().GetLoaders(), file.Name());
            large = watch.LargeCount();
            largest = watch.Largest();
        });
    ASSERT_TRUE(loaded);
    EXPECT_EQ(picture.bytes, PixelsOf(Image()));
    // The working buffer and the image's own buffer; nothing larger.
    EXPECT_EQ(2, large);
    EXPECT_EQ(dataSize, largest);
}

TEST(TgaReadMemory, WithoutMemoryForThePixelsTheLoadFails)
{
    const Picture picture(64, 64, 4);
    ScratchFile file("short-memory.tga", TgaBytes(Spec(64, 64, 32, 8, picture.bytes)));

    // No working buffer: refused like unreadable data, the image unchanged.
    MarkImage(Image());
    bool loaded = true;
    std::string output = StandardOutputOf(
        [&]
        {
            AllocationWatch watch(picture.bytes.size(), 0);
            loaded = Loader().Load(&Image().GetLoaders(), file.Name());
        });
    EXPECT_FALSE(loaded);
    EXPECT_EQ(DataSizeLine(16384) + "Error Reading Image Data.\n", output);
    ExpectMarked(Image());

    // The file was read but the image cannot take the pixels: it is left empty.
    MarkImage(Image());
    output = StandardOutputOf(
        [&]
        {
            AllocationWatch watch(picture.bytes.size(), 1);
            loaded = Loader().Load(&Image().GetLoaders(), file.Name());
        });
    EXPECT_FALSE(loaded);
    EXPECT_EQ(DataSizeLine(16384), output);
    EXPECT_EQ(0, Image().GetWidth());
    EXPECT_EQ(0, Image().GetHeight());
    EXPECT_EQ(nullptr, Image().GetPixels());
    EXPECT_EQ(0, Image().GetByteSize());
}

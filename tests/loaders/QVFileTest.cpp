// The file object: opening by narrow and wide names, sizes, whole-file reads with their
// byte-order-mark rules, piecewise reads and the written form of texts.
#include "loaders/QVFile.h"

#include "LoaderTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace
{
std::string Bytes(std::initializer_list<int> values)
{
    std::string bytes;
    for (int v : values)
    {
        bytes += static_cast<char>(v);
    }
    return bytes;
}

// ReadAll of a file holding bytes; the text and the count returned.
struct ReadResult
{
    int count;
    QVString text;
};

ReadResult ReadWhole(const std::string& bytes)
{
    ScratchFile file("readall.bin", bytes);
    QVFile reader;
    EXPECT_TRUE(reader.Open(file.Name(), "rb"));
    ReadResult result{0, QVString()};
    result.count = reader.ReadAll(result.text);
    return result;
}
}  // namespace

TEST(QVFileOpen, NarrowAndWideNamesOpenTheFileAndLearnItsSize)
{
    ScratchFile file("open.bin", "0123456789");
    QVFile narrow;
    ASSERT_TRUE(narrow.Open(file.Name(), "rb"));
    EXPECT_EQ(32769, narrow.GetClassId());
    EXPECT_EQ(10, narrow.GetSize());
    EXPECT_EQ(0, narrow.GetPosition());

    QVFile wide;
    const std::u16string name(u"loaders-test-open.bin");
    ASSERT_TRUE(wide.Open(Units(name.c_str()).data(), "rb"));
    EXPECT_EQ(10, wide.GetSize());

    QVFile text;
    ASSERT_TRUE(text.Open(WideText(name.c_str()), "rb"));
    EXPECT_EQ(10, text.GetSize());
}

TEST(QVFileOpen, NonAsciiWideNameNamesTheSameFileAsTheSystemDoes)
{
    const char16_t name[] = u"loaders-test-\u00e9t\u00e9-\u03a9-\U0001F600.txt";
    const std::filesystem::path path(std::u16string{name});
    {
        QVFile out;
        ASSERT_TRUE(out.Open(Units(name).data(), "wb"));
        EXPECT_EQ(3, out.WriteString(QVString("ab")));
        EXPECT_TRUE(out.Close());
    }
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(3u, std::filesystem::file_size(path));
    QVFile in;
    EXPECT_TRUE(in.Open(WideText(name), "rb"));
    EXPECT_EQ(3, in.GetSize());
    in.Close();
    std::filesystem::remove(path);
}

TEST(QVFileOpen, MissingFilesDirectoriesAndNullArgumentsFail)
{
    QVFile file;
    EXPECT_FALSE(file.Open("loaders-test-does-not-exist.bin", "rb"));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_FALSE(file.Open(".", "rb"));
    EXPECT_FALSE(file.Open(Units(u".").data(), "rb"));
    EXPECT_FALSE(file.Open(static_cast<const char*>(nullptr), "rb"));
    EXPECT_FALSE(file.Open(static_cast<const unsigned short*>(nullptr), "rb"));
    ScratchFile present("present.bin", "x");
    EXPECT_FALSE(file.Open(present.Name(), nullptr));
    EXPECT_FALSE(file.Close());
}

TEST(QVFileOpen, OpeningAgainClosesTheFirstFileAndCloseResets)
{
    ScratchFile first("first.bin", "12345");
    ScratchFile second("second.bin", "12");
    QVFile file;
    ASSERT_TRUE(file.Open(first.Name(), "rb"));
    ASSERT_TRUE(file.Open(second.Name(), "rb"));
    EXPECT_EQ(2, file.GetSize());
    EXPECT_TRUE(file.Close());
    EXPECT_EQ(0, file.GetSize());
    EXPECT_EQ(0, file.GetPosition());
    EXPECT_FALSE(file.Close());
}

TEST(QVFileReadAll, WithoutMarkTheBytesBecomeAnEightBitText)
{
    const ReadResult plain = ReadWhole("key=value\r\n\xE9");
    EXPECT_EQ(12, plain.count);
    EXPECT_EQ(QVString::Narrow, plain.text.GetEncoding());
    EXPECT_EQ("key=value\r\n\xE9", Narrow(plain.text));

    // Near misses of a mark are text.
    for (const std::string& bytes : {Bytes({0xEF, 0xBB}), Bytes({0xFF}), Bytes({0x00, 0x00, 0xFE}),
                                     Bytes({0xFE, 0xFE, 'a'}), Bytes({0xEF, 0xBB, 0xBE, 'a'})})
    {
        const ReadResult result = ReadWhole(bytes);
        EXPECT_EQ(static_cast<int>(bytes.size()), result.count);
        EXPECT_EQ(QVString::Narrow, result.text.GetEncoding());
    }
}

TEST(QVFileReadAll, MarksChooseTheWidthAndTheByteOrder)
{
    struct Case
    {
        const char* what;
        std::string bytes;
        short encoding;
        int count;  // bytes after the mark
        std::u16string text;
    };
    const Case cases[] = {
        {"FF FE: little-endian units", Bytes({0xFF, 0xFE, 'a', 0, 0xA9, 0x03}), QVString::Wide, 4,
         u"a\u03a9"},
        {"FE FF: big-endian units", Bytes({0xFE, 0xFF, 0, 'a', 0x03, 0xA9, 0x4E, 0x00}),
         QVString::Wide, 6, u"a\u03a9\u4e00"},
        {"EF BB BF: the rest is 8-bit text", Bytes({0xEF, 0xBB, 0xBF, 'a', '=', 0xC3, 0xA9}),
         QVString::Narrow, 4, u"a=\u00c3\u00a9"},
        {"EF BB BF alone", Bytes({0xEF, 0xBB, 0xBF}), QVString::Narrow, 0, u""},
        {"FE FF with an odd last byte: its high byte", Bytes({0xFE, 0xFF, 0, 'a', 'b'}),
         QVString::Wide, 3, u"a\u6200"},
        {"00 00 FE FF: units as they are", Bytes({0, 0, 0xFE, 0xFF, 'x', 0}), QVString::Wide, 2,
         u"x"},
    };
    for (const Case& c : cases)
    {
        const ReadResult result = ReadWhole(c.bytes);
        EXPECT_EQ(c.count, result.count) << c.what;
        EXPECT_EQ(c.encoding, result.text.GetEncoding()) << c.what;
        EXPECT_EQ(c.text, UnitsOf(result.text)) << c.what;
    }
}

TEST(QVFileReadAll, BoundaryLengths)
{
    const ReadResult empty = ReadWhole("");
    EXPECT_EQ(0, empty.count);
    EXPECT_EQ(0, empty.text.GetLength());
    EXPECT_EQ(QVString::Narrow, empty.text.GetEncoding());

    const ReadResult onlyMark = ReadWhole(Bytes({0xFF, 0xFE}));
    EXPECT_EQ(0, onlyMark.count);
    EXPECT_EQ(QVString::Wide, onlyMark.text.GetEncoding());
    EXPECT_EQ(0, onlyMark.text.GetLength());

    // An odd byte at the end becomes a unit of its own with a zero high byte.
    const ReadResult odd = ReadWhole(Bytes({0xFF, 0xFE, 'a', 0, 'b'}));
    EXPECT_EQ(3, odd.count);
    EXPECT_EQ(u"ab", UnitsOf(odd.text));
}

TEST(QVFileReadAll, TheTextEndsAtTheFirstZeroCharacter)
{
    const ReadResult narrow = ReadWhole(std::string("ab\0cd", 5));
    EXPECT_EQ(5, narrow.count);
    EXPECT_EQ("ab", Narrow(narrow.text));
    const ReadResult wide = ReadWhole(Bytes({0xFF, 0xFE, 'a', 0, 0, 0, 'b', 0}));
    EXPECT_EQ(u"a", UnitsOf(wide.text));
}

TEST(QVFileReadAll, FailsWithoutAnOpenFile)
{
    QVFile file;
    QVString text("kept");
    EXPECT_EQ(-1, file.ReadAll(text));
    EXPECT_EQ("kept", Narrow(text));
}

TEST(QVFileRead, ReadsCountsOrTheRestAndAdvances)
{
    ScratchFile source("read.bin", "abcdefgh");
    QVFile file;
    ASSERT_TRUE(file.Open(source.Name(), "rb"));
    char buffer[16] = {};
    EXPECT_EQ(3, file.Read(buffer, 3));
    EXPECT_EQ("abc", std::string(buffer, 3));
    EXPECT_EQ(3, file.GetPosition());
    EXPECT_EQ(5, file.Read(buffer, 0));
    EXPECT_EQ("defgh", std::string(buffer, 5));
    EXPECT_EQ(8, file.GetPosition());
    EXPECT_EQ(0, file.Read(buffer, 0));
    EXPECT_EQ(0, file.Read(buffer, 4));
    EXPECT_EQ(0, file.Read(buffer, -1));
    file.Close();
    EXPECT_EQ(0, file.Read(buffer, 1));
}

TEST(QVFileWriteString, WritesTheCharactersAndAZeroCharacter)
{
    ScratchFile target("write.bin");
    {
        QVFile file;
        ASSERT_TRUE(file.Open(target.Name(), "wb"));
        EXPECT_EQ(4, file.WriteString(QVString("a=b")));
        EXPECT_TRUE(file.Close());
    }
    EXPECT_EQ(std::string("a=b\0", 4), target.Bytes());
    {
        QVFile file;
        ASSERT_TRUE(file.Open(target.Name(), "wb"));
        EXPECT_EQ(6, file.WriteString(WideText(u"a\u03a9")));
        EXPECT_EQ(1, file.WriteString(QVString()));
        EXPECT_TRUE(file.Close());
    }
    EXPECT_EQ(Bytes({0xFF, 0xFE, 'a', 0, 0xA9, 0x03, 0, 0, 0}), target.Bytes());

    QVFile closed;
    EXPECT_EQ(-1, closed.WriteString(QVString("x")));
}

TEST(QVFileWriteString, ALongSixteenBitTextSurvivesTheRoundTrip)
{
    ScratchFile target("long.bin");
    QVString text(0, QVString::Wide);
    for (int i = 0; i < 5000; ++i)
    {
        text.AppendWideChar(static_cast<unsigned short>(0x100 + i));
    }
    {
        QVFile file;
        ASSERT_TRUE(file.Open(target.Name(), "wb"));
        EXPECT_EQ(10002, file.WriteString(text));
    }
    QVFile file;
    ASSERT_TRUE(file.Open(target.Name(), "rb"));
    QVString back;
    EXPECT_EQ(10002, file.ReadAll(back));
    EXPECT_TRUE(back.Equals(text));
}

#include "core/string/QVString.h"
#include "tests/core/QVTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace
{
// 16-bit text from an 8-bit literal (each byte zero-extended), for building wide strings.
std::u16string Wide(const char* text)
{
    std::u16string out;
    for (; *text != '\0'; ++text)
    {
        out.push_back(static_cast<char16_t>(static_cast<unsigned char>(*text)));
    }
    return out;
}

const unsigned short* Units(const std::u16string& text)
{
    return reinterpret_cast<const unsigned short*>(text.c_str());
}

std::string Narrow(const QVString& s)
{
    return s.GetBuffer() == nullptr
               ? std::string()
               : std::string(s.GetBuffer(), static_cast<std::size_t>(s.GetLength()));
}

std::u16string WideOf(const QVString& s)
{
    std::u16string out;
    for (int i = 0; i < s.GetLength(); ++i)
    {
        out.push_back(static_cast<char16_t>(s.GetWideBuffer()[i]));
    }
    return out;
}
}  // namespace

// --- valid ---

TEST(QVStringTest, EqualsAcrossEncodingsIsCaseSensitive)
{
    const std::u16string abc = Wide("abc");
    EXPECT_TRUE(QVString("abc").Equals(QVString(Units(abc))));
    EXPECT_FALSE(QVString("abc").Equals(QVString("ABC")));
    EXPECT_FALSE(QVString("abc").Equals(QVString("abcd")));
}

TEST(QVStringTest, ConversionsSignExtendButAppendingZeroExtends)
{
    QVString narrow("\xE9");
    EXPECT_EQ(0xFFE9, narrow.GetCharAt(0));
    EXPECT_TRUE(narrow.SetEncoding(QVString::Wide));
    EXPECT_EQ(0xFFE9, narrow.GetWideBuffer()[0]);

    QVString wide(Units(Wide("a")));
    wide.Append("\xE9");  // an 8-bit byte appended to 16-bit text gets a zero high byte
    EXPECT_EQ(0x00E9, wide.GetCharAt(1));
    EXPECT_FALSE(wide.Equals(QVString("a\xE9")));

    wide.AppendWideChar(0x1234);
    wide.SetEncoding(QVString::Narrow);  // 16 to 8 bit keeps the low byte
    EXPECT_EQ(std::string("a\xE9\x34"), Narrow(wide));
}

TEST(QVStringTest, MixedAppendsFollowTheReceiversEncoding)
{
    QVString narrow("x");
    const unsigned short unit[] = {0x141, 0};
    narrow.Append(unit);
    narrow.Append(QVString(Units(Wide("yz"))));
    EXPECT_EQ(std::string("xAyz"), Narrow(narrow));

    QVString wide(Units(Wide("x")));
    wide.Append(QVString("yz"));
    wide.AppendChar('!');
    EXPECT_EQ(Wide("xyz!"), WideOf(wide));
    EXPECT_EQ(0, wide.GetCharAt(4));
}

TEST(QVStringTest, CharacterPlusStringKeepsTheStringsEncoding)
{
    const QVString narrow = 'x' + QVString("yz");
    EXPECT_EQ(std::string("xyz"), Narrow(narrow));
    const QVString wide = 'x' + QVString(Units(Wide("yz")));
    EXPECT_EQ(QVString::Wide, wide.GetEncoding());
    EXPECT_EQ(Wide("xyz"), WideOf(wide));
}

TEST(QVStringTest, FindForwardsBetweenWidths)
{
    const QVString wide(Units(Wide("abcb")));
    EXPECT_EQ(1, wide.Find('b'));
    EXPECT_EQ(3, wide.Find('b', 2));
    EXPECT_EQ(-1, wide.Find('z'));
    const QVString narrow("abcb");
    EXPECT_EQ(2, narrow.FindWide(0x63));
    EXPECT_EQ(-1, narrow.FindWide(0x62, 4));
}

TEST(QVStringTest, FindLastSkipsPositionZero)
{
    EXPECT_EQ(4, QVString("name.tga").FindLast('.', -1));
    EXPECT_EQ(3, QVString("a.b.").FindLast('.', 0));   // 0 starts at the last character
    EXPECT_EQ(1, QVString("a.b.").FindLast('.', -1));  // -1 starts one before it
    EXPECT_EQ(-1, QVString(".tga").FindLast('.', 0));
    EXPECT_EQ(1, QVString("a.b.").FindLast('.', 2));
}

TEST(QVStringTest, FindTextFindsOverlappingStarts)
{
    // A restart two places after a partial match would miss these.
    EXPECT_EQ(1, QVString("aab").FindText("ab", 0));
    EXPECT_EQ(3, QVString("abcabd").FindText("abd", 0));
    EXPECT_EQ(2, QVString("ababac").FindText("abac", 0));
    EXPECT_EQ(-1, QVString("abcab").FindText("abc", 1));
    EXPECT_EQ(3, QVString(Units(Wide("xx.tga"))).FindText("tga", 0));
}

TEST(QVStringTest, FindTextOfOneCharacterMatchesFind)
{
    const QVString s("banana");
    for (int start = -1; start <= 7; ++start)
    {
        EXPECT_EQ(s.Find('n', start), s.FindText("n", start)) << "start " << start;
    }
}

TEST(QVStringTest, MidCopiesARangeWithNegativeEnd)
{
    const QVString s("hello world");
    QVString out("stale");
    EXPECT_EQ(5, s.Mid(out, 6, 0));  // 0 means up to the end
    EXPECT_EQ(std::string("world"), Narrow(out));
    EXPECT_EQ(5, s.Mid(out, 0, -6));
    EXPECT_EQ(std::string("hello"), Narrow(out));
    EXPECT_EQ(5, s.Mid(out, 6, 100));  // clamped
    EXPECT_EQ(std::string("world"), Narrow(out));

    QVString wideOut("stale");
    EXPECT_EQ(2, QVString(Units(Wide("abcd"))).Mid(wideOut, 1, 3));
    EXPECT_EQ(Wide("bc"), WideOf(wideOut));
}

TEST(QVStringTest, GetFieldSplitsOnTheSeparator)
{
    const QVString s("a b c");
    QVString field;
    EXPECT_EQ(1, s.GetField(field, 1, ' '));
    EXPECT_EQ(std::string("b"), Narrow(field));
    EXPECT_EQ(1, s.GetField(field, 2, ' '));
    EXPECT_EQ(std::string("c"), Narrow(field));
    EXPECT_EQ(5, QVString("key=value=x").GetField(field, 1, '='));
    EXPECT_EQ(std::string("value"), Narrow(field));

    const QVString wide(Units(Wide("k;vv")));
    EXPECT_EQ(2, wide.GetField(field, 1, ';'));
    EXPECT_EQ(QVString::Wide, field.GetEncoding());
    EXPECT_EQ(Wide("vv"), WideOf(field));
}

TEST(QVStringTest, ToLowerChangesOnlyCapitals)
{
    QVString s("@AZ[az\xC9");
    s.ToLower();
    EXPECT_EQ(std::string("@az[az\xC9"), Narrow(s));
}

TEST(QVStringTest, SetHexWritesTheLowestDigits)
{
    QVString s("old");
    s.SetHex(0x1A2B, 4);
    EXPECT_EQ(std::string("1A2B"), Narrow(s));
    s.SetHex(0xAB, 4);
    EXPECT_EQ(std::string("00AB"), Narrow(s));
    s.SetHex(-1, 2);
    EXPECT_EQ(std::string("FF"), Narrow(s));
    s.SetHex(-1, 10);
    EXPECT_EQ(std::string("00FFFFFFFF"), Narrow(s));
}

TEST(QVStringTest, SyncLengthReadsWhatWasWrittenDirectly)
{
    QVString s(32, QVString::Narrow);
    std::strcpy(s.GetBuffer(), "written");
    s.SyncLength();
    EXPECT_EQ(7, s.GetLength());

    std::memset(s.GetBuffer(), 'x', static_cast<std::size_t>(s.GetCapacity()));
    s.SyncLength();  // no terminator anywhere: treated as empty
    EXPECT_EQ(0, s.GetLength());
    EXPECT_EQ(0, s.GetCharAt(0));
}

// --- boundary ---

TEST(QVStringTest, GetCharAtAcceptsTheTerminatorOnly)
{
    const QVString s("abc");
    EXPECT_EQ(0, s.GetCharAt(3));
    EXPECT_QV_THROW(s.GetCharAt(4), "Exception in GetCharAt of QVString:index out of bounds");
    EXPECT_QV_THROW(s.GetCharAt(-1), "Exception in GetCharAt of QVString:index out of bounds");
}

TEST(QVStringTest, GrowthDoublesFromSixteenBytes)
{
    QVString s(16, QVString::Narrow);
    s.Append(std::string(15, 'a').c_str());
    EXPECT_EQ(16, s.GetCapacity());  // 15 characters and the terminator fit exactly
    s.AppendChar('a');
    EXPECT_EQ(32, s.GetCapacity());

    QVString big(16, QVString::Narrow);
    big.Append(std::string(200, 'b').c_str());
    EXPECT_EQ(256, big.GetCapacity());
    EXPECT_EQ(200, big.GetLength());
    EXPECT_EQ(0, big.GetCharAt(200));

    QVString wide(16, QVString::Wide);
    EXPECT_EQ(32, wide.GetCapacity());
    const std::u16string units(200, u'w');
    wide.Append(Units(units));
    EXPECT_EQ(512, wide.GetCapacity());
    EXPECT_EQ(0, wide.GetWideBuffer()[200]);
}

TEST(QVStringTest, WideningAnOddSizedBufferKeepsRoomForTheTerminator)
{
    QVString s(5, QVString::Narrow);
    s.Assign(Units(Wide("ab")));  // 4 bytes of text and 2 of terminator do not fit in 5
    EXPECT_GE(s.GetCapacity(), 6);
    EXPECT_EQ(Wide("ab"), WideOf(s));
    EXPECT_EQ(0, s.GetWideBuffer()[2]);
}

TEST(QVStringTest, CopyingFromItselfIsSafe)
{
    QVString s("abc");
    s.Append(s);
    EXPECT_EQ(std::string("abcabc"), Narrow(s));
    s.Assign(s.GetBuffer() + 1);
    EXPECT_EQ(std::string("bcabc"), Narrow(s));
    s.Append(std::string(40, 'z').c_str());
    s.Append(s.GetBuffer());  // forces growth while reading from the old buffer
    EXPECT_EQ(90, s.GetLength());
    EXPECT_EQ(2, s.Mid(s, 1, 3));
    EXPECT_EQ(std::string("ca"), Narrow(s));
}

// --- empty ---

TEST(QVStringTest, NullTextsLeaveTheStringAsItWas)
{
    QVString s("keep");
    s.Assign(static_cast<const char*>(nullptr));
    s.Assign(static_cast<const unsigned short*>(nullptr));
    s.Append(static_cast<const char*>(nullptr));
    EXPECT_EQ(std::string("keep"), Narrow(s));
    EXPECT_EQ(QVString::Narrow, s.GetEncoding());
}

TEST(QVStringTest, StringWithoutBufferBehavesEmpty)
{
    QVString s(0, QVString::Narrow);
    EXPECT_EQ(nullptr, s.GetBuffer());
    EXPECT_EQ(0, s.GetCharAt(0));
    EXPECT_EQ(-1, s.Find('a'));
    EXPECT_TRUE(s.Equals(QVString(Units(Wide("")))));
    s.Append("grown");
    EXPECT_EQ(16, s.GetCapacity());
    EXPECT_EQ(std::string("grown"), Narrow(s));
}

TEST(QVStringTest, EmptyResultsOfSearchesAndRanges)
{
    const QVString s("abcd");
    QVString out("stale");
    EXPECT_EQ(0, s.Mid(out, 2, 2));
    EXPECT_EQ(0, out.GetLength());
    EXPECT_EQ(-1, s.Mid(out, 3, 1));
    EXPECT_EQ(0, s.GetField(out, 0, ' '));  // no separator: no field
    EXPECT_EQ(0, out.GetLength());
    EXPECT_EQ(0, QVString("a b").GetField(out, 5, ' '));
    EXPECT_EQ(4, s.FindText("", 4));
    EXPECT_EQ(-1, s.FindText("", 5));
    EXPECT_EQ(-1, s.FindText("abcde", 0));
    EXPECT_EQ(-1, s.FindText(nullptr, 0));
}

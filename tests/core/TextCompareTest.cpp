#include "core/string/TextCompare.h"

#include <gtest/gtest.h>

namespace
{
const unsigned short kAbc[] = {'a', 'b', 'c', 0};
const unsigned short kAbd[] = {'a', 'b', 'd', 0};
}  // namespace

// --- valid ---

TEST(TextCompareTest, FirstDifferenceGivesSignedPosition)
{
    EXPECT_EQ(0, CompareText("Image Loader", "Image Loader"));
    EXPECT_EQ(-3, CompareText("abc", "abd"));
    EXPECT_EQ(3, CompareText("abd", "abc"));
    EXPECT_EQ(1, CompareText("b", "a"));
    EXPECT_EQ(-1, CompareText("Abc", "abc"));  // case matters
    EXPECT_EQ(-3, CompareText("ab", "abc"));   // the terminator is the smallest character
    EXPECT_EQ(3, CompareWideText(kAbc, "ab"));
}

TEST(TextCompareTest, WideTextAgainstBytes)
{
    EXPECT_EQ(0, CompareWideText(kAbc, "abc"));
    EXPECT_EQ(-3, CompareWideText(kAbc, "abd"));
    const unsigned short high[] = {'a', 0x100, 0};
    EXPECT_EQ(2, CompareWideText(high, "a\x7F"));  // 256 and up rank above every byte
    const unsigned short e9[] = {0xE9, 0};
    EXPECT_EQ(0, CompareWideText(e9, "\xE9"));
}

TEST(TextCompareTest, WideTextAgainstWideIsUnsigned)
{
    EXPECT_EQ(-3, CompareWideText(kAbc, kAbd));
    const unsigned short top[] = {0xFFFF, 0};
    const unsigned short one[] = {0x0001, 0};
    EXPECT_EQ(1, CompareWideText(top, one));
}

// --- boundary ---

TEST(TextCompareTest, BytesAboveSeventyFCompareAsNegative)
{
    EXPECT_EQ(-1, CompareText("\xE9", "a"));
    EXPECT_EQ(-2, CompareText("a\x80", "a"));  // even below the terminator
    const unsigned short e9[] = {0xE9, 0};
    EXPECT_EQ(-1, CompareWideText(e9, "a"));
}

// --- empty / invalid ---

TEST(TextCompareTest, NullCountsAsEmpty)
{
    EXPECT_EQ(0, CompareText(nullptr, ""));
    EXPECT_EQ(-1, CompareText(nullptr, "a"));
    EXPECT_EQ(1, CompareWideText(kAbc, static_cast<const char*>(nullptr)));
    EXPECT_EQ(0, CompareWideText(static_cast<const unsigned short*>(nullptr),
                                 static_cast<const unsigned short*>(nullptr)));
}

// X11 specifics that need no display: key symbols to virtual-key codes, and the text conversions
// between the system's strings, window texts and UTF-8.
// GoogleTest goes first: the X headers define macros (None, Bool) that clash with its names.
#include <gtest/gtest.h>

#include "ui/x11/X11Text.h"
#include "ui/x11/X11VirtualKeys.h"

#include <X11/keysym.h>

namespace
{

TEST(X11VirtualKeys, LettersMapToUpperCaseWhicheverCase)
{
    EXPECT_EQ('A', X11VirtualKeys::FromKeySym(XK_a));
    EXPECT_EQ('Z', X11VirtualKeys::FromKeySym(XK_z));
    EXPECT_EQ('Q', X11VirtualKeys::FromKeySym(XK_Q));
}

TEST(X11VirtualKeys, NamedKeysMapToTheirCodes)
{
    EXPECT_EQ('0', X11VirtualKeys::FromKeySym(XK_0));
    EXPECT_EQ('9', X11VirtualKeys::FromKeySym(XK_9));
    EXPECT_EQ(0x70, X11VirtualKeys::FromKeySym(XK_F1));
    EXPECT_EQ(0x7B, X11VirtualKeys::FromKeySym(XK_F12));
    EXPECT_EQ(0x87, X11VirtualKeys::FromKeySym(XK_F24));
    EXPECT_EQ(0x1B, X11VirtualKeys::FromKeySym(XK_Escape));
    EXPECT_EQ(0x0D, X11VirtualKeys::FromKeySym(XK_Return));
    EXPECT_EQ(0x0D, X11VirtualKeys::FromKeySym(XK_KP_Enter));
    EXPECT_EQ(0x20, X11VirtualKeys::FromKeySym(XK_space));
    EXPECT_EQ(0x25, X11VirtualKeys::FromKeySym(XK_Left));
    EXPECT_EQ(0x26, X11VirtualKeys::FromKeySym(XK_Up));
    EXPECT_EQ(0x27, X11VirtualKeys::FromKeySym(XK_Right));
    EXPECT_EQ(0x28, X11VirtualKeys::FromKeySym(XK_Down));
    EXPECT_EQ(0x60, X11VirtualKeys::FromKeySym(XK_KP_0));
    EXPECT_EQ(0x10, X11VirtualKeys::FromKeySym(XK_Shift_R));
}

TEST(X11VirtualKeys, SymbolsWithoutACodeGiveZero)
{
    EXPECT_EQ(0, X11VirtualKeys::FromKeySym(NoSymbol));
    EXPECT_EQ(0, X11VirtualKeys::FromKeySym(XK_udiaeresis));
    EXPECT_EQ(0, X11VirtualKeys::FromKeySym(0x1000263A));  // a Unicode key symbol
}

TEST(X11Text, NarrowTextIsReadAsLatin1)
{
    QVString text("A\xFC");
    EXPECT_EQ(u"A\u00FC", QVCaptionUnits::Units(text));
    EXPECT_EQ("A\xC3\xBC", X11Text::Utf8(text));
}

TEST(X11Text, WideTextBecomesUtf8IncludingSurrogatePairs)
{
    EXPECT_EQ("\xE2\x98\xBA", X11Text::Utf8(std::u16string(u"\u263A")));
    EXPECT_EQ("\xF0\x9F\x98\x80", X11Text::Utf8(std::u16string(u"\U0001F600")));
    EXPECT_EQ("", X11Text::Utf8(std::u16string()));
}

TEST(X11Text, UnpairedSurrogatesBecomeReplacementCharacters)
{
    std::u16string lone = {0xD83D, 'a', 0xDE00};
    EXPECT_EQ("\xEF\xBF\xBD"
              "a"
              "\xEF\xBF\xBD",
              X11Text::Utf8(lone));
}

TEST(X11Text, StoreKeepsTheCaptionsWidth)
{
    QVString narrow("old text that is longer");
    QVCaptionUnits::Store(u"x\u263Ay", narrow);
    EXPECT_EQ(QVString::Narrow, narrow.GetEncoding());
    EXPECT_STREQ("x?y", narrow.GetBuffer());

    static const unsigned short empty[] = {0};
    QVString wide(empty);
    QVCaptionUnits::Store(u"x\u263Ay", wide);
    ASSERT_EQ(3, wide.GetLength());
    EXPECT_EQ(0x263A, wide.GetCharAt(1));

    QVCaptionUnits::Store(u"", wide);
    EXPECT_EQ(0, wide.GetLength());
}

}  // namespace

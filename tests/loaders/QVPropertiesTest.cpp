// The property set in memory: key hashes, and how Set, Get and Clear treat entries.
#include "loaders/QVProperties.h"

#include "LoaderTestSupport.h"

#include <gtest/gtest.h>

TEST(QVPropertiesHashKey, HexadecimalTextsHashToTheirValue)
{
    EXPECT_EQ(0x10u, QVProperties::HashKey(QVString("10")));
    EXPECT_EQ(0x10u, QVProperties::HashKey(QVString("0x10")));
    EXPECT_EQ(0xABCDEFu, QVProperties::HashKey(QVString("aBcDeF")));
    EXPECT_EQ(0u, QVProperties::HashKey(QVString("0")));
    EXPECT_EQ(0xFFFFFFFFu, QVProperties::HashKey(QVString("0xFFFFFFFF")));
    // Beyond eight digits the first ones are pushed out.
    EXPECT_EQ(0x23456789u, QVProperties::HashKey(QVString("123456789")));
    EXPECT_EQ(0x10u, QVProperties::HashKey(WideText(u"0x10")));
    EXPECT_EQ(0xAu, QVProperties::HashKey(QVString("a")));
}

TEST(QVPropertiesHashKey, OtherTextsUseTheShiftAddXorSteps)
{
    EXPECT_EQ(0u, QVProperties::HashKey(QVString("")));
    EXPECT_EQ(0x116C9Eu, QVProperties::HashKey(QVString("z")));
    EXPECT_EQ(0x77FCE307u, QVProperties::HashKey(QVString("key")));
    EXPECT_EQ(0x77FCE307u, QVProperties::HashKey(WideText(u"key")));
    // "0x" needs a digit after it, "0X" is no prefix, and one stray character spoils the number.
    EXPECT_EQ(0x1B1D2C9Fu, QVProperties::HashKey(QVString("0x")));
    EXPECT_NE(0x10u, QVProperties::HashKey(QVString("0X10")));
    EXPECT_NE(0x10u, QVProperties::HashKey(QVString("10 ")));
    EXPECT_NE(0x10u, QVProperties::HashKey(QVString("0x0x10")));
}

TEST(QVPropertiesHashKey, EightBitCharactersAreSignExtended)
{
    const unsigned short extended[] = {0xFFE9, 0};
    EXPECT_EQ(0x24913E23u, QVProperties::HashKey(QVString("\xE9")));
    EXPECT_EQ(0x24913E23u, QVProperties::HashKey(QVString(extended)));
    EXPECT_EQ(0x20FA55u, QVProperties::HashKey(WideText(u"\u00e9")));
}

TEST(QVPropertiesSet, CreatesOnceThenReplacesTheValue)
{
    QVProperties properties(0);
    EXPECT_EQ(4106, properties.GetClassId());
    EXPECT_EQ(0u, properties.GetCount());
    EXPECT_TRUE(properties.Set(QVString("name"), QVString("first")));
    EXPECT_FALSE(properties.Set(QVString("name"), QVString("second")));
    EXPECT_EQ(1u, properties.GetCount());
    QVString value;
    ASSERT_TRUE(properties.Get(QVString("name"), value));
    EXPECT_EQ("second", Narrow(value));
}

TEST(QVPropertiesSet, KeysWithOneHashAreOneEntryKeepingTheFirstKeyText)
{
    QVProperties properties(0);
    EXPECT_TRUE(properties.Set(QVString("10"), QVString("ten")));
    EXPECT_FALSE(properties.Set(QVString("0x10"), QVString("sixteen")));
    EXPECT_TRUE(properties.Set(QVString(""), QVString("empty")));
    EXPECT_FALSE(properties.Set(QVString("0"), QVString("zero")));
    EXPECT_EQ(2u, properties.GetCount());
    std::vector<std::string> entries;
    properties.ForEachEntry(
        [&](const QVPropertyEntry& entry)
        {
            EXPECT_EQ(4105, entry.GetClassId());
            entries.push_back(Narrow(entry.GetKey()) + "=" + Narrow(entry.GetValue()));
        });
    EXPECT_EQ((std::vector<std::string>{"=zero", "10=sixteen"}), entries);
}

TEST(QVPropertiesGet, KeepsTheValueWidthAndLeavesTheOutputAloneWhenAbsent)
{
    QVProperties properties(0);
    properties.Set(QVString("wide"), WideText(u"\u03a9"));
    QVString value("before");
    EXPECT_FALSE(properties.Get(QVString("absent"), value));
    EXPECT_EQ("before", Narrow(value));
    ASSERT_TRUE(properties.Get(WideText(u"wide"), value));
    EXPECT_EQ(QVString::Wide, value.GetEncoding());
    EXPECT_EQ(u"\u03a9", UnitsOf(value));
}

TEST(QVPropertiesClear, RemovesEveryEntry)
{
    QVProperties properties(0);
    for (int i = 0; i < 100; ++i)
    {
        properties.Set(QVString(std::to_string(i).c_str()), QVString("v"));
    }
    EXPECT_EQ(100u, properties.GetCount());
    properties.Clear();
    EXPECT_EQ(0u, properties.GetCount());
    QVString value;
    EXPECT_FALSE(properties.Get(QVString("1"), value));
    EXPECT_TRUE(properties.Set(QVString("1"), QVString("again")));
}

TEST(QVPropertiesModCollection, ConvertsBackOnlyFromAPropertySet)
{
    QVProperties properties(1);
    EXPECT_EQ(1, properties.GetEncoding());
    EXPECT_EQ(&properties, QVProperties::FromModCollection(properties.GetModCollection()));
    EXPECT_EQ(4106, properties.GetModCollection()->GetTag());
    EXPECT_EQ("Properties Loader", Narrow(properties.GetModCollection()->GetType()));
    QVModCollection images(4107, "Image Loader");
    EXPECT_EQ(nullptr, QVProperties::FromModCollection(&images));
    EXPECT_EQ(nullptr, QVProperties::FromModCollection(nullptr));
}

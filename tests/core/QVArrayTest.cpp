#include "core/containers/QVArray.h"
#include "core/string/QVString.h"
#include "tests/core/QVTestSupport.h"

#include <gtest/gtest.h>

namespace
{
// Counts live and made elements.
struct Tracked
{
    static int live;
    static int made;
    Tracked()
    {
        ++made;
        ++live;
    }
    ~Tracked() { --live; }
};
int Tracked::live = 0;
int Tracked::made = 0;

class QVArrayTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Tracked::live = 0;
        Tracked::made = 0;
    }
};
}  // namespace

// --- valid ---

TEST_F(QVArrayTest, SetSizeReplacesEveryElement)
{
    {
        QVArray<Tracked> array;
        ASSERT_TRUE(array.SetSize(5));
        EXPECT_EQ(5, Tracked::live);
        ASSERT_TRUE(array.SetSize(3));
        EXPECT_EQ(3, Tracked::live);  // five destroyed, three made
        EXPECT_EQ(8, Tracked::made);
        EXPECT_EQ(3, array.GetSize());
    }
    EXPECT_EQ(0, Tracked::live);
}

TEST_F(QVArrayTest, ResizedStringArrayHoldsEmptyStrings)
{
    QVArray<QVString> strings;
    strings.SetSize(5);
    for (int i = 0; i < 5; ++i)
    {
        strings[i].Assign("filled with text that outgrows sixteen bytes");
    }
    strings.SetSize(3);
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ(0, strings[i].GetLength());
    }
}

// --- boundary / invalid ---

TEST_F(QVArrayTest, AccessAtOrPastTheSizeThrows)
{
    QVArray<int> array;
    array.SetSize(2);
    array[1] = 7;
    EXPECT_EQ(7, array[1]);
    EXPECT_QV_THROW(array[2], "Exception in operator [] of QVArray:index out of bounds");
    EXPECT_QV_THROW(array[-1], "Exception in operator [] of QVArray:index out of bounds");
}

// --- empty ---

TEST_F(QVArrayTest, EmptyArrayHasNoElements)
{
    QVArray<Tracked> array;
    EXPECT_EQ(0, array.GetSize());
    EXPECT_QV_THROW(array[0], "Exception in operator [] of QVArray:index out of bounds");
    array.SetSize(2);
    EXPECT_TRUE(array.SetSize(0));
    EXPECT_EQ(0, array.GetSize());
    EXPECT_EQ(0, Tracked::live);
}

#include "core/containers/QVList.h"
#include "core/containers/QVPtrList.h"
#include "core/string/QVString.h"
#include "tests/core/QVTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
void Fill(QVList<int>& list, int n)
{
    for (int i = 0; i < n; ++i)
    {
        list.Insert(i);
    }
}

std::vector<int> Contents(QVPtrList<int>& list)
{
    std::vector<int> out;
    for (unsigned i = 0; i < list.GetCount(); ++i)
    {
        out.push_back(*list[i]);
    }
    return out;
}
}  // namespace

// --- valid ---

TEST(QVListTest, InsertsAppendInOrderAndMoveTheCursor)
{
    QVList<char> list;
    EXPECT_EQ(0u, list.Insert('X'));
    EXPECT_EQ(1u, list.Insert('Y'));
    EXPECT_EQ(2u, list.Insert('Z'));
    EXPECT_EQ(2u, list.GetCursorIndex());
    EXPECT_EQ('X', list[0]);
    EXPECT_EQ(0u, list.GetCursorIndex());
    EXPECT_EQ('Y', list[1]);
    EXPECT_EQ('Z', list[2]);
    EXPECT_EQ(QV_CLASS_LIST, list.GetClassId());
}

TEST(QVListTest, InsertLandsAfterTheCursor)
{
    QVList<char> list;
    list.Insert('a');
    list.Insert('c');
    (void)list[0];
    EXPECT_EQ(1u, list.Insert('b'));
    EXPECT_EQ('b', *list.GetCurrent());
    EXPECT_EQ(2u, list.Insert('B'));  // after the new cursor, not after the old one
    const std::string expected = "abBc";
    for (unsigned i = 0; i < expected.size(); ++i)
    {
        EXPECT_EQ(expected[i], list[i]) << "position " << i;
    }
    EXPECT_FALSE(list.Next());  // the last access left the cursor on the tail
}

TEST(QVListTest, EveryWalkOrderReachesTheRightElement)
{
    QVList<int> list;
    Fill(list, 101);
    // Ascending, descending and jumping orders use the cursor, head and tail walks in turn.
    std::vector<unsigned> order;
    for (unsigned i = 0; i < 101; ++i)
    {
        order.push_back(i);
    }
    for (unsigned i = 101; i-- > 0;)
    {
        order.push_back(i);
    }
    for (unsigned i = 0; i < 101; ++i)
    {
        order.push_back((i * 37u) % 101u);
    }
    for (unsigned i : order)
    {
        ASSERT_EQ(static_cast<int>(i), list[i]) << "position " << i;
        ASSERT_EQ(i, list.GetCursorIndex());
        ASSERT_EQ(static_cast<int>(i), *list.GetCurrent());
    }
}

TEST(QVListTest, FarAccessLeavesTheCursorWhereItLanded)
{
    QVList<int> list;
    Fill(list, 10);
    (void)list[2];
    EXPECT_EQ(8, list[8]);  // reached from the tail: 10 - 8 < 6
    EXPECT_EQ(8u, list.GetCursorIndex());
    EXPECT_TRUE(list.Next());
    EXPECT_EQ(9, *list.GetCurrent());
    EXPECT_FALSE(list.Next());
    EXPECT_EQ(9u, list.GetCursorIndex());
}

TEST(QVListTest, ValueListOwnsCopiesOfItsElements)
{
    QVList<QVString> list;
    {
        QVString source("a text long enough to need a grown buffer");
        list.Insert(source);
        source.Assign("changed");
    }
    EXPECT_TRUE(list[0].Equals(QVString("a text long enough to need a grown buffer")));
}

TEST(QVPtrListTest, RemoveUnlinksAndRewindsTheCursor)
{
    int values[4] = {10, 11, 12, 13};
    QVPtrList<int> list;
    for (int& v : values)
    {
        list.Insert(&v);
    }
    EXPECT_EQ(QV_CLASS_PTRLIST, list.GetClassId());
    EXPECT_TRUE(list.Remove(&values[1]));
    EXPECT_EQ(0u, list.GetCursorIndex());
    EXPECT_EQ(&values[0], *list.GetCurrent());
    EXPECT_EQ((std::vector<int>{10, 12, 13}), Contents(list));

    EXPECT_TRUE(list.Remove(&values[3]));  // tail
    EXPECT_TRUE(list.Remove(&values[0]));  // head
    EXPECT_EQ((std::vector<int>{12}), Contents(list));
    EXPECT_FALSE(list.Next());
    list.Insert(&values[3]);  // the repaired tail takes new nodes
    EXPECT_EQ((std::vector<int>{12, 13}), Contents(list));
}

// --- boundary / invalid ---

TEST(QVListTest, AccessPastTheEndThrowsWithTheListsText)
{
    QVList<int> list;
    Fill(list, 3);
    EXPECT_QV_THROW(list[3],
                    "Exception in operateur [] of " + ObjectText(list) + ":index out of bounds");
    EXPECT_EQ(2u, list.GetCursorIndex());

    QVPtrList<int> pointers;
    EXPECT_QV_THROW(pointers[0], "Exception in operateur [] of " + ObjectText(pointers) +
                                     ":index out of bounds");
    EXPECT_EQ(" 05", ObjectText(pointers).substr(3));
}

TEST(QVPtrListTest, RemovingAnAbsentPointerChangesNothing)
{
    int values[3] = {1, 2, 3};
    int other = 4;
    QVPtrList<int> list;
    for (int& v : values)
    {
        list.Insert(&v);
    }
    (void)list[1];
    EXPECT_FALSE(list.Remove(&other));
    EXPECT_EQ(3u, list.GetCount());
    EXPECT_EQ(1u, list.GetCursorIndex());
    EXPECT_EQ((std::vector<int>{1, 2, 3}), Contents(list));
}

// --- empty ---

TEST(QVListTest, EmptyValueListThrowsOnGetCurrent)
{
    QVList<int> list;
    EXPECT_QV_THROW(list.GetCurrent(),
                    "Exception in GetCurrent of " + ObjectText(list) + ":empty list");
    EXPECT_EQ(" 04", ObjectText(list).substr(3));
    EXPECT_FALSE(list.Next());
}

TEST(QVPtrListTest, EmptyPointerListYieldsNull)
{
    QVPtrList<int> list;
    ASSERT_NE(nullptr, list.GetCurrent());
    EXPECT_EQ(nullptr, *list.GetCurrent());

    int only = 1;
    list.Insert(&only);
    EXPECT_TRUE(list.Remove(&only));
    EXPECT_EQ(0u, list.GetCount());
    EXPECT_EQ(nullptr, *list.GetCurrent());
    EXPECT_EQ(0u, list.Insert(&only));  // an emptied list starts over
    EXPECT_EQ(&only, *list.GetCurrent());
}

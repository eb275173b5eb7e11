#include "core/containers/HashMap.h"
#include "tests/core/QVTestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace
{
void* Tag(QVMapKey key) { return reinterpret_cast<void*>(key * 16 + 8); }

// Checks that every node counts its subtree and that keys are in order; returns the count.
std::uint32_t CheckSubtree(const HashMap::Node* node, QVMapKey low, QVMapKey high, bool& ok)
{
    if (node == nullptr)
    {
        return 0;
    }
    if (node->key < low || node->key > high)
    {
        ok = false;
    }
    const std::uint32_t left =
        CheckSubtree(node->left, low, node->key == 0 ? 0 : node->key - 1, ok);
    const std::uint32_t right = CheckSubtree(node->right, node->key + 1, high, ok);
    if (node->count != left + right + 1)
    {
        ok = false;
    }
    return left + right + 1;
}

bool TreeIsConsistent(const HashMap& map)
{
    bool ok = true;
    CheckSubtree(map.GetRoot(), 0, ~QVMapKey(0), ok);
    return ok;
}

void InsertAll(HashMap& map, std::initializer_list<QVMapKey> keys)
{
    for (QVMapKey key : keys)
    {
        map.Insert(key, Tag(key));
    }
}
}  // namespace

// --- valid ---

TEST(HashMapTest, PositionsFollowKeyOrder)
{
    HashMap map;
    InsertAll(map, {5, 3, 8});
    EXPECT_EQ(3u, map.GetCount());
    EXPECT_EQ(Tag(3), map[0]);
    EXPECT_EQ(Tag(5), map[1]);
    EXPECT_EQ(Tag(8), map[2]);
    QVMapKey key = 0;
    void* value = nullptr;
    EXPECT_TRUE(map.GetEntry(2, key, value));
    EXPECT_EQ(8u, key);
}

TEST(HashMapTest, ExistingKeyReplacesTheValueOnly)
{
    HashMap map;
    InsertAll(map, {5, 3, 8});
    int replacement = 0;
    EXPECT_TRUE(map.Insert(3, &replacement));
    EXPECT_EQ(3u, map.GetCount());
    void* found = nullptr;
    EXPECT_TRUE(map.Find(3, found));
    EXPECT_EQ(&replacement, found);
    EXPECT_TRUE(TreeIsConsistent(map));
}

TEST(HashMapTest, RemovingTheRootOfATieGraftsLeftIntoRight)
{
    HashMap map;
    InsertAll(map, {5, 3, 8});
    EXPECT_TRUE(map.Remove(5));
    const HashMap::Node* root = map.GetRoot();
    ASSERT_NE(nullptr, root);
    EXPECT_EQ(8u, root->key);
    EXPECT_EQ(2u, root->count);
    ASSERT_NE(nullptr, root->left);
    EXPECT_EQ(3u, root->left->key);
    EXPECT_EQ(nullptr, root->right);
}

TEST(HashMapTest, RemovalGraftsTheSmallerSubtreeIntoTheLarger)
{
    HashMap map;
    InsertAll(map, {50, 30, 70, 20, 40, 60});  // left subtree 3 entries, right 2
    EXPECT_TRUE(map.Remove(50));
    const HashMap::Node* root = map.GetRoot();
    ASSERT_NE(nullptr, root);
    EXPECT_EQ(30u, root->key);  // the larger left subtree moves up
    EXPECT_EQ(5u, root->count);
    const HashMap::Node* forty = root->right;
    ASSERT_NE(nullptr, forty);
    EXPECT_EQ(40u, forty->key);
    EXPECT_EQ(3u, forty->count);
    ASSERT_NE(nullptr, forty->right);
    EXPECT_EQ(70u, forty->right->key);  // the right subtree hangs below the largest key
    ASSERT_NE(nullptr, forty->right->left);
    EXPECT_EQ(60u, forty->right->left->key);
    const QVMapKey expected[] = {20, 30, 40, 60, 70};
    for (std::uint32_t i = 0; i < 5; ++i)
    {
        EXPECT_EQ(Tag(expected[i]), map[i]) << "position " << i;
    }
}

TEST(HashMapTest, RemovingInnerNodesKeepsAncestorCounts)
{
    HashMap map;
    InsertAll(map, {50, 30, 70, 20, 40, 60, 80, 35});
    EXPECT_TRUE(map.Remove(40));  // one child
    EXPECT_TRUE(map.Remove(20));  // leaf
    EXPECT_EQ(6u, map.GetCount());
    EXPECT_TRUE(TreeIsConsistent(map));
    void* found = nullptr;
    EXPECT_TRUE(map.Find(35, found));
    EXPECT_FALSE(map.Find(40, found));
}

TEST(HashMapTest, MixedInsertsAndRemovesMatchAnOrderedMap)
{
    HashMap map;
    std::map<QVMapKey, void*> reference;
    unsigned seed = 12345;
    for (int step = 0; step < 2000; ++step)
    {
        seed = seed * 1103515245u + 12345u;
        const QVMapKey key = (seed >> 8) % 97;
        if ((seed >> 20) % 3 == 0)
        {
            EXPECT_EQ(reference.erase(key) == 1, map.Remove(key));
        }
        else
        {
            map.Insert(key, Tag(key + static_cast<QVMapKey>(step)));
            reference[key] = Tag(key + static_cast<QVMapKey>(step));
        }
        ASSERT_TRUE(TreeIsConsistent(map)) << "step " << step;
    }
    ASSERT_EQ(reference.size(), map.GetCount());
    std::uint32_t position = 0;
    for (const auto& entry : reference)
    {
        EXPECT_EQ(entry.second, map[position++]);
    }
}

// --- boundary ---

TEST(HashMapTest, AscendingKeysMakeADeepChainThatStillWorks)
{
    // Addresses often arrive in increasing order; the unbalanced tree is then one long chain.
    HashMap map;
    const std::uint32_t n = 20000;  // a chain this deep would strain the stack of a recursive walk
    for (std::uint32_t i = 0; i < n; ++i)
    {
        map.Insert(i, Tag(i));
    }
    EXPECT_EQ(n, map.GetCount());
    EXPECT_EQ(Tag(n - 1), map[n - 1]);
    EXPECT_TRUE(map.Remove(0));
    EXPECT_EQ(Tag(1), map[0]);
    map.Clear();
    EXPECT_EQ(0u, map.GetCount());
}

TEST(HashMapTest, PositionAtTheCountThrows)
{
    HashMap map;
    InsertAll(map, {5, 3, 8});
    EXPECT_QV_THROW(map[3], "Exception in operator [] of HashMap:index out of bounds");
    QVMapKey key = 99;
    void* value = nullptr;
    EXPECT_FALSE(map.GetEntry(3, key, value));
    EXPECT_EQ(99u, key);
}

// --- empty ---

TEST(HashMapTest, EmptyMapFindsAndRemovesNothing)
{
    HashMap map;
    EXPECT_EQ(0u, map.GetCount());
    void* value = &map;
    EXPECT_FALSE(map.Find(1, value));
    EXPECT_EQ(&map, value);
    EXPECT_FALSE(map.Remove(1));
    EXPECT_QV_THROW(map[0], "Exception in operator [] of HashMap:index out of bounds");
    InsertAll(map, {1});
    EXPECT_TRUE(map.Remove(1));
    EXPECT_EQ(nullptr, map.GetRoot());
    EXPECT_FALSE(map.Remove(1));
}

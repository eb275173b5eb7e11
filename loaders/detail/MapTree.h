#pragma once

#include "core/containers/HashMap.h"
#include "core/containers/QVArray.h"

#include <cstdint>

// Walks over the tree of a HashMap through its shared node layout. The map itself only offers
// access by position, which costs the depth of the tree per entry: quadratic on the deep trees
// that keys arriving in order build. These walks are linear.

namespace qv_map_tree
{
// Calls visit(key, value) for every entry in ascending key order. Uses a stack as deep as the
// map has entries; when that memory is not available it falls back to access by position.
template <typename Visit>
void VisitInOrder(const HashMap& map, Visit visit)
{
    const std::uint32_t count = map.GetCount();
    QVArray<const HashMap::Node*> stack;
    if (count > 0 && count <= 0x7FFFFFFFu && stack.SetSize(static_cast<int>(count)))
    {
        int top = 0;
        const HashMap::Node* node = map.GetRoot();
        while (node != nullptr || top > 0)
        {
            for (; node != nullptr; node = node->left)
            {
                stack[top++] = node;
            }
            node = stack[--top];
            visit(node->key, node->value);
            node = node->right;
        }
        return;
    }
    for (std::uint32_t i = 0; i < count; ++i)
    {
        QVMapKey key = 0;
        void* value = nullptr;
        map.GetEntry(i, key, value);
        visit(key, value);
    }
}

// Relinks the map's nodes so that every subtree of m nodes has its entry of in-order index
// (m - 1) / 2 as root; keys, values and order stay, the depth becomes floor(log2(n)) + 1.
// Linear in the entries, allocates nothing but two arrays of node pointers; returns false
// (the tree unchanged) when those are not available.
bool Rebalance(HashMap& map);

// Number of nodes on the longest path from the root; 0 for an empty map. Linear, no recursion.
std::uint32_t Depth(const HashMap& map);
}  // namespace qv_map_tree

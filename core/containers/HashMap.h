#pragma once

#include "core/object/QVObject.h"

#include <cstdint>

// Keys hold addresses (of memory blocks, of module classes) as well as numeric identifiers, so
// they are as wide as a pointer: 32 bits on the Windows build, 64 on 64-bit Linux.
using QVMapKey = std::uintptr_t;

// Map from a key to a pointer. Despite the name it is an ordered binary search tree without
// balancing whose nodes count their subtree, which gives the n-th entry in key order: that is how
// its users walk all entries. Its trees stay small (loaded modules, live named blocks), so the
// depth follows the insertion order and is never rebalanced. Nodes come from the allocation hook;
// values are never owned, and owners free them (walking positions 0..count-1) before Clear.
class HashMap : public QVObject
{
public:
    // Node layout, shared with other libraries.
    struct Node
    {
        QVMapKey key;
        void* value;          // not owned
        Node* left;           // smaller keys
        Node* right;          // greater keys
        std::uint32_t count;  // entries in this subtree, this node included
    };

    HashMap();
    ~HashMap();  // Clear()

    HashMap(const HashMap&) = delete;
    HashMap& operator=(const HashMap&) = delete;

    // Adds the entry, or replaces the value of a present key (the count stays). Returns false,
    // changing nothing, only when memory for a new node was not available.
    bool Insert(QVMapKey key, void* value);

    // True and the value when key is present; false (value untouched) otherwise.
    bool Find(QVMapKey key, void*& value) const;

    // Removes the entry; its two subtrees are joined by grafting the smaller one into the larger.
    // True when an entry was removed.
    bool Remove(QVMapKey key);

    // Number of entries.
    std::uint32_t GetCount() const;

    // Value of the entry at in-order position i (0: smallest key). Throws QVException
    // ("HashMap", "operator []", "index out of bounds") when i is not below the count.
    void* operator[](std::uint32_t i) const;

    // Key and value at in-order position i; false (outputs untouched) when i is out of range.
    bool GetEntry(std::uint32_t i, QVMapKey& key, void*& value) const;

    // Frees every node through the hook; the values are not touched.
    void Clear();

    // The root node (null when empty), for callers that need the tree itself; owned by the map.
    const Node* GetRoot() const { return m_root; }

private:
    const Node* NodeAt(std::uint32_t i) const;

    Node* m_root;
};

#include "core/containers/HashMap.h"

#include "core/memory/AllocHook.h"
#include "core/object/QVException.h"

// Every walk is a loop rather than a recursion: keys that are addresses often arrive in
// increasing order, and an unbalanced tree of them is a list as deep as it is long.

namespace
{
std::uint32_t CountOf(const HashMap::Node* node) { return node == nullptr ? 0 : node->count; }

void FreeNode(HashMap::Node* node)
{
    void* block = node;
    QVHookFree(&block);
}
}  // namespace

HashMap::HashMap() : QVObject(QV_CLASS_DEFAULT), m_root(nullptr) {}

HashMap::~HashMap() { Clear(); }

bool HashMap::Insert(QVMapKey key, void* value)
{
    // First walk: replace in place, or find the empty link the new node goes to.
    Node** link = &m_root;
    while (*link != nullptr)
    {
        Node* node = *link;
        if (node->key == key)
        {
            node->value = value;
            return true;
        }
        link = node->key < key ? &node->right : &node->left;
    }
    void* block = nullptr;
    QVHookAllocate(&block, static_cast<int>(sizeof(Node)));
    if (block == nullptr)
    {
        return false;
    }
    Node* added = static_cast<Node*>(block);
    added->key = key;
    added->value = value;
    added->left = nullptr;
    added->right = nullptr;
    added->count = 1;
    // Second walk: only now that the entry is certain to be added does the path gain one.
    for (Node* node = m_root; node != nullptr; node = node->key < key ? node->right : node->left)
    {
        ++node->count;
    }
    *link = added;
    return true;
}

bool HashMap::Find(QVMapKey key, void*& value) const
{
    const Node* node = m_root;
    while (node != nullptr)
    {
        if (node->key == key)
        {
            value = node->value;
            return true;
        }
        node = node->key < key ? node->right : node->left;
    }
    return false;
}

bool HashMap::Remove(QVMapKey key)
{
    Node** link = &m_root;
    while (*link != nullptr && (*link)->key != key)
    {
        link = (*link)->key < key ? &(*link)->right : &(*link)->left;
    }
    Node* removed = *link;
    if (removed == nullptr)
    {
        return false;
    }
    for (Node* node = m_root; node != removed; node = node->key < key ? node->right : node->left)
    {
        --node->count;
    }

    // The larger subtree takes the removed node's place and the smaller one is hung below it, so
    // only the smaller one's root moves; on a tie the right one stays on top.
    Node* receiving = removed->right;
    Node* grafted = removed->left;
    if (CountOf(removed->right) < CountOf(removed->left))
    {
        receiving = removed->left;
        grafted = removed->right;
    }
    if (grafted != nullptr)
    {
        // Every key of the grafted subtree lies on the same side of every receiving key, so
        // following its root key down keeps the in-order sequence intact.
        Node** graftLink = &receiving;
        while (*graftLink != nullptr)
        {
            Node* node = *graftLink;
            node->count += grafted->count;
            graftLink = node->key < grafted->key ? &node->right : &node->left;
        }
        *graftLink = grafted;
    }
    *link = receiving;
    FreeNode(removed);
    return true;
}

std::uint32_t HashMap::GetCount() const { return CountOf(m_root); }

const HashMap::Node* HashMap::NodeAt(std::uint32_t i) const
{
    if (i >= GetCount())
    {
        return nullptr;
    }
    const Node* node = m_root;
    for (;;)
    {
        const std::uint32_t leftCount = CountOf(node->left);
        if (i == leftCount)
        {
            return node;
        }
        if (i < leftCount)
        {
            node = node->left;
        }
        else
        {
            i -= leftCount + 1;
            node = node->right;
        }
    }
}

void* HashMap::operator[](std::uint32_t i) const
{
    const Node* node = NodeAt(i);
    if (node == nullptr)
    {
        throw QVException("HashMap", "operator []", "index out of bounds");
    }
    return node->value;
}

bool HashMap::GetEntry(std::uint32_t i, QVMapKey& key, void*& value) const
{
    const Node* node = NodeAt(i);
    if (node == nullptr)
    {
        return false;
    }
    key = node->key;
    value = node->value;
    return true;
}

void HashMap::Clear()
{
    // Rotating each left child up turns the tree into a right-leaning chain that is freed from
    // the top, without a stack and without touching a freed node.
    Node* node = m_root;
    while (node != nullptr)
    {
        Node* left = node->left;
        if (left != nullptr)
        {
            node->left = left->right;
            left->right = node;
            node = left;
        }
        else
        {
            Node* right = node->right;
            FreeNode(node);
            node = right;
        }
    }
    m_root = nullptr;
}

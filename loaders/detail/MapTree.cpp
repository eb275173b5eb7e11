#include "loaders/detail/MapTree.h"

namespace
{
using Node = HashMap::Node;

// Builds the balanced shape over nodes[lo..hi] (in key order) and returns its root.
Node* Build(QVArray<Node*>& nodes, int lo, int hi)
{
    if (lo > hi)
    {
        return nullptr;
    }
    const int mid = lo + (hi - lo) / 2;
    Node* root = nodes[mid];
    root->left = Build(nodes, lo, mid - 1);
    root->right = Build(nodes, mid + 1, hi);
    root->count = static_cast<std::uint32_t>(hi - lo + 1);
    return root;
}
}  // namespace

namespace qv_map_tree
{
bool Rebalance(HashMap& map)
{
    const std::uint32_t count = map.GetCount();
    if (count == 0)
    {
        return true;
    }
    if (count > 0x7FFFFFFFu)
    {
        return false;
    }
    QVArray<Node*> nodes;
    if (!nodes.SetSize(static_cast<int>(count)))
    {
        return false;
    }
    // The map is ours to change; it only hands its root out read-only.
    Node* const root = const_cast<Node*>(map.GetRoot());
    int n = 0;
    int rootIndex = 0;
    {
        QVArray<Node*> stack;
        if (!stack.SetSize(static_cast<int>(count)))
        {
            return false;
        }
        int top = 0;
        Node* node = root;
        while (node != nullptr || top > 0)
        {
            for (; node != nullptr; node = node->left)
            {
                stack[top++] = node;
            }
            node = stack[--top];
            if (node == root)
            {
                rootIndex = n;
            }
            nodes[n++] = node;
            node = node->right;
        }
    }
    // The map keeps its root pointer, so the node that is the root now must stay the root: it
    // trades entries with the node that holds the middle entry, and the two swap places.
    const int middle = (n - 1) / 2;
    if (rootIndex != middle)
    {
        Node* other = nodes[middle];
        const QVMapKey key = root->key;
        void* const value = root->value;
        root->key = other->key;
        root->value = other->value;
        other->key = key;
        other->value = value;
        nodes[middle] = root;
        nodes[rootIndex] = other;
    }
    Build(nodes, 0, n - 1);
    return true;
}

std::uint32_t Depth(const HashMap& map)
{
    const std::uint32_t count = map.GetCount();
    if (count == 0)
    {
        return 0;
    }
    struct Step
    {
        const HashMap::Node* node;
        std::uint32_t depth;
    };
    QVArray<Step> stack;
    if (count > 0x7FFFFFFFu || !stack.SetSize(static_cast<int>(count)))
    {
        return 0;
    }
    std::uint32_t deepest = 0;
    int top = 0;
    stack[top++] = Step{map.GetRoot(), 1};
    while (top > 0)
    {
        const Step step = stack[--top];
        if (step.depth > deepest)
        {
            deepest = step.depth;
        }
        if (step.node->left != nullptr)
        {
            stack[top++] = Step{step.node->left, step.depth + 1};
        }
        if (step.node->right != nullptr)
        {
            stack[top++] = Step{step.node->right, step.depth + 1};
        }
    }
    return deepest;
}
}  // namespace qv_map_tree

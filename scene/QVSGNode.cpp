#include "scene/QVSGNode.h"

#include "core/trace/QVTraceHook.h"
#include "renderers/QVRenderer.h"
#include "scene/QVSGKind.h"

QVSGNode::QVSGNode(const char* nodeName)
    : QVObject(0), name(nodeName != nullptr ? nodeName : ""), KindFlags(QVSG_KIND_NODE),
      HardReady(false), Visible(true)
{
}

QVSGNode::~QVSGNode() = default;

QVSGNode* QVSGNode::ReservedLookup(std::intptr_t) { return this; }

bool QVSGNode::InitHard(QVRenderer* renderer)
{
    QVTraceHook::Report("QVSGNode::InitHard");
    if (HardReady)
    {
        return true;
    }
    if (renderer == nullptr)
    {
        return false;
    }
    HardReady = renderer->InitNode(this);
    return HardReady;
}

bool QVSGNode::Update(QVRenderer* renderer)
{
    return HardReady && renderer != nullptr ? renderer->UpdateNode(this) : false;
}

bool QVSGNode::ReleaseHard(QVRenderer* renderer)
{
    // Reported under the binding's name: the trace follows a node's binding, both ways.
    QVTraceHook::Report("QVSGNode::InitHard");
    return HardReady && renderer != nullptr ? renderer->ReleaseNode(this) : false;
}

bool QVSGNode::ReservedTest(std::intptr_t, std::intptr_t) { return true; }

void QVSGNode::ReservedNotify(std::intptr_t) {}

QVSGNode* QVSGNode::ReservedSelf() { return this; }

void QVSGNode::AddChild(QVSGNode* child)
{
    // The list inserts after its cursor, which any indexed access moves; put the cursor on the
    // last child first so that children keep their insertion order whatever was read meanwhile.
    const unsigned count = Children.GetCount();
    if (count > 0)
    {
        (void)Children[count - 1];
    }
    Children.Insert(child);
}

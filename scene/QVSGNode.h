#pragma once

#include "core/containers/QVList.h"
#include "core/object/QVObject.h"
#include "core/string/QVString.h"

#include <cstdint>

class QVRenderer;

// Every object of a scene: world, cameras, lights, materials, meshes. A node has a name, child
// nodes (not owned), kind bits, and two flags that tie it to a renderer. Nodes never draw
// themselves: the renderer-facing operations hand the node to the renderer, which decides by the
// kind bits and class code what to do with it. A renderer is passed on every call and never kept.
//
// The node classes are compiled into hosts, renderer modules and the 3DS loader module alike, so
// members and virtual slots are a layout contract: keep their order.
class QVSGNode : public QVObject
{
public:
    // Copies the name (null: empty); kind bit QVSG_KIND_NODE, visible, unbound.
    explicit QVSGNode(const char* name);

    QVSGNode(const QVSGNode&) = delete;
    QVSGNode& operator=(const QVSGNode&) = delete;

    // Slot 1. Reserved lookup; returns the node itself.
    virtual QVSGNode* ReservedLookup(std::intptr_t value);
    // Slot 2. Destroys the name and the children list; the children themselves stay alive.
    virtual ~QVSGNode();
    // Slot 3. Binds the node to the renderer once: later calls return true without asking it
    // again. Returns the renderer's answer (false for a null renderer; the node stays unbound).
    virtual bool InitHard(QVRenderer* renderer);
    // Slot 4. Tells a bound node's renderer that the node changed; false when unbound.
    virtual bool Update(QVRenderer* renderer);
    // Slot 5. Asks the renderer to drop the node's data; false when unbound. The node stays
    // marked bound.
    virtual bool ReleaseHard(QVRenderer* renderer);
    // Slot 6. Reserved test; returns true.
    virtual bool ReservedTest(std::intptr_t first, std::intptr_t second);
    // Slot 7. Reserved notification; does nothing.
    virtual void ReservedNotify(std::intptr_t value);
    // Slot 8. Returns the node itself.
    virtual QVSGNode* ReservedSelf();

    // Appends child (not owned; it must outlive this node's list). The same node may be the child
    // of several parents.
    void AddChild(QVSGNode* child);
    // Child at index. Throws QVException ("operateur []", "index out of bounds") when index is
    // not below the child count.
    QVSGNode* GetChild(unsigned index) { return Children[index]; }
    unsigned GetChildCount() const { return Children.GetCount(); }

    void AddKindFlags(std::uint32_t bits) { KindFlags |= bits; }
    std::uint32_t GetKindFlags() const { return KindFlags; }
    bool HasKind(std::uint32_t bits) const { return (KindFlags & bits) == bits; }

    bool IsHardReady() const { return HardReady; }
    void SetHardReady(bool value) { HardReady = value; }
    bool IsVisible() const { return Visible; }
    void SetVisible(bool value) { Visible = value; }

    // The name, owned by the node.
    QVString& GetName() { return name; }
    const QVString& GetName() const { return name; }
    void SetName(const char* text) { name.Assign(text != nullptr ? text : ""); }

protected:
    QVList<QVSGNode*> Children;  // insertion order; not owned
    QVString name;
    std::uint32_t KindFlags;  // OR of the kind bits of the node's class chain
    bool HardReady;           // a renderer accepted the node in InitHard
    bool Visible;             // Draw reaches the renderer only when set
};

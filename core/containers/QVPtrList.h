#pragma once

#include "core/containers/QVList.h"

// List of pointers that it does not own. Unlike the value list, an empty pointer list answers
// GetCurrent with the address of a null pointer, so "no current object" reads as null instead of
// ending the program.
template <typename T>
class QVPtrList : public QVList<T*>
{
public:
    QVPtrList() : QVList<T*>(QV_CLASS_PTRLIST), m_default(nullptr) {}

    // Slot 1. Frees the nodes; the pointed-to objects are left alone.
    ~QVPtrList() override = default;

    // Slot 2. The cursor's element, or (empty list) the address of a null pointer. Owned by the
    // list.
    T** GetCurrent() override
    {
        if (this->m_cursor == nullptr)
        {
            return &m_default;
        }
        return QVList<T*>::GetCurrent();
    }

    // Unlinks the first node holding value (compared as an address; the object is not touched).
    // The cursor then goes back to the head. Returns false, changing nothing, when none holds it.
    bool Remove(T* const& value)
    {
        Node* node = this->m_head;
        while (node != nullptr && node->value != value)
        {
            node = node->next;
        }
        if (node == nullptr)
        {
            return false;
        }
        if (node->prev != nullptr)
        {
            node->prev->next = node->next;
        }
        else
        {
            this->m_head = node->next;
        }
        if (node->next != nullptr)
        {
            node->next->prev = node->prev;
        }
        else
        {
            this->m_tail = node->prev;
        }
        --this->m_count;
        this->FreeNode(node);
        this->m_cursor = this->m_head;
        this->m_cursorIndex = 0;
        this->m_snapshotValid = false;
        return true;
    }

private:
    using Node = typename QVList<T*>::Node;

    T* m_default;  // always null
};

#pragma once

#include "core/memory/AllocHook.h"
#include "core/object/QVException.h"
#include "core/object/QVObject.h"

#include <cstdint>
#include <cstring>
#include <new>

// Doubly linked list with a built-in cursor: a current node and its index. Every positional
// access moves the cursor, so walking a list by increasing index costs one step per access, and
// each insertion lands after the cursor and becomes the cursor, so a run of inserts appends in
// order. Node memory comes from the allocation hook. Not copyable: lists are walked in place.
//
// The layout (snapshot members included, though nothing builds a snapshot) is shared with other
// libraries: keep the members and their order.
template <typename T>
class QVList : public QVObject
{
public:
    QVList() : QVList(QV_CLASS_LIST) {}

    QVList(const QVList&) = delete;
    QVList& operator=(const QVList&) = delete;

    // Slot 1. Destroys every element and returns every node to the hook.
    virtual ~QVList()
    {
        // A snapshot is never built; should one exist, it is a block of elements from the hook.
        if (m_snapshot != nullptr)
        {
            void* block = m_snapshot;
            QVHookFree(&block);
        }
        Node* node = m_head;
        for (m_loop = 0; m_loop < m_count; ++m_loop)
        {
            Node* next = node->next;
            FreeNode(node);
            node = next;
        }
        m_loop = 0;
        m_count = 0;
        m_cursorIndex = 0;
        m_snapshot = nullptr;
        m_snapshotValid = false;
        m_tail = nullptr;
        m_head = nullptr;
        m_cursor = nullptr;
    }

    // Slot 2. The cursor's element, owned by the list. Throws QVException (built from the list,
    // method "GetCurrent", "empty list") when the list is empty.
    virtual T* GetCurrent()
    {
        if (m_cursor == nullptr)
        {
            throw QVException(this, "GetCurrent", "empty list");
        }
        return &m_cursor->value;
    }

    // Copies value into a new node after the cursor, which moves onto it. Returns the new cursor
    // index; when memory is not available nothing is inserted and the cursor index is returned.
    unsigned Insert(const T& value)
    {
        void* block = nullptr;
        QVHookAllocate(&block, static_cast<int>(sizeof(Node)));
        if (block == nullptr)
        {
            return m_cursorIndex;
        }
        std::memset(block, 0, sizeof(Node));
        Node* node = ::new (block) Node{value, nullptr, nullptr};
        if (m_cursor == nullptr)
        {
            m_head = node;
            m_tail = node;
            m_cursorIndex = 0;
        }
        else
        {
            node->prev = m_cursor;
            node->next = m_cursor->next;
            if (m_cursor->next != nullptr)
            {
                m_cursor->next->prev = node;
            }
            else
            {
                m_tail = node;
            }
            m_cursor->next = node;
            ++m_cursorIndex;
        }
        m_cursor = node;
        ++m_count;
        return m_cursorIndex;
    }

    // Element i, moving the cursor there by the shortest of three walks (from the cursor, the
    // head or the tail; the cursor wins ties). Throws QVException (built from the list, method
    // "operateur []", "index out of bounds") when i is not below the count.
    T& operator[](unsigned i)
    {
        if (i >= m_count)
        {
            throw QVException(this, "operateur []", "index out of bounds");
        }
        if (i == m_cursorIndex)
        {
            return m_cursor->value;
        }
        const unsigned distance = i > m_cursorIndex ? i - m_cursorIndex : m_cursorIndex - i;
        if (i > m_count / 2)
        {
            if (m_count - i < distance)
            {
                m_cursor = m_tail;
                m_cursorIndex = m_count - 1;
            }
        }
        else if (i < distance)
        {
            m_cursor = m_head;
            m_cursorIndex = 0;
        }
        while (m_cursorIndex < i)
        {
            m_cursor = m_cursor->next;
            ++m_cursorIndex;
        }
        while (m_cursorIndex > i)
        {
            m_cursor = m_cursor->prev;
            --m_cursorIndex;
        }
        return m_cursor->value;
    }

    // Moves the cursor one node on. False (nothing moves) when the cursor is the tail or the list
    // is empty.
    bool Next()
    {
        if (m_cursor == m_tail)
        {
            return false;
        }
        m_cursor = m_cursor->next;
        ++m_cursorIndex;
        return true;
    }

    // Number of elements.
    unsigned GetCount() const { return m_count; }
    // Index of the cursor node (0 when the list is empty).
    unsigned GetCursorIndex() const { return m_cursorIndex; }

protected:
    struct Node
    {
        T value;
        Node* prev;
        Node* next;
    };

    explicit QVList(std::int32_t classId)
        : QVObject(classId), m_loop(0), m_count(0), m_cursorIndex(0), m_snapshot(nullptr),
          m_snapshotValid(false), m_tail(nullptr), m_head(nullptr), m_cursor(nullptr)
    {
    }

    static void FreeNode(Node* node)
    {
        node->~Node();
        void* block = node;
        QVHookFree(&block);
    }

    std::uint32_t m_loop;  // scratch counter of the destructor's walk
    std::uint32_t m_count;
    std::uint32_t m_cursorIndex;
    T* m_snapshot;         // array view of the elements; never built
    bool m_snapshotValid;  // cleared by every removal
    Node* m_tail;
    Node* m_head;
    Node* m_cursor;  // null only while the list is empty
};

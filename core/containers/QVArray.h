#pragma once

#include "core/memory/AllocHook.h"
#include "core/object/QVException.h"
#include "core/object/QVObject.h"

#include <climits>
#include <cstdint>
#include <new>

// Fixed-size array whose size is set as a whole: SetSize throws the old elements away and makes
// new default-constructed ones. There is no appending, so no growth that would have to keep
// elements. Element memory comes from the allocation hook.
template <typename T>
class QVArray : public QVObject
{
public:
    QVArray() : QVObject(QV_CLASS_DEFAULT), m_items(nullptr), m_count(0), m_owns(false) {}
    ~QVArray() { Release(); }

    QVArray(const QVArray&) = delete;
    QVArray& operator=(const QVArray&) = delete;

    // Destroys the current elements, then makes n default-constructed ones. Returns false (the
    // array is then empty) when n * sizeof(T) does not fit an int or memory was not available.
    bool SetSize(int n)
    {
        Release();
        if (n <= 0)
        {
            return true;
        }
        if (static_cast<unsigned long long>(n) * sizeof(T) >
            static_cast<unsigned long long>(INT_MAX))
        {
            return false;
        }
        void* block = nullptr;
        QVHookAllocate(&block, static_cast<int>(static_cast<unsigned>(n) * sizeof(T)));
        if (block == nullptr)
        {
            return false;
        }
        m_items = static_cast<T*>(block);
        // Last to first, as in every library, so that constructors with side effects run in the
        // same order wherever an array is sized.
        for (int i = n - 1; i >= 0; --i)
        {
            ::new (static_cast<void*>(m_items + i)) T();
        }
        m_count = n;
        m_owns = true;
        return true;
    }

    // Element i. Throws QVException ("QVArray", "operator []", "index out of bounds") when i is
    // not below the size.
    T& operator[](int i)
    {
        CheckIndex(i);
        return m_items[i];
    }
    const T& operator[](int i) const
    {
        CheckIndex(i);
        return m_items[i];
    }

    // Number of elements.
    int GetSize() const { return m_count; }

private:
    void CheckIndex(int i) const
    {
        // The unsigned comparison turns a negative index away too.
        if (static_cast<unsigned>(i) >= static_cast<unsigned>(m_count))
        {
            throw QVException("QVArray", "operator []", "index out of bounds");
        }
    }

    void Release()
    {
        if (m_owns)
        {
            for (int i = 0; i < m_count; ++i)
            {
                m_items[i].~T();
            }
            void* block = m_items;
            QVHookFree(&block);
        }
        m_items = nullptr;
        m_count = 0;
        m_owns = false;
    }

    T* m_items;
    std::int32_t m_count;
    bool m_owns;  // elements were made here and are destroyed and freed here
};

#include "core/string/QVMemStream.h"

#include "core/memory/AllocHook.h"

#include <climits>
#include <cstring>

QVMemStream::QVMemStream()
    : QVObject(QV_CLASS_MEMSTREAM), m_buffer(nullptr), m_size(0), m_capacity(0), m_cursor(0),
      m_offset(0), m_owns(true), m_readOnly(false)
{
}

QVMemStream::~QVMemStream() { ReleaseOwned(); }

void QVMemStream::ReleaseOwned()
{
    if (m_owns)
    {
        void* block = m_buffer;
        QVHookFree(&block);
    }
    m_buffer = nullptr;
    m_size = 0;
    m_capacity = 0;
    m_cursor = 0;
    m_offset = 0;
}

void QVMemStream::Attach(void* buffer, int size)
{
    ReleaseOwned();
    m_buffer = static_cast<unsigned char*>(buffer);
    m_size = (buffer != nullptr && size > 0) ? size : 0;
    m_capacity = m_size;
    m_owns = false;
    m_readOnly = false;
}

void QVMemStream::Attach(const void* buffer, int size)
{
    // The const form only ever reads, so dropping const here is never acted upon.
    Attach(const_cast<void*>(buffer), size);
    m_readOnly = true;
}

int QVMemStream::Read(void* destination, int n)
{
    if (n < 0 || n > m_size - m_cursor)
    {
        return 0;
    }
    if (n > 0)
    {
        std::memcpy(destination, m_buffer + m_cursor, static_cast<std::size_t>(n));
        m_cursor += n;
    }
    return n;
}

bool QVMemStream::Reserve(int bytes)
{
    if (bytes <= m_capacity)
    {
        return true;
    }
    // Doubling keeps a run of small writes from copying the buffer every time.
    long long grown = m_capacity > 0 ? static_cast<long long>(m_capacity) * 2 : 16;
    if (grown < bytes)
    {
        grown = bytes;
    }
    if (grown > INT_MAX)
    {
        grown = INT_MAX;
    }
    void* block = nullptr;
    QVHookAllocate(&block, static_cast<int>(grown));
    if (block == nullptr)
    {
        return false;
    }
    if (m_size > 0)
    {
        std::memcpy(block, m_buffer, static_cast<std::size_t>(m_size));
    }
    void* old = m_buffer;
    QVHookFree(&old);
    m_buffer = static_cast<unsigned char*>(block);
    m_capacity = static_cast<std::int32_t>(grown);
    return true;
}

int QVMemStream::Write(const void* source, int n)
{
    if (n < 0 || m_readOnly || n > INT_MAX - m_offset)
    {
        return 0;
    }
    const int end = m_offset + n;
    if (end > m_capacity && !(m_owns && Reserve(end)))
    {
        return 0;
    }
    if (n > 0)
    {
        std::memcpy(m_buffer + m_offset, source, static_cast<std::size_t>(n));
        m_offset = end;
        if (m_owns && end > m_size)
        {
            m_size = end;
        }
    }
    return n;
}

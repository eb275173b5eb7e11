#include "loaders/detail/ReplacingFile.h"

#include "loaders/detail/FileOpen.h"

ReplacingFile::ReplacingFile(const QVString& target)
    : m_target(target), m_temporary(target), m_stream(nullptr), m_opened(false), m_failed(false)
{
    m_temporary.Append(".tmp");
    m_stream = target.GetLength() == 0 ? nullptr : QVOpenFile(m_temporary, "wb");
    m_opened = m_stream != nullptr;
    m_failed = !m_opened;
}

ReplacingFile::~ReplacingFile() { Discard(); }

bool ReplacingFile::Write(const void* bytes, std::size_t size)
{
    if (m_failed)
    {
        return false;
    }
    if (size > 0 && std::fwrite(bytes, 1, size, m_stream) != size)
    {
        m_failed = true;
    }
    return !m_failed;
}

bool ReplacingFile::Commit()
{
    if (m_failed)
    {
        return false;
    }
    const bool closed = std::fclose(m_stream) == 0;
    m_stream = nullptr;
    m_failed = true;  // nothing more to write, whatever follows
    if (closed && QVReplaceFile(m_temporary, m_target))
    {
        m_opened = false;  // the temporary file is the target now
        return true;
    }
    Discard();
    return false;
}

void ReplacingFile::Discard()
{
    if (m_stream != nullptr)
    {
        std::fclose(m_stream);
        m_stream = nullptr;
    }
    if (m_opened)
    {
        QVRemoveFile(m_temporary);
        m_opened = false;
    }
}

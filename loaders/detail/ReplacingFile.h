#pragma once

#include "core/string/QVString.h"

#include <cstddef>
#include <cstdio>

// A file that is written in full or not at all. The bytes go to a temporary file beside the
// target (the target's name plus ".tmp", so on the same file system), which replaces the target
// only when Commit finds every byte written, flushed and closed. Until then, and after any
// failure, the target keeps its old contents (or stays absent) and the temporary file is removed.
class ReplacingFile
{
public:
    // Opens the temporary file for binary output; Write fails when that was not possible.
    explicit ReplacingFile(const QVString& target);
    // Removes the temporary file unless Commit replaced the target with it.
    ~ReplacingFile();

    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Appends size bytes; false (and every later Write and Commit false) when they were not all
    // written.
    bool Write(const void* bytes, std::size_t size);

    // Closes the temporary file and moves it over the target. True only when every Write
    // succeeded, the close flushed everything and the move succeeded.
    bool Commit();

private:
    void Discard();

    QVString m_target;
    QVString m_temporary;
    std::FILE* m_stream;  // null once closed or when the open failed
    bool m_opened;        // the temporary file exists and is ours to remove
    bool m_failed;
};

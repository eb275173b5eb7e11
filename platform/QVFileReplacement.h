#pragma once

#include <cstdio>
#include <string>

// Writing a whole new version of a file so that a failed write costs nothing: the data goes to
// a new temporary file beside the file, which is moved over it only once it is complete. Until
// then the old version (or the absence of one) stays as it was, and nothing else is ever removed.
//
// Only regular files are replaced this way, and names of nothing yet. Symbolic links are
// followed: the link stays a link and the file it names gets the new version, as it would when
// written through the link. Any other path (a device, a FIFO, a directory, a link to nothing) is
// no file to replace: Begin says so, and callers either write it in place or refuse it, but never
// remove it.
//
// Linux: the temporary file is created exclusively with the replaced file's permissions (a new
// file's follow the umask), flushed to disk before the move, and rename moves it atomically.
// Windows: the move is MoveFileEx with replacing.
class QVFileReplacement
{
public:
    enum Start
    {
        Started,   // the temporary file is open for writing
        NotAFile,  // the path names something other than a regular file (see above)
        Failed     // no temporary file could be made: missing or unwritable directory, bad name
    };

    QVFileReplacement();
    // Discards a replacement that was begun and not committed.
    ~QVFileReplacement();

    QVFileReplacement(const QVFileReplacement&) = delete;
    QVFileReplacement& operator=(const QVFileReplacement&) = delete;

    // Creates the temporary file for a new version of path (the target's narrow file names) and
    // opens it for binary writing. A replacement begun before is discarded first.
    Start Begin(const char* path);
    // The same for a path of 16-bit units (UTF-16; converted to UTF-8 on Linux). A lone
    // surrogate in it fails.
    Start Begin(const unsigned short* path);

    // The temporary file's stream while begun, else null. Owned by the replacement: write to it,
    // never close it.
    std::FILE* GetStream() const { return m_stream; }

    // Closes the temporary file and moves it over the file. False when flushing, closing or the
    // move fails, or nothing was begun; the temporary file is removed then and the file untouched.
    bool Commit();
    // Closes and removes the temporary file; the file stays untouched.
    void Discard();

private:
    std::FILE* m_stream;      // the temporary file, null when nothing is begun
    std::string m_temporary;  // names in this target's form: bytes on Linux, UTF-8 on Windows
    std::string m_target;
};

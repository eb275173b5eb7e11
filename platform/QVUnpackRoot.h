#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The file-system side of unpacking an applet package: directories and files created below one
// root directory, and nowhere else.
//
// Paths are given as their components (no separators, never empty, "." or ".."), already
// confined by the caller. The root still guards itself: nothing on the way is followed out of
// it (an existing symbolic link or junction inside the root is never entered or written
// through), and a component that would name something other than a plain file here is refused
// (Windows: device names such as CON or COM1, the characters < > : " | ? * and control
// characters, a trailing dot or blank).
//
// A new file is written under its own name (created exclusively) and removed again when it
// fails; a file that replaces another is written to a temporary file beside it and moved over
// it only once complete. So an entry that fails halfway leaves nothing behind, and an older file
// of that name stays as it was.
//
// Linux: names are bytes as stored; directories are opened one by one with O_NOFOLLOW; a file
// gets the permission bits of its attributes and its access and write times (there is no
// creation time). Windows: names are UTF-8 or the archive's DOS code page, turned into 16-bit
// names; files are created with their attributes and get creation, access and write times.

// What an entry asks of its file.
struct QVUnpackAttributes
{
    bool readOnly = false;
    bool hidden = false;
    bool system = false;
    bool archive = false;
    // The permission bits of a Unix mode (0 to 0777), or -1 when the entry holds none: the file
    // then gets the default permissions (0666 less the umask), without write bits when read-only.
    int unixPermissions = -1;
};

// Times of a file, in seconds since 1970-01-01 UTC.
struct QVUnpackTimes
{
    std::int64_t creation = 0;
    std::int64_t access = 0;
    std::int64_t write = 0;
};

class QVUnpackRoot
{
public:
    QVUnpackRoot();
    // Discards a file that was begun and not committed, and closes the root.
    ~QVUnpackRoot();
    QVUnpackRoot(const QVUnpackRoot&) = delete;
    QVUnpackRoot& operator=(const QVUnpackRoot&) = delete;

    // Opens the directory below which everything is created. False when it is no directory.
    bool Open(const char* directory);
    void Close();

    // Creates the directory named by path below the root, with its missing parents. True when
    // it exists afterwards. utf8 says how the components' bytes are to be read (see above).
    bool MakeDirectories(const std::vector<std::string>& path, bool utf8);

    // From now on at most count more directories are made (by MakeDirectories and BeginFile):
    // a path that needs more is refused where it would exceed them, the ones made on its way
    // staying. Unbounded until set.
    void LimitNewDirectories(std::uint64_t count);
    // The directories made since the root was opened (that were not there before).
    std::uint64_t GetDirectoriesMade() const;

    // Creates the missing parent directories of path and the new file (or, when the name is
    // taken, a temporary file beside it), open for writing. False (nothing begun) when the way
    // is blocked or the name refused.
    bool BeginFile(const std::vector<std::string>& path, bool utf8,
                   const QVUnpackAttributes& attributes);
    // Appends to the file begun. False on a write error.
    bool Write(const void* data, std::size_t size);
    // Gives the file its attributes and times and moves it into place, replacing a file of that
    // name (not a directory). False, nothing left behind, when any of it fails.
    bool CommitFile(const QVUnpackTimes& times);
    // Removes the file begun.
    void DiscardFile();

private:
    struct State;
    State* m_state;
};

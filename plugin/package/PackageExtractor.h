#pragma once

#include <cstdint>

// What unpacking a package did.
struct QVUnpackReport
{
    unsigned long entries = 0;      // entries the archive lists
    unsigned long files = 0;        // files written
    unsigned long directories = 0;  // directory entries made
    unsigned long skipped = 0;      // entries left out: unreadable, refused or over the limit
    std::uint64_t bytes = 0;        // bytes written into files
};

// Unpacks a package (a zip archive of stored and deflated entries, read through minizip) below
// a directory, every entry in archive order, as the applet runner needs it:
//
// - each stored name is confined to the directory (EntryName.h) and created there through
//   QVUnpackRoot, which never leaves it; a name that is empty after confinement is skipped;
// - a directory entry makes the directory with its missing parents and writes nothing;
// - a file entry makes its missing parent directories, and its data is written in pieces of
//   16384 bytes to a new file that replaces one of the same name once it is complete, with the
//   entry's attributes and times (EntryInfo.h);
// - an entry that cannot be read, decompressed (bad data, wrong CRC) or written is skipped and
//   leaves nothing behind; the next one is unpacked all the same.
//
// A hostile package cannot fill the disk: the bytes written stay within a limit (1 GiB unless
// the host sets another), an entry whose declared size does not fit in what is left is skipped
// before anything is written, and an entry whose data is longer or shorter than its declared
// size is skipped too.
class QVPackageExtractor
{
public:
    static constexpr std::uint64_t DefaultByteLimit = std::uint64_t(1) << 30;
    // Size of the pieces in which file data is decompressed and written.
    static constexpr unsigned PieceSize = 16384;

    QVPackageExtractor() = default;

    void SetByteLimit(std::uint64_t bytes) { m_byteLimit = bytes; }
    std::uint64_t GetByteLimit() const { return m_byteLimit; }

    // Unpacks the package file below directory. A file that cannot be opened as a zip archive
    // (missing, not a zip) has no entries; a directory that cannot be opened gets nothing and
    // every entry counts as skipped.
    QVUnpackReport Unpack(const char* packagePath, const char* directory) const;

private:
    std::uint64_t m_byteLimit = DefaultByteLimit;
};

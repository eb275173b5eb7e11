#pragma once

#include <cstddef>
#include <cstdint>

// What unpacking a package did.
struct QVUnpackReport
{
    unsigned long entries = 0;      // entries the archive lists
    unsigned long files = 0;        // files written
    unsigned long directories = 0;  // directory entries made
    unsigned long skipped = 0;      // entries left out: unreadable, refused or over a limit
    std::uint64_t bytes = 0;        // bytes written into files
    std::uint64_t charged = 0;      // what was charged against the limit (whole blocks)
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
// A hostile package cannot fill the disk, nor make a tree out of proportion to itself:
// - what it unpacks is charged against a limit (1 GiB unless the host sets another) in blocks of
//   4 KiB, as a file system spends them: a file costs its size in whole blocks, at least one
//   (so empty files are not free), every directory made costs one, and a directory entry at
//   least one even when its directory was there. An entry whose declared size does not fit in
//   what is left is skipped before anything is written; one whose path would make more
//   directories than are left is refused where it would exceed them;
// - only the first 65,535 entries are unpacked, and a path of more than 64 components is
//   skipped;
// - an entry whose data is longer or shorter than its declared size is skipped too.
// What exceeds a limit is skipped like an unreadable entry, and the next one is unpacked.
class QVPackageExtractor
{
public:
    static constexpr std::uint64_t DefaultByteLimit = std::uint64_t(1) << 30;
    static constexpr std::uint64_t BlockSize = 4096;
    static constexpr unsigned long DefaultEntryLimit = 65535;
    static constexpr std::size_t DefaultDepthLimit = 64;
    // Size of the pieces in which file data is decompressed and written.
    static constexpr unsigned PieceSize = 16384;

    QVPackageExtractor() = default;

    // The bytes (charged in whole blocks) one package may unpack.
    void SetByteLimit(std::uint64_t bytes) { m_byteLimit = bytes; }
    std::uint64_t GetByteLimit() const { return m_byteLimit; }
    // How many entries, in archive order, are unpacked at most; the rest are skipped.
    void SetEntryLimit(unsigned long entries) { m_entryLimit = entries; }
    unsigned long GetEntryLimit() const { return m_entryLimit; }
    // How many components an entry's confined path may have.
    void SetDepthLimit(std::size_t components) { m_depthLimit = components; }
    std::size_t GetDepthLimit() const { return m_depthLimit; }

    // Unpacks the package file below directory. A file that cannot be opened as a zip archive
    // (missing, not a zip) has no entries; a directory that cannot be opened gets nothing and
    // every entry counts as skipped.
    QVUnpackReport Unpack(const char* packagePath, const char* directory) const;

private:
    std::uint64_t m_byteLimit = DefaultByteLimit;
    unsigned long m_entryLimit = DefaultEntryLimit;
    std::size_t m_depthLimit = DefaultDepthLimit;
};

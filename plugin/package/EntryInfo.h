#pragma once

#include "platform/QVUnpackRoot.h"

#include <cstddef>
#include <cstdint>

// What a package entry's header says about the file it becomes: directory or file, attributes
// and times.
//
// Attributes by the host byte of "version made by": MS-DOS (0), Macintosh (7), NTFS (11) and
// VFAT (14) archives hold the DOS attribute byte in the low byte of the external attributes
// (read-only, hidden, system, directory, archive); any other host holds a Unix mode in their
// high 16 bits: read-only when the owner may not write, always archive, and its permission bits
// (without set-id and sticky bits). Only a regular file's mode gives permissions: an entry that
// says symbolic link, device or pipe is unpacked as a plain file with the default ones, and so
// is an entry of mode 0 (no mode recorded), read-only since its owner's write bit is clear.
//
// Times: the DOS date and time, read as local time and converted to UTC, for creation, access
// and write; an extended-timestamp block (tag "UT", 0x5455) in the extra field replaces each
// time it holds.

struct QVEntryHeader
{
    unsigned long versionMadeBy = 0;
    unsigned long externalAttributes = 0;
    unsigned long dosDateTime = 0;  // date in the high 16 bits, time in the low 16 bits
};

// Whether the entry is a directory: its name ends with a separator or its attributes say so.
bool IsDirectoryEntry(const QVEntryHeader& header, bool nameEndsWithSeparator);

// The attributes the entry's file is created with.
QVUnpackAttributes AttributesOf(const QVEntryHeader& header);

// The DOS date and time taken as local time, in seconds since 1970 UTC. A date the local clock
// cannot represent gives 1980-01-01 00:00 UTC, the first DOS date.
std::int64_t DosTimeToUnix(unsigned long dosDateTime);

// Replaces the times that an extended-timestamp block of extra holds (bit 0 of its flags the
// write time, bit 1 the access time, bit 2 the creation time, each a signed 32-bit Unix time
// when present). The blocks are walked within size; a block or a time that runs past its end is
// not read. Returns whether a block was found.
bool ApplyExtendedTimestamp(const unsigned char* extra, std::size_t size, QVUnpackTimes& times);

// The times from the DOS date and time alone.
QVUnpackTimes TimesOf(const QVEntryHeader& header);

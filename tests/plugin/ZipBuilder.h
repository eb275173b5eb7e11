#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes zip archives entry by entry with minizip's own zip API, in raw mode: the builder
// deflates the data itself, so that a test can give any name, host, attributes, times and extra
// fields, and can also damage an entry (wrong CRC, cut data, a declared size that lies).
struct ZipEntry
{
    std::string name;
    std::string data;
    // Zero bytes after data, produced while deflating (for entries far larger than memory should
    // hold, such as compression bombs).
    std::uint64_t zeros = 0;
    bool deflate = true;
    // "Version made by": host in the high byte (0 MS-DOS, 3 Unix, 11 NTFS, ...), version 2.0.
    unsigned long versionMadeBy = (3ul << 8) | 20;
    unsigned long externalAttributes = 0100644ul << 16;  // a Unix regular file, rw-r--r--
    unsigned long dosDateTime = 0;                       // 0: 2020-06-15 12:30:44
    std::string localExtra;
    std::string centralExtra;
    bool utf8Name = false;

    // Damage. A CRC or size of -1 means the true one.
    long long crc = -1;
    long long declaredSize = -1;
    // Stored bytes cut to this many (-1: all of them).
    long long cutStoredBytes = -1;
};

// DOS date and time (date in the high 16 bits).
unsigned long DosDateTime(int year, int month, int day, int hour, int minute, int second);

// An extended-timestamp ("UT") extra block: the flags, then the times whose bits are set
// (bit 0 write, bit 1 access, bit 2 creation), each a signed 32-bit Unix time.
std::string ExtendedTimestamp(unsigned flags, std::int32_t write, std::int32_t access = 0,
                              std::int32_t creation = 0);

// A Unix regular file entry with the given permission bits.
ZipEntry UnixFile(const std::string& name, const std::string& data, unsigned long mode = 0644);
// A directory entry (name ending with '/').
ZipEntry Directory(const std::string& name);
// An MS-DOS host file entry with the given DOS attribute byte.
ZipEntry DosFile(const std::string& name, const std::string& data, unsigned long attributes);

// Writes the archive; false when minizip fails.
bool WriteZip(const std::string& path, const std::vector<ZipEntry>& entries);

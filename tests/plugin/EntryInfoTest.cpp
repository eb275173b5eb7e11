// What an entry's header says: directory or file, the attributes by host, the times.
#include "plugin/package/EntryInfo.h"

#include "ZipBuilder.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
const unsigned long MsDos = 0, Unix = 3, Macintosh = 7, Ntfs = 11, Vfat = 14, OsX = 19;

QVEntryHeader Header(unsigned long host, unsigned long external)
{
    QVEntryHeader header;
    header.versionMadeBy = (host << 8) | 20;
    header.externalAttributes = external;
    return header;
}

unsigned long Mode(unsigned long mode) { return mode << 16; }

struct AttributeCase
{
    const char* what;
    unsigned long host;
    unsigned long external;
    bool directory;
    bool readOnly, hidden, system, archive;
    int permissions;
};

const AttributeCase AttributeCases[] = {
    // DOS-like hosts: the low byte is the DOS attribute byte.
    {"DOS read-only", MsDos, 0x01, false, true, false, false, false, -1},
    {"DOS hidden", MsDos, 0x02, false, false, true, false, false, -1},
    {"DOS system", MsDos, 0x04, false, false, false, true, false, -1},
    {"DOS archive", MsDos, 0x20, false, false, false, false, true, -1},
    {"DOS all", MsDos, 0x27, false, true, true, true, true, -1},
    {"DOS directory", MsDos, 0x10, true, false, false, false, false, -1},
    {"DOS bits with a mode beside", MsDos, Mode(0100444) | 0x20, false, false, false, false, true,
     -1},
    {"Macintosh", Macintosh, 0x03, false, true, true, false, false, -1},
    {"NTFS", Ntfs, 0x21, false, true, false, false, true, -1},
    {"VFAT", Vfat, 0x16, true, false, true, true, false, -1},
    // Other hosts: the high 16 bits are a Unix mode.
    {"Unix 0644", Unix, Mode(0100644), false, false, false, false, true, 0644},
    {"Unix 0444 read-only", Unix, Mode(0100444), false, true, false, false, true, 0444},
    {"Unix 0755", Unix, Mode(0100755), false, false, false, false, true, 0755},
    {"Unix setuid dropped", Unix, Mode(0104755), false, false, false, false, true, 0755},
    {"Unix setgid and sticky dropped", Unix, Mode(0103777), false, false, false, false, true, 0777},
    {"Unix DOS bits ignored", Unix, Mode(0100600) | 0x07, false, false, false, false, true, 0600},
    {"Unix permissions without type", Unix, Mode(0000640), false, false, false, false, true, 0640},
    {"Unix directory", Unix, Mode(0040755), true, false, false, false, true, -1},
    {"Unix symbolic link is a plain file", Unix, Mode(0120777), false, false, false, false, true,
     -1},
    {"Unix pipe is a plain file", Unix, Mode(0010644), false, false, false, false, true, -1},
    {"Unix no mode recorded: read-only", Unix, 0, false, true, false, false, true, -1},
    {"OS X mode", OsX, Mode(0100500), false, true, false, false, true, 0500},
};

struct TimestampCase
{
    const char* what;
    std::string extra;
    bool found;
    std::int64_t write, access, creation;  // expected, from 1, 2, 3 before
};

std::string Block(unsigned tag, const std::string& body)
{
    std::string block;
    block += static_cast<char>(tag & 0xFF);
    block += static_cast<char>(tag >> 8);
    block += static_cast<char>(body.size() & 0xFF);
    block += static_cast<char>(body.size() >> 8);
    return block + body;
}

std::string WithLength(std::string block, unsigned length)
{
    block[2] = static_cast<char>(length & 0xFF);
    block[3] = static_cast<char>(length >> 8);
    return block;
}

const TimestampCase TimestampCases[] = {
    {"all three", ExtendedTimestamp(7, 100, 200, 300), true, 100, 200, 300},
    {"write only", ExtendedTimestamp(1, 100), true, 100, 2, 3},
    {"write and access", ExtendedTimestamp(3, 100, 200), true, 100, 200, 3},
    {"write and creation", ExtendedTimestamp(5, 100, 0, 300), true, 100, 2, 300},
    {"central copy: flags for three, the write time only",
     WithLength(ExtendedTimestamp(1, 100), 5).replace(4, 1, 1, '\x07'), true, 100, 2, 3},
    {"before 1970", ExtendedTimestamp(1, -86400), true, -86400, 2, 3},
    {"after another block",
     Block(0x7875, std::string("\x01\x04\xe8\x03\x00\x00\x04\xe8\x03\x00\x00", 11)) +
         ExtendedTimestamp(7, 100, 200, 300),
     true, 100, 200, 300},
    {"block longer than the field", WithLength(ExtendedTimestamp(7, 100, 200, 300), 40), false, 1,
     2, 3},
    {"time cut by its block", WithLength(ExtendedTimestamp(1, 100), 3), true, 1, 2, 3},
    {"empty block", Block(0x5455, ""), false, 1, 2, 3},
    {"header cut short", std::string("UT\x05", 3), false, 1, 2, 3},
    {"nothing", "", false, 1, 2, 3},
    {"other blocks only", Block(0x000a, std::string(32, '\0')), false, 1, 2, 3},
};
}  // namespace

TEST(EntryInfo, AttributesByHost)
{
    for (const AttributeCase& c : AttributeCases)
    {
        const QVEntryHeader header = Header(c.host, c.external);
        const QVUnpackAttributes attributes = AttributesOf(header);
        EXPECT_EQ(c.directory, IsDirectoryEntry(header, false)) << c.what;
        EXPECT_EQ(c.readOnly, attributes.readOnly) << c.what;
        EXPECT_EQ(c.hidden, attributes.hidden) << c.what;
        EXPECT_EQ(c.system, attributes.system) << c.what;
        EXPECT_EQ(c.archive, attributes.archive) << c.what;
        EXPECT_EQ(c.permissions, attributes.unixPermissions) << c.what;
        // A name ending with a separator is a directory whatever the attributes say.
        EXPECT_TRUE(IsDirectoryEntry(header, true)) << c.what;
    }
}

TEST(EntryInfo, ExtendedTimestampReplacesTheTimesItHolds)
{
    for (const TimestampCase& c : TimestampCases)
    {
        QVUnpackTimes times;
        times.write = 1;
        times.access = 2;
        times.creation = 3;
        const auto* bytes = reinterpret_cast<const unsigned char*>(c.extra.data());
        EXPECT_EQ(c.found, ApplyExtendedTimestamp(bytes, c.extra.size(), times)) << c.what;
        EXPECT_EQ(c.write, times.write) << c.what;
        EXPECT_EQ(c.access, times.access) << c.what;
        EXPECT_EQ(c.creation, times.creation) << c.what;
    }
}

TEST(EntryInfo, DosTimeGivesAllThreeTimesInTwoSecondSteps)
{
    QVEntryHeader header;
    header.dosDateTime = DosDateTime(2020, 6, 15, 12, 30, 45);
    const QVUnpackTimes times = TimesOf(header);
    EXPECT_EQ(times.write, times.access);
    EXPECT_EQ(times.write, times.creation);
    // 45 seconds are stored as 44: one DOS step later is two seconds later.
    EXPECT_EQ(DosTimeToUnix(DosDateTime(2020, 6, 15, 12, 30, 46)), times.write + 2);
    EXPECT_EQ(DosTimeToUnix(DosDateTime(2020, 6, 15, 12, 31, 44)), times.write + 60);
}

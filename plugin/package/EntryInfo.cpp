#include "plugin/package/EntryInfo.h"

#include <ctime>

namespace
{
const unsigned long DosReadOnly = 0x01;
const unsigned long DosHidden = 0x02;
const unsigned long DosSystem = 0x04;
const unsigned long DosDirectory = 0x10;
const unsigned long DosArchive = 0x20;

const unsigned long ModeTypeMask = 0170000;
const unsigned long ModeDirectory = 0040000;
const unsigned long ModeRegular = 0100000;
const unsigned long ModeOwnerWrite = 0200;

const unsigned ExtendedTimestampTag = 0x5455;

bool IsDosLikeHost(const QVEntryHeader& header)
{
    const unsigned long host = (header.versionMadeBy >> 8) & 0xFF;
    return host == 0 || host == 7 || host == 11 || host == 14;
}

unsigned long UnixMode(const QVEntryHeader& header)
{
    return (header.externalAttributes >> 16) & 0xFFFF;
}

unsigned ReadLittle16(const unsigned char* p) { return p[0] | (p[1] << 8); }

std::int32_t ReadLittle32(const unsigned char* p)
{
    const std::uint32_t value =
        static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
        (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    return static_cast<std::int32_t>(value);
}
}  // namespace

bool IsDirectoryEntry(const QVEntryHeader& header, bool nameEndsWithSeparator)
{
    if (nameEndsWithSeparator)
        return true;
    if (IsDosLikeHost(header))
        return (header.externalAttributes & DosDirectory) != 0;
    return (UnixMode(header) & ModeTypeMask) == ModeDirectory;
}

QVUnpackAttributes AttributesOf(const QVEntryHeader& header)
{
    QVUnpackAttributes attributes;
    if (IsDosLikeHost(header))
    {
        const unsigned long dos = header.externalAttributes & 0xFF;
        attributes.readOnly = (dos & DosReadOnly) != 0;
        attributes.hidden = (dos & DosHidden) != 0;
        attributes.system = (dos & DosSystem) != 0;
        attributes.archive = (dos & DosArchive) != 0;
        return attributes;
    }
    const unsigned long mode = UnixMode(header);
    attributes.archive = true;
    // Mode 0 (a Unix host that recorded none) has the owner's write bit clear like any other:
    // read-only, with the default permissions less the write bits rather than none at all.
    attributes.readOnly = (mode & ModeOwnerWrite) == 0;
    if (mode == 0)
        return attributes;
    const unsigned long type = mode & ModeTypeMask;
    if (type == ModeRegular || type == 0)
        attributes.unixPermissions = static_cast<int>(mode & 0777);
    return attributes;
}

std::int64_t DosTimeToUnix(unsigned long dosDateTime)
{
    std::tm local = {};
    local.tm_year = static_cast<int>(((dosDateTime >> 25) & 0x7F) + 80);
    local.tm_mon = static_cast<int>(((dosDateTime >> 21) & 0x0F)) - 1;
    local.tm_mday = static_cast<int>((dosDateTime >> 16) & 0x1F);
    local.tm_hour = static_cast<int>((dosDateTime >> 11) & 0x1F);
    local.tm_min = static_cast<int>((dosDateTime >> 5) & 0x3F);
    local.tm_sec = static_cast<int>((dosDateTime & 0x1F) * 2);
    local.tm_isdst = -1;  // whatever daylight saving time said on that date
    const std::time_t seconds = std::mktime(&local);
    if (seconds == static_cast<std::time_t>(-1))
        return 315532800;
    return static_cast<std::int64_t>(seconds);
}

QVUnpackTimes TimesOf(const QVEntryHeader& header)
{
    QVUnpackTimes times;
    times.creation = times.access = times.write = DosTimeToUnix(header.dosDateTime);
    return times;
}

bool ApplyExtendedTimestamp(const unsigned char* extra, std::size_t size, QVUnpackTimes& times)
{
    if (extra == nullptr)
        return false;
    std::size_t position = 0;
    while (size - position >= 4)
    {
        const unsigned tag = ReadLittle16(extra + position);
        const std::size_t length = ReadLittle16(extra + position + 2);
        const unsigned char* data = extra + position + 4;
        if (length > size - position - 4)
            return false;  // a block that claims more than is there ends the walk
        if (tag == ExtendedTimestampTag && length >= 1)
        {
            const unsigned flags = data[0];
            std::int64_t* const targets[3] = {&times.write, &times.access, &times.creation};
            std::size_t offset = 1;
            for (int bit = 0; bit < 3; ++bit)
            {
                if (!(flags & (1u << bit)))
                    continue;
                // The central directory's copy holds only the write time, whatever the flags say.
                if (length - offset < 4)
                    break;
                *targets[bit] = ReadLittle32(data + offset);
                offset += 4;
            }
            return true;
        }
        position += 4 + length;
    }
    return false;
}

#include "ZipBuilder.h"

#include <zip.h>
#include <zlib.h>

namespace
{
const unsigned long DefaultDosTime = DosDateTime(2020, 6, 15, 12, 30, 44);

// Raw deflate (no zlib header) of data followed by zeros; also its CRC and size.
std::string Deflate(const ZipEntry& entry, bool compress, unsigned long& crc, std::uint64_t& size)
{
    crc = crc32(0L, Z_NULL, 0);
    size = entry.data.size() + entry.zeros;
    std::string out;
    z_stream stream = {};
    if (compress)
        deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::vector<unsigned char> buffer(1 << 16);
    const std::string zeros(1 << 16, '\0');
    std::uint64_t zerosLeft = entry.zeros;
    bool dataDone = false;
    for (bool last = false; !last;)
    {
        const std::string* input = &entry.data;
        std::size_t length = entry.data.size();
        if (dataDone)
        {
            input = &zeros;
            length = zerosLeft < zeros.size() ? static_cast<std::size_t>(zerosLeft) : zeros.size();
            zerosLeft -= length;
        }
        dataDone = true;
        last = zerosLeft == 0;
        crc = crc32(crc, reinterpret_cast<const Bytef*>(input->data()), static_cast<uInt>(length));
        if (!compress)
        {
            out.append(*input, 0, length);
            continue;
        }
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input->data()));
        stream.avail_in = static_cast<uInt>(length);
        do
        {
            stream.next_out = buffer.data();
            stream.avail_out = static_cast<uInt>(buffer.size());
            deflate(&stream, last ? Z_FINISH : Z_NO_FLUSH);
            out.append(reinterpret_cast<const char*>(buffer.data()),
                       buffer.size() - stream.avail_out);
        } while (stream.avail_out == 0);
    }
    if (compress)
        deflateEnd(&stream);
    return out;
}
}  // namespace

unsigned long DosDateTime(int year, int month, int day, int hour, int minute, int second)
{
    const unsigned long date = (static_cast<unsigned long>(year - 1980) << 9) |
                               (static_cast<unsigned long>(month) << 5) |
                               static_cast<unsigned long>(day);
    const unsigned long time = (static_cast<unsigned long>(hour) << 11) |
                               (static_cast<unsigned long>(minute) << 5) |
                               static_cast<unsigned long>(second / 2);
    return (date << 16) | time;
}

std::string ExtendedTimestamp(unsigned flags, std::int32_t write, std::int32_t access,
                              std::int32_t creation)
{
    std::string body(1, static_cast<char>(flags));
    const std::int32_t times[3] = {write, access, creation};
    for (int bit = 0; bit < 3; ++bit)
    {
        if (!(flags & (1u << bit)))
            continue;
        const std::uint32_t value = static_cast<std::uint32_t>(times[bit]);
        for (int shift = 0; shift < 32; shift += 8)
            body += static_cast<char>((value >> shift) & 0xFF);
    }
    std::string block = "UT";
    block += static_cast<char>(body.size() & 0xFF);
    block += static_cast<char>(body.size() >> 8);
    return block + body;
}

ZipEntry UnixFile(const std::string& name, const std::string& data, unsigned long mode)
{
    ZipEntry entry;
    entry.name = name;
    entry.data = data;
    entry.externalAttributes = (0100000ul | mode) << 16;
    return entry;
}

ZipEntry Directory(const std::string& name)
{
    ZipEntry entry;
    entry.name = name;
    entry.deflate = false;
    entry.externalAttributes = (0040755ul << 16) | 0x10;
    return entry;
}

ZipEntry DosFile(const std::string& name, const std::string& data, unsigned long attributes)
{
    ZipEntry entry;
    entry.name = name;
    entry.data = data;
    entry.versionMadeBy = 20;  // MS-DOS host
    entry.externalAttributes = attributes;
    return entry;
}

bool WriteZip(const std::string& path, const std::vector<ZipEntry>& entries)
{
    zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    if (zip == nullptr)
        return false;
    bool ok = true;
    for (const ZipEntry& entry : entries)
    {
        unsigned long crc = 0;
        std::uint64_t size = 0;
        std::string stored = Deflate(entry, entry.deflate, crc, size);
        if (entry.cutStoredBytes >= 0 &&
            static_cast<std::size_t>(entry.cutStoredBytes) < stored.size())
            stored.resize(static_cast<std::size_t>(entry.cutStoredBytes));
        if (entry.crc >= 0)
            crc = static_cast<unsigned long>(entry.crc);
        if (entry.declaredSize >= 0)
            size = static_cast<std::uint64_t>(entry.declaredSize);

        zip_fileinfo info = {};
        info.dosDate = entry.dosDateTime != 0 ? entry.dosDateTime : DefaultDosTime;
        info.external_fa = entry.externalAttributes;
        const int zip64 = size >= 0xffffffffu || stored.size() >= 0xffffffffu ? 1 : 0;
        ok = zipOpenNewFileInZip4_64(
                 zip, entry.name.c_str(), &info,
                 entry.localExtra.empty() ? nullptr : entry.localExtra.data(),
                 static_cast<uInt>(entry.localExtra.size()),
                 entry.centralExtra.empty() ? nullptr : entry.centralExtra.data(),
                 static_cast<uInt>(entry.centralExtra.size()), nullptr,
                 entry.deflate ? Z_DEFLATED : 0, Z_DEFAULT_COMPRESSION, 1, -MAX_WBITS, 8,
                 Z_DEFAULT_STRATEGY, nullptr, 0, entry.versionMadeBy,
                 entry.utf8Name ? (1ul << 11) : 0, zip64) == ZIP_OK;
        for (std::size_t at = 0; ok && at < stored.size(); at += 1 << 20)
        {
            const std::size_t piece =
                stored.size() - at < (1u << 20) ? stored.size() - at : (1u << 20);
            ok = zipWriteInFileInZip(zip, stored.data() + at, static_cast<unsigned>(piece)) ==
                 ZIP_OK;
        }
        ok = zipCloseFileInZipRaw64(zip, size, crc) == ZIP_OK && ok;
        if (!ok)
            break;
    }
    return zipClose(zip, nullptr) == ZIP_OK && ok;
}

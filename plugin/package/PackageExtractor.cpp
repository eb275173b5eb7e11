#include "plugin/package/PackageExtractor.h"

#include "platform/UnpackRoot.h"
#include "plugin/package/EntryDecoder.h"
#include "plugin/package/EntryInfo.h"
#include "plugin/package/EntryName.h"

#include <unzip.h>

#include <string>
#include <vector>

namespace
{
// General purpose flag bit 11: the name is UTF-8.
const unsigned long NameIsUtf8 = 1ul << 11;

// The zip archive, closed with the object.
class Archive
{
public:
    explicit Archive(const char* path) : m_file(path != nullptr ? unzOpen64(path) : nullptr) {}
    ~Archive()
    {
        if (m_file != nullptr)
            unzClose(m_file);
    }
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;
    unzFile Get() const { return m_file; }

private:
    unzFile m_file;
};

// The times of the entry open in zip: its DOS time, replaced by what an extended timestamp in
// the central directory and then in the local header holds (the local one has every time).
QVUnpackTimes EntryTimes(unzFile zip, const QVEntryHeader& header,
                         const std::vector<unsigned char>& centralExtra)
{
    QVUnpackTimes times = TimesOf(header);
    ApplyExtendedTimestamp(centralExtra.data(), centralExtra.size(), times);
    const int localSize = unzGetLocalExtrafield(zip, nullptr, 0);
    if (localSize > 0)
    {
        std::vector<unsigned char> local(static_cast<std::size_t>(localSize));
        const int read = unzGetLocalExtrafield(zip, local.data(), static_cast<unsigned>(localSize));
        if (read > 0)
            ApplyExtendedTimestamp(local.data(), static_cast<std::size_t>(read), times);
    }
    return times;
}

class EntryUnpacker
{
public:
    EntryUnpacker(unzFile zip, QVUnpackRoot& root, std::uint64_t limit, QVUnpackReport& report)
        : m_zip(zip), m_root(root), m_limit(limit), m_report(report),
          m_buffer(QVPackageExtractor::PieceSize)
    {
    }

    // Unpacks the archive's current entry; true when it was written or made.
    bool Unpack()
    {
        unz_file_info64 info;
        if (unzGetCurrentFileInfo64(m_zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
            return false;
        // One byte more than the name, so that minizip terminates it.
        std::vector<char> name(info.size_filename + 1, '\0');
        std::vector<unsigned char> extra(info.size_file_extra);
        if (unzGetCurrentFileInfo64(m_zip, &info, name.data(), static_cast<uLong>(name.size()),
                                    extra.empty() ? nullptr : extra.data(),
                                    static_cast<uLong>(extra.size()), nullptr, 0) != UNZ_OK)
            return false;

        const std::string stored(name.data());
        const std::vector<std::string> path = ConfineEntryName(stored);
        if (path.empty())
            return false;
        const bool utf8 = (info.flag & NameIsUtf8) != 0;
        QVEntryHeader header;
        header.versionMadeBy = info.version;
        header.externalAttributes = info.external_fa;
        header.dosDateTime = info.dosDate;

        if (IsDirectoryEntry(header, EndsWithSeparator(stored)))
        {
            if (!m_root.MakeDirectories(path, utf8))
                return false;
            ++m_report.directories;
            return true;
        }
        return UnpackFile(info, header, extra, path, utf8);
    }

private:
    bool UnpackFile(const unz_file_info64& info, const QVEntryHeader& header,
                    const std::vector<unsigned char>& extra, const std::vector<std::string>& path,
                    bool utf8)
    {
        const std::uint64_t declared = info.uncompressed_size;
        if (declared > m_limit - m_report.bytes)
            return false;
        EntryDecoder data(m_zip, declared, info.crc);
        if (!data.Open())
            return false;
        const QVUnpackTimes times = EntryTimes(m_zip, header, extra);
        if (!m_root.BeginFile(path, utf8, AttributesOf(header)))
            return false;
        for (;;)
        {
            const long piece = data.Next(m_buffer.data(), QVPackageExtractor::PieceSize);
            if (piece == 0)
                break;
            if (piece < 0 || !m_root.Write(m_buffer.data(), static_cast<std::size_t>(piece)))
            {
                m_root.DiscardFile();
                return false;
            }
        }
        if (!m_root.CommitFile(times))
            return false;
        ++m_report.files;
        m_report.bytes += declared;
        return true;
    }

    unzFile m_zip;
    QVUnpackRoot& m_root;
    std::uint64_t m_limit;
    QVUnpackReport& m_report;
    std::vector<unsigned char> m_buffer;
};
}  // namespace

QVUnpackReport QVPackageExtractor::Unpack(const char* packagePath, const char* directory) const
{
    QVUnpackReport report;
    Archive archive(packagePath);
    unz_global_info64 global;
    if (archive.Get() == nullptr || unzGetGlobalInfo64(archive.Get(), &global) != UNZ_OK)
        return report;
    report.entries = static_cast<unsigned long>(global.number_entry);

    QVUnpackRoot root;
    if (!root.Open(directory))
    {
        report.skipped = report.entries;
        return report;
    }
    EntryUnpacker unpacker(archive.Get(), root, m_byteLimit, report);
    unsigned long visited = 0;
    for (int status = unzGoToFirstFile(archive.Get()); status == UNZ_OK && visited < report.entries;
         status = unzGoToNextFile(archive.Get()))
    {
        ++visited;
        if (!unpacker.Unpack())
            ++report.skipped;
    }
    // Entries the directory lists but that could not be reached count as skipped.
    report.skipped += report.entries - visited;
    return report;
}

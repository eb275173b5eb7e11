#include "plugin/package/QVPackageExtractor.h"

#include "platform/QVUnpackRoot.h"
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

const std::uint64_t BlockSize = QVPackageExtractor::BlockSize;

// Whole blocks of size bytes, at least one.
std::uint64_t BlocksOf(std::uint64_t size)
{
    const std::uint64_t blocks = size / BlockSize + (size % BlockSize != 0 ? 1 : 0);
    return blocks > 0 ? blocks : 1;
}

class EntryUnpacker
{
public:
    EntryUnpacker(unzFile zip, QVUnpackRoot& root, std::uint64_t limit, std::size_t depthLimit,
                  QVUnpackReport& report)
        : m_zip(zip), m_root(root), m_limit(limit), m_depthLimit(depthLimit), m_report(report),
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
        if (path.empty() || path.size() > m_depthLimit)
            return false;
        const bool utf8 = (info.flag & NameIsUtf8) != 0;
        QVEntryHeader header;
        header.versionMadeBy = info.version;
        header.externalAttributes = info.external_fa;
        header.dosDateTime = info.dosDate;

        if (IsDirectoryEntry(header, EndsWithSeparator(stored)))
            return UnpackDirectory(path, utf8);
        return UnpackFile(info, header, extra, path, utf8);
    }

private:
    std::uint64_t BlocksLeft() const
    {
        return m_limit > m_report.charged ? (m_limit - m_report.charged) / BlockSize : 0;
    }

    // The directories made since `before`, whatever became of the entry: they stay.
    std::uint64_t ChargeDirectoriesMade(std::uint64_t before)
    {
        const std::uint64_t made = m_root.GetDirectoriesMade() - before;
        m_report.charged += made * BlockSize;
        return made;
    }

    bool UnpackDirectory(const std::vector<std::string>& path, bool utf8)
    {
        // At least one block, also for a directory that was there.
        const std::uint64_t left = BlocksLeft();
        if (left == 0)
            return false;
        m_root.LimitNewDirectories(left);
        const std::uint64_t before = m_root.GetDirectoriesMade();
        const bool made = m_root.MakeDirectories(path, utf8);
        if (ChargeDirectoriesMade(before) == 0 && made)
            m_report.charged += BlockSize;
        if (!made)
            return false;
        ++m_report.directories;
        return true;
    }

    bool UnpackFile(const unz_file_info64& info, const QVEntryHeader& header,
                    const std::vector<unsigned char>& extra, const std::vector<std::string>& path,
                    bool utf8)
    {
        const std::uint64_t declared = info.uncompressed_size;
        const std::uint64_t blocks = BlocksOf(declared);
        const std::uint64_t left = BlocksLeft();
        if (blocks > left)
            return false;
        EntryDecoder data(m_zip, declared, info.crc);
        if (!data.Open())
            return false;
        const QVUnpackTimes times = EntryTimes(m_zip, header, extra);
        // Its parent directories may take what the file leaves.
        m_root.LimitNewDirectories(left - blocks);
        const std::uint64_t before = m_root.GetDirectoriesMade();
        const bool begun = m_root.BeginFile(path, utf8, AttributesOf(header));
        ChargeDirectoriesMade(before);
        if (!begun)
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
        m_report.charged += blocks * BlockSize;
        return true;
    }

    unzFile m_zip;
    QVUnpackRoot& m_root;
    std::uint64_t m_limit;
    std::size_t m_depthLimit;
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
    EntryUnpacker unpacker(archive.Get(), root, m_byteLimit, m_depthLimit, report);
    // Entries beyond the entry limit are not even visited.
    const unsigned long wanted = report.entries < m_entryLimit ? report.entries : m_entryLimit;
    unsigned long visited = 0;
    for (int status = unzGoToFirstFile(archive.Get()); status == UNZ_OK && visited < wanted;
         status = unzGoToNextFile(archive.Get()))
    {
        ++visited;
        if (!unpacker.Unpack())
            ++report.skipped;
    }
    // Entries the directory lists but that could not be reached, or lie beyond the entry
    // limit, count as skipped.
    report.skipped += report.entries - visited;
    return report;
}

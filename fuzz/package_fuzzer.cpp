// The package layer on arbitrary bytes. Each input is written to a real package file and
// unpacked into a scratch directory, exactly as the applet runner unpacks a download. Beyond not
// crashing, the result must hold what the layer promises:
// - nothing appears outside the directory it unpacks into;
// - no temporary file is left behind;
// - what was made stays within the limits: the blocks of the files and directories on disk
//   within what was charged, and that within the byte limit; no more entries than the entry
//   limit, no path deeper than the depth limit; and the report adds up.
// The limits are small and picked by the input's length, so that every one of them is reached
// by inputs of a few kilobytes.
#include "plugin/package/QVPackageExtractor.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace
{
const char kInput[] = "fuzz-input.qva";
const char kScratch[] = "fuzz-unpack";

struct Limits
{
    std::uint64_t bytes;  // small, so that a bomb costs little; the limit itself is checked
    unsigned long entries;
    std::size_t depth;
};
const Limits kLimits[] = {
    {4 << 20, 65535, 64},
    {16 * 4096, 16, 8},
    {4 * 4096, 3, 2},
};
const std::uint64_t kBlock = QVPackageExtractor::BlockSize;

void Check(bool condition, const char* what)
{
    if (!condition)
    {
        std::fprintf(stderr, "package layer invariant broken: %s\n", what);
        std::abort();
    }
}

void RemoveAll(const fs::path& path)
{
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(path, error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error))
    {
        if (!it->is_symlink())
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
    }
    fs::remove_all(path, error);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::FILE* out = std::fopen(kInput, "wb");
    if (out == nullptr)
        return 0;
    std::fwrite(data, 1, size, out);
    std::fclose(out);

    const fs::path scratch = fs::absolute(kScratch);
    const fs::path root = scratch / "root";
    RemoveAll(scratch);
    fs::create_directories(root);

    const Limits& limits = kLimits[size % (sizeof kLimits / sizeof kLimits[0])];
    QVPackageExtractor extractor;
    extractor.SetByteLimit(limits.bytes);
    extractor.SetEntryLimit(limits.entries);
    extractor.SetDepthLimit(limits.depth);
    const QVUnpackReport report = extractor.Unpack(kInput, root.string().c_str());

    Check(report.bytes <= report.charged, "more bytes written than were charged");
    Check(report.charged <= limits.bytes, "more charged than the limit allows");
    Check(report.files + report.directories + report.skipped == report.entries,
          "written, made and skipped entries do not add up to the entries");
    Check(report.files + report.directories <= limits.entries, "more entries than the limit");
    std::uintmax_t blocks = 0;
    std::size_t files = 0;
    for (auto it = fs::recursive_directory_iterator(scratch);
         it != fs::recursive_directory_iterator(); ++it)
    {
        const fs::path relative = fs::relative(it->path(), root);
        Check(!relative.empty() && *relative.begin() != "..",
              "something appeared outside the root");
        Check(!it->is_symlink(), "a link was made");
        // Temporary files have a backslash in their names, which no entry can give a file.
        Check(it->path().filename().string().find('\\') == std::string::npos,
              "a temporary file was left behind");
        if (it->path() == root)
            continue;
        Check(static_cast<std::size_t>(std::distance(relative.begin(), relative.end())) <=
                  limits.depth,
              "a path deeper than the limit");
        if (it->is_regular_file())
        {
            const std::uintmax_t size = it->file_size();
            blocks += size == 0 ? 1 : (size + kBlock - 1) / kBlock;
            ++files;
        }
        else if (it->is_directory())
        {
            ++blocks;
        }
    }
    Check(blocks * kBlock <= report.charged, "the tree holds more blocks than were charged");
    Check(files <= report.files, "more files than the report says were written");
    RemoveAll(scratch);
    return 0;
}

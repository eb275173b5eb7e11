// The package layer on arbitrary bytes. Each input is written to a real package file and
// unpacked into a scratch directory, exactly as the applet runner unpacks a download. Beyond not
// crashing, the result must hold what the layer promises:
// - nothing appears outside the directory it unpacks into;
// - no temporary file is left behind;
// - the bytes written stay within the limit, and the report adds up.
#include "plugin/package/PackageExtractor.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace
{
const char kInput[] = "fuzz-input.qva";
const char kScratch[] = "fuzz-unpack";
// Small, so that a bomb costs little; the limit itself is what is checked.
const std::uint64_t kLimit = 4 << 20;

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

    QVPackageExtractor extractor;
    extractor.SetByteLimit(kLimit);
    const QVUnpackReport report = extractor.Unpack(kInput, root.string().c_str());

    Check(report.bytes <= kLimit, "more bytes written than the limit allows");
    Check(report.files + report.directories + report.skipped == report.entries,
          "written, made and skipped entries do not add up to the entries");
    std::uintmax_t bytes = 0;
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
        if (it->is_regular_file())
        {
            bytes += it->file_size();
            ++files;
        }
    }
    Check(bytes <= kLimit, "the files hold more than the limit");
    Check(files <= report.files, "more files than the report says were written");
    RemoveAll(scratch);
    return 0;
}

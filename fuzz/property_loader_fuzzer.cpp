// The property file loader on arbitrary bytes. Each input is written to a real file and read
// through QVFile and the loader, exactly as a host's Load does. Beyond not crashing, the result
// must hold what the loader promises:
// - the map is balanced after the load, and every entry sits under the hash of its key text;
// - keys are 8-bit texts;
// - saving the set and loading the file back gives the same entries. For files read as 16-bit
//   text that only holds when narrowing the keys made no characters the format treats specially,
//   so the comparison is made for 8-bit files.
#include "loaders/QVFile.h"
#include "loaders/QVProperties.h"
#include "loaders/detail/MapTree.h"
#include "loaders/props/QVPropLoader.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace
{
const char kInput[] = "fuzz-input.cfg";
const char kSaved[] = "fuzz-saved.cfg";

void Check(bool condition, const char* what)
{
    if (!condition)
    {
        std::fprintf(stderr, "property loader invariant broken: %s\n", what);
        std::abort();
    }
}

std::uint32_t FloorLog2(std::uint32_t n)
{
    std::uint32_t log = 0;
    for (; n > 1; n >>= 1)
    {
        ++log;
    }
    return log;
}

bool StartsWithMark(const std::uint8_t* data, std::size_t size)
{
    return (size >= 2 &&
            ((data[0] == 0xFF && data[1] == 0xFE) || (data[0] == 0xFE && data[1] == 0xFF))) ||
           (size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF) ||
           (size >= 4 && data[0] == 0 && data[1] == 0 && data[2] == 0xFE && data[3] == 0xFF);
}

void CheckShape(const QVProperties& properties)
{
    const std::uint32_t count = properties.GetCount();
    if (count > 0)
    {
        Check(qv_map_tree::Depth(properties.GetMap()) == FloorLog2(count) + 1,
              "map balanced after a load");
    }
    qv_map_tree::VisitInOrder(
        properties.GetMap(),
        [](QVMapKey hash, void* value)
        {
            const QVPropertyEntry* entry = static_cast<const QVPropertyEntry*>(value);
            Check(entry->GetKey().GetEncoding() == QVString::Narrow, "keys are 8-bit");
            Check(QVProperties::HashKey(entry->GetKey()) == hash, "entry under its key's hash");
        });
}

bool SameEntries(const QVProperties& a, const QVProperties& b)
{
    if (a.GetCount() != b.GetCount())
    {
        return false;
    }
    bool same = true;
    a.ForEachEntry(
        [&](const QVPropertyEntry& entry)
        {
            QVString value;
            same = same && b.Get(entry.GetKey(), value) && value.Equals(entry.GetValue());
        });
    return same;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // One set for every input: its module collection scans the working directory once.
    static QVProperties properties(0);
    static QVProperties reloaded(0);
    static QVPropLoader loader;

    std::FILE* out = std::fopen(kInput, "wb");
    if (out == nullptr || (size > 0 && std::fwrite(data, 1, size, out) != size) ||
        std::fclose(out) != 0)
    {
        std::abort();
    }

    properties.Clear();
    Check(loader.Load(properties.GetModCollection(), kInput), "a readable file loads");
    CheckShape(properties);

    Check(loader.Save(properties.GetModCollection(), kSaved), "saving succeeds");
    reloaded.Clear();
    Check(loader.Load(reloaded.GetModCollection(), kSaved), "the saved file loads");
    if (!StartsWithMark(data, size))
    {
        Check(SameEntries(properties, reloaded), "saved file reloads to the same entries");
    }
    return 0;
}

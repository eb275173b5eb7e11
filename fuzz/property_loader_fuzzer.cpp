// The property file loader on arbitrary bytes. Each input is written to a real file and read
// through QVFile and the loader, exactly as a host's Load does. Beyond not crashing, the result
// must hold what the loader promises:
// - the map is balanced after the load, and every entry sits under the hash of its key text;
// - keys are 8-bit texts;
// - saving the set and loading the file back gives the same entries, in an 8-bit and in a
//   16-bit file. Whatever a file held, its entries read back the same from a 16-bit file; an
//   8-bit save succeeds exactly when every value fits 8 bits (always for 8-bit text), and when
//   it is refused the file written before stays as it was.
#include "loaders/QVFile.h"
#include "loaders/QVProperties.h"
#include "loaders/detail/MapTree.h"
#include "loaders/props/QVPropLoader.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{
const char kInput[] = "fuzz-input.cfg";
const char kSaved[] = "fuzz-saved.cfg";
const char kSaved16[] = "fuzz-saved16.cfg";

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

// The bytes of a file; empty when it cannot be read.
std::string FileBytes(const char* name)
{
    std::string bytes;
    std::FILE* in = std::fopen(name, "rb");
    if (in != nullptr)
    {
        char chunk[4096];
        for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, in)) > 0;)
        {
            bytes.append(chunk, n);
        }
        std::fclose(in);
    }
    return bytes;
}

// The character at i as a file holds it: an 8-bit one as its byte, a 16-bit one as its unit.
unsigned short CharacterAt(const QVString& text, int i)
{
    const unsigned short c = text.GetCharAt(i);
    return text.GetEncoding() == QVString::Wide ? c : static_cast<unsigned short>(c & 0xFF);
}

// Same characters, whatever the widths: an 8-bit text saved in a 16-bit file reads back 16-bit.
bool SameText(const QVString& a, const QVString& b)
{
    if (a.GetLength() != b.GetLength())
    {
        return false;
    }
    for (int i = 0; i < a.GetLength(); ++i)
    {
        if (CharacterAt(a, i) != CharacterAt(b, i))
        {
            return false;
        }
    }
    return true;
}

bool ValuesFitEightBits(const QVProperties& properties)
{
    bool fit = true;
    properties.ForEachEntry(
        [&](const QVPropertyEntry& entry)
        {
            const QVString& value = entry.GetValue();
            for (int i = 0; i < value.GetLength(); ++i)
            {
                fit = fit && CharacterAt(value, i) <= 0xFF;
            }
        });
    return fit;
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
            same = same && b.Get(entry.GetKey(), value) && SameText(value, entry.GetValue());
        });
    return same;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // One set for every input: its module collection scans the working directory once.
    static QVProperties properties(0);
    static QVProperties sixteenBit(1);
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

    const std::string before = FileBytes(kSaved);
    const bool saved = loader.Save(properties.GetModCollection(), kSaved);
    Check(saved == ValuesFitEightBits(properties),
          "an 8-bit save succeeds exactly when every value fits 8 bits");
    if (saved)
    {
        reloaded.Clear();
        Check(loader.Load(reloaded.GetModCollection(), kSaved), "the saved file loads");
        Check(SameEntries(properties, reloaded), "the 8-bit file reloads to the same entries");
    }
    else
    {
        Check(FileBytes(kSaved) == before, "a refused save leaves the file as it was");
    }

    sixteenBit.Clear();
    properties.ForEachEntry([](const QVPropertyEntry& entry)
                            { sixteenBit.Set(entry.GetKey(), entry.GetValue()); });
    Check(loader.Save(sixteenBit.GetModCollection(), kSaved16), "a 16-bit save succeeds");
    reloaded.Clear();
    Check(loader.Load(reloaded.GetModCollection(), kSaved16), "the 16-bit file loads");
    Check(SameEntries(properties, reloaded), "the 16-bit file reloads to the same entries");
    return 0;
}

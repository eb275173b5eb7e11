#include "loaders/props/QVPropLoader.h"

#include "loaders/QVFile.h"
#include "loaders/QVProperties.h"
#include "loaders/detail/TextWrite.h"

#include "core/containers/QVArray.h"
#include "platform/QVFileReplacement.h"

#include <algorithm>
#include <cstdint>

namespace
{
bool IsSpace(unsigned short c) { return c == 9 || c == 10 || c == 13 || c == 32; }

// Narrows [begin, end) of text to the ends that are not blanks or line ends.
void Trim(const QVString& text, int& begin, int& end)
{
    while (begin < end && IsSpace(text.GetCharAt(begin)))
    {
        ++begin;
    }
    while (end > begin && IsSpace(text.GetCharAt(end - 1)))
    {
        --end;
    }
}

// One record of a file: where its trimmed key and value lie in the file's text.
struct Record
{
    std::uint32_t hash;
    int keyBegin;
    int keyEnd;
    int valueBegin;
    int valueEnd;
};

// Keys are 8-bit texts. A 16-bit character without an 8-bit form becomes "?": keeping its low
// byte, as converting would, could make it a zero, an "=" or a blank at an end, none of which
// would read back.
void KeyOf(const QVString& text, const Record& record, QVString& key)
{
    text.Mid(key, record.keyBegin, record.keyEnd);
    if (key.GetEncoding() == QVString::Wide)
    {
        unsigned short* units = key.GetWideBuffer();
        for (int i = 0; i < key.GetLength(); ++i)
        {
            if (units[i] > 0xFF)
            {
                units[i] = '?';
            }
        }
        key.SetEncoding(QVString::Narrow);
    }
}

void ValueOf(const QVString& text, const Record& record, QVString& value)
{
    text.Mid(value, record.valueBegin, record.valueEnd);
}

// Calls take(record) for every record of the text, in file order (hash not yet set). The records
// are consumed from the front by moving a start index, never by cutting the text, which would
// copy the rest of the file once per record.
template <typename Take>
void ParseRecords(const QVString& text, Take take)
{
    const int length = text.GetLength();
    int start = 0;
    for (;;)
    {
        const int equals = text.Find('=', start);
        if (equals < 0 || equals == start)
        {
            return;
        }
        int lineEnd = text.Find('\n', equals);
        if (lineEnd < 0)
        {
            lineEnd = length;
        }
        Record record{0, start, equals, equals + 1, lineEnd};
        Trim(text, record.keyBegin, record.keyEnd);
        Trim(text, record.valueBegin, record.valueEnd);
        take(record);
        start = lineEnd + 1;
    }
}

// Sets the groups [lo, hi) of sorted records, the middle one first, so that the map stays about
// as shallow as a balanced tree while it grows. A group holds the records of one hash in file
// order: its entry gets the first record's key and the last one's value, as setting them one by
// one in file order would give.
void SetMiddleFirst(QVProperties& properties, const QVString& text, QVArray<Record>& records,
                    QVArray<int>& groupStarts, int lo, int hi, QVString& key, QVString& value)
{
    if (lo >= hi)
    {
        return;
    }
    const int middle = lo + (hi - lo - 1) / 2;  // the root the rebalancing picks, too
    KeyOf(text, records[groupStarts[middle]], key);
    ValueOf(text, records[groupStarts[middle + 1] - 1], value);
    properties.Set(key, value);
    SetMiddleFirst(properties, text, records, groupStarts, lo, middle, key, value);
    SetMiddleFirst(properties, text, records, groupStarts, middle + 1, hi, key, value);
}

// Adds the file's records to the set with the effect of setting them in file order. Setting
// them literally in that order would cost the map's depth per record, and the map has no
// balancing of its own: keys whose hashes grow from line to line (numbered hexadecimal keys)
// would make it a chain and the load quadratic. So the records are sorted by hash and set in
// balanced order; only when memory for that is missing are they set one by one.
void AddRecords(QVProperties& properties, const QVString& text)
{
    // Every record but the last ends at a line feed.
    int bound = 1;
    for (int i = text.Find('\n', 0); i >= 0; i = text.Find('\n', i + 1))
    {
        ++bound;
    }
    QVString key;
    QVString value;
    QVArray<Record> records;
    QVArray<int> groupStarts;
    if (!records.SetSize(bound) || !groupStarts.SetSize(bound + 1))
    {
        ParseRecords(text,
                     [&](const Record& record)
                     {
                         KeyOf(text, record, key);
                         ValueOf(text, record, value);
                         properties.Set(key, value);
                     });
        return;
    }
    int count = 0;
    ParseRecords(text,
                 [&](Record record)
                 {
                     KeyOf(text, record, key);
                     record.hash = QVProperties::HashKey(key);
                     records[count++] = record;
                 });
    if (count == 0)
    {
        return;
    }
    // Within one hash the file order stays: keys start later the later their record.
    Record* const first = &records[0];
    std::sort(first, first + count,
              [](const Record& a, const Record& b)
              { return a.hash != b.hash ? a.hash < b.hash : a.keyBegin < b.keyBegin; });
    int groups = 0;
    for (int i = 0; i < count; ++i)
    {
        if (i == 0 || records[i].hash != records[i - 1].hash)
        {
            groupStarts[groups++] = i;
        }
    }
    groupStarts[groups] = count;
    SetMiddleFirst(properties, text, records, groupStarts, 0, groups, key, value);
}

// The character at i as the file holds it: an 8-bit one as its byte, a 16-bit one as its unit.
unsigned short CharacterAt(const QVString& text, int i)
{
    const unsigned short c = text.GetCharAt(i);
    return text.GetEncoding() == QVString::Wide ? c : static_cast<unsigned short>(c & 0xFF);
}

bool HasBlankEnd(const QVString& text)
{
    const int n = text.GetLength();
    return n > 0 && (IsSpace(CharacterAt(text, 0)) || IsSpace(CharacterAt(text, n - 1)));
}

// Whether an entry, written into a file of the given width, reads back as the same key and
// value. Reading ends the text at a zero and a value at a line feed, splits a record at its
// first "=", trims blanks and line ends off both ends, and makes keys 8-bit: a 16-bit key
// character beyond ASCII has no 8-bit form, or, as an 8-bit one, hashes differently (8-bit
// characters count sign-extended), so the key read back would be another. A line feed inside a
// key is fine: it is how a line without "=" before a record reads.
bool ReadsBackTheSame(const QVPropertyEntry& entry, short fileEncoding)
{
    const QVString& key = entry.GetKey();
    const QVString& value = entry.GetValue();
    if (HasBlankEnd(key) || HasBlankEnd(value))
    {
        return false;
    }
    const unsigned short keyLimit = key.GetEncoding() == QVString::Wide ? 0x7F : 0xFF;
    for (int i = 0; i < key.GetLength(); ++i)
    {
        const unsigned short c = CharacterAt(key, i);
        if (c == 0 || c == '=' || c > keyLimit)
        {
            return false;
        }
    }
    const unsigned short valueLimit = fileEncoding == QVString::Wide ? 0xFFFF : 0xFF;
    for (int i = 0; i < value.GetLength(); ++i)
    {
        const unsigned short c = CharacterAt(value, i);
        if (c == 0 || c == '\n' || c > valueLimit)
        {
            return false;
        }
    }
    return true;
}

// Whether an 8-bit text begins with bytes that reading takes for a byte-order mark.
bool BeginsLikeAMark(const QVString& text)
{
    const int n = text.GetLength();
    const auto byte = [&text](int i) { return text.GetCharAt(i) & 0xFF; };
    return (n >= 2 &&
            ((byte(0) == 0xFF && byte(1) == 0xFE) || (byte(0) == 0xFE && byte(1) == 0xFF))) ||
           (n >= 3 && byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF);
}
}  // namespace

QVPropLoader::QVPropLoader()
{
    SetFileName(QVString("qvproploader.qvm"));
    SetName(QVString("Properties Loader"));
    SetPlatform(QVString("All"));
    SetType(QVString("Properties Loader"));
    SetDescription(QVString("Property files"));
    SetExtension(QVString("any"));
}

QVPropLoader::~QVPropLoader() = default;

bool QVPropLoader::Load(QVModCollection* client, const QVString& fileName)
{
    QVProperties* properties = QVProperties::FromModCollection(client);
    if (properties == nullptr)
    {
        return false;
    }
    QVFile file;
    if (!file.Open(fileName, "rb"))
    {
        return false;
    }
    QVString text(0, QVString::Narrow);
    const int read = file.ReadAll(text);
    file.Close();
    if (read < 0)
    {
        return false;
    }

    AddRecords(*properties, text);
    if (properties->GetCount() > 0)
    {
        properties->RebalanceMap();
    }
    return true;
}

bool QVPropLoader::Save(QVModCollection* client, const QVString& fileName)
{
    QVProperties* properties = QVProperties::FromModCollection(client);
    if (properties == nullptr)
    {
        return false;
    }
    const short encoding =
        properties->GetEncoding() == QVString::Wide ? QVString::Wide : QVString::Narrow;
    bool readsBack = true;
    QVString text(16, encoding);
    properties->ForEachEntry(
        [&](const QVPropertyEntry& entry)
        {
            readsBack = readsBack && ReadsBackTheSame(entry, encoding);
            if (entry.GetKey().GetLength() == 0)
            {
                // A line that starts with "=" ends every parse: the blank is trimmed away on reading.
                text.AppendChar(' ');
            }
            text.Append(entry.GetKey());
            text.AppendChar('=');
            text.Append(entry.GetValue());
            text.AppendChar('\n');
        });
    // Writing what would read back differently loses data: refused before the file is touched.
    if (!readsBack)
    {
        return false;
    }

    if (encoding == QVString::Narrow && BeginsLikeAMark(text))
    {
        // The first key starts with bytes of a byte-order mark: reading would take them for one
        // (and read 16-bit text, or drop them). A leading line feed is trimmed from that key when
        // the file is read.
        text.Assign('\n' + text);
    }

    // The text goes to a temporary file that replaces the file only once it is complete, so a
    // failed write leaves the old file as it was. Property files are regular files: a device or
    // a FIFO is refused and left alone.
    QVFileReplacement replacement;
    const QVFileReplacement::Start start = fileName.GetEncoding() == QVString::Wide
                                               ? replacement.Begin(fileName.GetWideBuffer())
                                               : replacement.Begin(fileName.GetBuffer());
    if (start != QVFileReplacement::Started)
    {
        return false;
    }
    const long expected =
        (static_cast<long>(text.GetLength()) + 1) * (encoding == QVString::Wide ? 2 : 1);
    if (QVWriteText(replacement.GetStream(), text) != expected)
    {
        replacement.Discard();
        return false;
    }
    return replacement.Commit();
}

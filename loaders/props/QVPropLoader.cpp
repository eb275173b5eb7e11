#include "loaders/props/QVPropLoader.h"

#include "loaders/QVFile.h"
#include "loaders/QVProperties.h"

namespace
{
bool IsSpace(unsigned short c)
{
    return c == 9 || c == 10 || c == 13 || c == 32;
}

// The trimmed part of text[begin, end) as a new text of text's width.
void TrimmedPart(const QVString& text, int begin, int end, QVString& out)
{
    while (begin < end && IsSpace(text.GetCharAt(begin)))
    {
        ++begin;
    }
    while (end > begin && IsSpace(text.GetCharAt(end - 1)))
    {
        --end;
    }
    text.Mid(out, begin, end);
}

// Whether an 8-bit text begins with bytes that reading takes for a byte-order mark.
bool BeginsLikeAMark(const QVString& text)
{
    const int n = text.GetLength();
    const auto byte = [&text](int i) { return text.GetCharAt(i) & 0xFF; };
    return (n >= 2 && ((byte(0) == 0xFF && byte(1) == 0xFE) || (byte(0) == 0xFE && byte(1) == 0xFF))) ||
           (n >= 3 && byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF);
}
}

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

    // The records are consumed from the front by moving a start index, never by cutting the
    // text, which would copy the rest of the file once per record.
    const int length = text.GetLength();
    QVString key;
    QVString value;
    int start = 0;
    for (;;)
    {
        const int equals = text.Find('=', start);
        if (equals < 0 || equals == start)
        {
            break;
        }
        int lineEnd = text.Find('\n', equals);
        if (lineEnd < 0)
        {
            lineEnd = length;
        }
        TrimmedPart(text, start, equals, key);
        TrimmedPart(text, equals + 1, lineEnd, value);
        key.SetEncoding(QVString::Narrow);
        properties->Set(key, value);
        start = lineEnd + 1;
    }
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
    const short encoding = properties->GetEncoding() == QVString::Wide ? QVString::Wide : QVString::Narrow;
    QVString text(16, encoding);
    properties->ForEachEntry([&text](const QVPropertyEntry& entry) {
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

    if (encoding == QVString::Narrow && BeginsLikeAMark(text))
    {
        // The first key starts with bytes of a byte-order mark: reading would take the file for
        // 16-bit text. A leading line feed is trimmed from that key when the file is read.
        text.Assign('\n' + text);
    }

    QVFile file;
    if (!file.Open(fileName, "wb"))
    {
        return false;
    }
    const int expected = (text.GetLength() + 1) * (encoding == QVString::Wide ? 2 : 1);
    const bool written = file.WriteString(text) == expected;
    const bool closed = file.Close();
    return written && closed;
}

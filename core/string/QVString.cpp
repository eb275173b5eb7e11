#include "core/string/QVString.h"

#include "core/memory/AllocHook.h"
#include "core/object/QVException.h"
#include "core/string/QVMemStream.h"

#include <climits>
#include <cstring>
#include <new>

namespace
{
// Buffers start at 16 bytes and double, so a string that grows one character at a time is
// copied only a logarithmic number of times.
const int kFirstCapacity = 16;
const char kHexDigits[] = "0123456789ABCDEF";

unsigned short SignExtend(char c)
{
    return static_cast<unsigned short>(static_cast<signed char>(c));
}

// Appending to a string of the other width puts each byte in a unit with a zero high byte, or
// keeps each unit's low byte (SetCharAt).
unsigned short ZeroExtend(char c) { return static_cast<unsigned char>(c); }
unsigned short ZeroExtend(unsigned short c) { return c; }

template <typename Char>
int TextLength(const Char* text)
{
    std::size_t n = 0;
    while (text[n] != 0)
    {
        ++n;
    }
    return n > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(n);
}

template <typename Char>
int FindUnit(const Char* units, int length, Char c, int start)
{
    for (int i = start < 0 ? 0 : start; i < length; ++i)
    {
        if (units[i] == c)
        {
            return i;
        }
    }
    return -1;
}
}  // namespace

// --- construction ---

QVString::QVString() : QVString(kFirstCapacity, Narrow) {}

QVString::QVString(int capacity, short encoding)
    : QVObject(QV_CLASS_DEFAULT), m_encoding(encoding == Wide ? Wide : Narrow), m_buffer(nullptr),
      m_wide(nullptr), m_capacity(0), m_length(0)
{
    Allocate(capacity);
}

QVString::QVString(const char* text) : QVString(kFirstCapacity, Narrow) { Assign(text); }

QVString::QVString(const unsigned short* text) : QVString(kFirstCapacity, Wide) { Assign(text); }

QVString::QVString(char c) : QVString(kFirstCapacity, Narrow) { AssignChar(c); }

QVString::QVString(const QVString& other)
    : QVObject(other), QVSerializable(), m_encoding(other.m_encoding), m_buffer(nullptr),
      m_wide(nullptr), m_capacity(0), m_length(0)
{
    Allocate(kFirstCapacity);
    Assign(other);
}

QVString& QVString::operator=(const QVString& other)
{
    Assign(other);
    return *this;
}

QVString::~QVString() { Free(); }

QVString* QVString::CloneInto(QVString* place) const
{
    return ::new (static_cast<void*>(place)) QVString(*this);
}

// --- storage ---

void QVString::SetBuffer(char* buffer, int capacity)
{
    m_buffer = buffer;
    m_wide = reinterpret_cast<unsigned short*>(buffer);
    m_capacity = capacity;
}

void QVString::PutTerminator() { SetCharAt(m_length, 0); }

void QVString::Reset(short encoding)
{
    m_encoding = encoding;
    m_length = 0;
    if (m_buffer != nullptr && m_capacity < CharWidth())
    {
        Free();
    }
    PutTerminator();
}

bool QVString::Allocate(int capacity)
{
    Free();
    if (capacity <= 0)
    {
        return true;
    }
    if (capacity > INT_MAX / CharWidth())
    {
        return false;
    }
    const int bytes = capacity * CharWidth();
    void* block = nullptr;
    QVHookAllocate(&block, bytes);
    if (block == nullptr)
    {
        return false;
    }
    SetBuffer(static_cast<char*>(block), bytes);
    PutTerminator();
    return true;
}

bool QVString::Grow(int characters)
{
    if (characters < 0)
    {
        return false;
    }
    const long long width = CharWidth();
    const long long need = characters * width;
    long long capacity = m_capacity;
    if (capacity == 0)
    {
        capacity = kFirstCapacity;
    }
    else if (need < capacity - 1)
    {
        return true;
    }
    while (capacity <= need)
    {
        capacity *= 2;
    }
    // Only an odd capacity left over from 8-bit use can miss the room for a 16-bit terminator.
    if (capacity < need + width)
    {
        capacity *= 2;
    }
    if (capacity == m_capacity)
    {
        return true;  // the text and its terminator already fit exactly
    }
    if (capacity > INT_MAX)
    {
        return false;
    }
    void* block = nullptr;
    QVHookAllocate(&block, static_cast<int>(capacity));
    if (block == nullptr)
    {
        return false;
    }
    if (m_length > 0)
    {
        std::memcpy(block, m_buffer, static_cast<std::size_t>(m_length * width));
    }
    void* old = m_buffer;
    QVHookFree(&old);
    SetBuffer(static_cast<char*>(block), static_cast<int>(capacity));
    PutTerminator();
    return true;
}

void QVString::Empty()
{
    m_length = 0;
    PutTerminator();
}

void QVString::Free()
{
    void* block = m_buffer;
    QVHookFree(&block);
    SetBuffer(nullptr, 0);
    m_length = 0;
}

void QVString::SyncLength()
{
    m_length = 0;
    if (m_buffer == nullptr)
    {
        return;
    }
    const int characters = m_capacity / CharWidth();
    for (int i = 0; i < characters; ++i)
    {
        if (UnitAt(i) == 0)
        {
            m_length = i;
            return;
        }
    }
    // Nothing terminated the text: treat it as empty rather than read past the buffer.
    PutTerminator();
}

void QVString::TakeBuffer(QVString& from)
{
    Free();
    m_encoding = from.m_encoding;
    SetBuffer(from.m_buffer, from.m_capacity);
    m_length = from.m_length;
    from.SetBuffer(nullptr, 0);
    from.m_length = 0;
}

bool QVString::Overlaps(const void* text) const
{
    const std::uintptr_t start = reinterpret_cast<std::uintptr_t>(m_buffer);
    const std::uintptr_t p = reinterpret_cast<std::uintptr_t>(text);
    return m_buffer != nullptr && p >= start && p < start + static_cast<std::uintptr_t>(m_capacity);
}

// --- assignment and appending ---

template <typename Char>
void QVString::AppendUnits(const Char* text, int count)
{
    if (count <= 0 || count > INT_MAX - m_length || !Grow(m_length + count))
    {
        return;
    }
    if (CharWidth() == static_cast<int>(sizeof(Char)))
    {
        std::memcpy(m_buffer + static_cast<std::size_t>(m_length) * sizeof(Char), text,
                    static_cast<std::size_t>(count) * sizeof(Char));
    }
    else
    {
        for (int i = 0; i < count; ++i)
        {
            SetCharAt(m_length + i, ZeroExtend(text[i]));
        }
    }
    m_length += count;
    PutTerminator();
}

void QVString::AppendPart(const QVString& source, int from, int count)
{
    if (source.m_encoding == Wide)
    {
        AppendUnits(source.m_wide + from, count);
    }
    else
    {
        AppendUnits(source.m_buffer + from, count);
    }
}

template <typename Char>
void QVString::PutText(const Char* text, bool replacing)
{
    if (text == nullptr)
    {
        return;
    }
    if (Overlaps(text))
    {
        // Growing could free the very characters we copy from.
        const QVString copy(text);
        if (replacing)
        {
            Assign(copy);
        }
        else
        {
            Append(copy);
        }
        return;
    }
    if (replacing)
    {
        Reset(sizeof(Char) == 2 ? Wide : Narrow);
    }
    AppendUnits(text, TextLength(text));
}

void QVString::Assign(const char* text) { PutText(text, true); }

void QVString::Assign(const unsigned short* text) { PutText(text, true); }

void QVString::Assign(const QVString& other)
{
    if (&other == this)
    {
        return;
    }
    Reset(other.m_encoding);
    AppendPart(other, 0, other.m_length);
}

void QVString::AssignChar(char c)
{
    Reset(Narrow);
    AppendUnits(&c, 1);
}

void QVString::Append(const char* text) { PutText(text, false); }

void QVString::Append(const unsigned short* text) { PutText(text, false); }

void QVString::Append(const QVString& other)
{
    if (&other == this)
    {
        const QVString copy(other);
        Append(copy);
        return;
    }
    AppendPart(other, 0, other.m_length);
}

void QVString::AppendChar(char c) { AppendUnits(&c, 1); }

void QVString::AppendWideChar(unsigned short c) { AppendUnits(&c, 1); }

QVString operator+(char c, const QVString& text)
{
    QVString result(0, text.GetEncoding());
    result.AppendChar(c);
    result.Append(text);
    return result;
}

// --- access and search ---

unsigned short QVString::UnitAt(int i) const
{
    return m_encoding == Wide ? m_wide[i] : SignExtend(m_buffer[i]);
}

unsigned short QVString::GetCharAt(int pos) const
{
    if (pos < 0 || pos > m_length)
    {
        throw QVException("QVString", "GetCharAt", "index out of bounds");
    }
    return m_buffer == nullptr ? 0 : UnitAt(pos);
}

void QVString::SetCharAt(int pos, unsigned short c)
{
    if (m_buffer == nullptr)
    {
        return;
    }
    if (m_encoding == Wide)
    {
        m_wide[pos] = c;
    }
    else
    {
        m_buffer[pos] = static_cast<char>(c & 0xFFu);
    }
}

// A search for a character of the other width looks for its sign extension or its low byte.
int QVString::Find(char c, int start) const
{
    return m_encoding == Wide ? FindUnit(m_wide, m_length, SignExtend(c), start)
                              : FindUnit(m_buffer, m_length, c, start);
}

int QVString::FindWide(unsigned short c, int start) const
{
    return m_encoding == Wide ? FindUnit(m_wide, m_length, c, start)
                              : FindUnit(m_buffer, m_length, static_cast<char>(c & 0xFFu), start);
}

int QVString::FindLast(char c, int start) const
{
    if (start <= 0)
    {
        start = m_length - 1 + start;
    }
    if (start > m_length - 1)
    {
        start = m_length - 1;
    }
    const unsigned short wanted = SignExtend(c);
    // Index 0 is left out on purpose: callers look for an extension separator, and a name that
    // starts with it has no extension.
    for (int i = start; i >= 1; --i)
    {
        if (UnitAt(i) == wanted)
        {
            return i;
        }
    }
    return -1;
}

int QVString::FindText(const char* text, int start) const
{
    if (text == nullptr)
    {
        return -1;
    }
    const int n = TextLength(text);
    if (n == 0)
    {
        return (start >= 0 && start <= m_length) ? start : -1;
    }
    if (start < 0)
    {
        start = 0;
    }
    for (int i = start; i <= m_length - n; ++i)
    {
        int matched = 0;
        while (matched < n && UnitAt(i + matched) == SignExtend(text[matched]))
        {
            ++matched;
        }
        if (matched == n)
        {
            return i;
        }
    }
    return -1;
}

int QVString::Mid(QVString& out, int from, int to) const
{
    if (&out == this)
    {
        QVString part;
        const int copied = Mid(part, from, to);
        out.TakeBuffer(part);
        return copied;
    }
    out.Reset(m_encoding);
    if (to <= 0)
    {
        to = m_length + to;
    }
    if (to > m_length)
    {
        to = m_length;
    }
    if (from == to)
    {
        return 0;
    }
    if (to < from || from < 0)
    {
        return -1;
    }
    out.AppendPart(*this, from, to - from);
    return out.m_length;
}

int QVString::GetField(QVString& out, int index, unsigned short separator) const
{
    if (&out == this)
    {
        QVString field;
        const int length = GetField(field, index, separator);
        out.TakeBuffer(field);
        return length;
    }
    out.Reset(m_encoding);
    int field = 0;
    int begin = 0;
    int i = 0;
    for (; i < m_length; ++i)
    {
        if (UnitAt(i) != separator)
        {
            continue;
        }
        if (field == index)
        {
            break;
        }
        ++field;
        begin = i + 1;
    }
    if (field == index && i > begin)
    {
        out.AppendPart(*this, begin, i - begin);
    }
    // A text without the separator is not a list of fields: answer "no field" for every index.
    if (out.m_length == m_length)
    {
        out.Empty();
        return 0;
    }
    return out.m_length;
}

void QVString::ToLower()
{
    for (int i = 0; i < m_length; ++i)
    {
        const unsigned short c = UnitAt(i);
        if (c >= 'A' && c <= 'Z')
        {
            SetCharAt(i, static_cast<unsigned short>(c + 32));
        }
    }
}

bool QVString::Equals(const QVString& other) const
{
    if (m_length != other.m_length)
    {
        return false;
    }
    for (int i = 0; i < m_length; ++i)
    {
        if (UnitAt(i) != other.UnitAt(i))
        {
            return false;
        }
    }
    return true;
}

bool QVString::SetEncoding(short encoding)
{
    if ((encoding != Narrow && encoding != Wide) || encoding == m_encoding)
    {
        return true;
    }
    if (encoding == Narrow)
    {
        // Byte i is written after unit i (bytes 2i and 2i+1) was read, so in place is safe.
        for (int i = 0; i < m_length; ++i)
        {
            m_buffer[i] = static_cast<char>(m_wide[i] & 0xFFu);
        }
        m_encoding = Narrow;
        PutTerminator();
        return true;
    }
    QVString wide(0, Wide);
    if (!wide.Grow(m_length))
    {
        return true;
    }
    for (int i = 0; i < m_length; ++i)
    {
        wide.m_wide[i] = SignExtend(m_buffer[i]);
    }
    wide.m_length = m_length;
    wide.PutTerminator();
    TakeBuffer(wide);
    return true;
}

void QVString::SetHex(int value, int digits)
{
    Empty();
    if (digits <= 0 || !Grow(digits))
    {
        return;
    }
    const unsigned bits = static_cast<unsigned>(value);
    for (int k = digits - 1; k >= 0; --k)
    {
        const unsigned nibble = k < 8 ? (bits >> (4 * k)) & 0xFu : 0u;
        AppendChar(kHexDigits[nibble]);
    }
}

// --- serialisation ---

short QVString::Serialize(void* data, unsigned* size, int mode)
{
    if (size == nullptr)
    {
        return QV_SERIAL_TOO_SHORT;
    }
    if (mode != 0)
    {
        return QV_SERIAL_UNSUPPORTED;
    }
    // m_length * width stays below 2^32 because the capacity is an int.
    const unsigned characterBytes =
        static_cast<unsigned>(m_length) * static_cast<unsigned>(CharWidth());
    const unsigned needed = 5u + characterBytes;
    const unsigned room = *size;
    *size = needed;
    if (data == nullptr || room < needed)
    {
        return QV_SERIAL_TOO_SHORT;
    }
    QVMemStream stream;
    stream.Attach(data, room > static_cast<unsigned>(INT_MAX) ? INT_MAX : static_cast<int>(room));
    const unsigned char header[5] = {
        static_cast<unsigned char>(characterBytes & 0xFFu),
        static_cast<unsigned char>((characterBytes >> 8) & 0xFFu),
        static_cast<unsigned char>((characterBytes >> 16) & 0xFFu),
        static_cast<unsigned char>((characterBytes >> 24) & 0xFFu),
        static_cast<unsigned char>(m_encoding),
    };
    stream.Write(header, 5);
    if (m_encoding == Wide)
    {
        // Byte by byte so that the form is little-endian whatever the host.
        for (int i = 0; i < m_length; ++i)
        {
            const unsigned char unit[2] = {static_cast<unsigned char>(m_wide[i] & 0xFFu),
                                           static_cast<unsigned char>(m_wide[i] >> 8)};
            stream.Write(unit, 2);
        }
    }
    else
    {
        stream.Write(m_buffer, m_length);
    }
    return QV_SERIAL_OK;
}

short QVString::Deserialize(const void* data, int* size, int mode)
{
    if (size == nullptr)
    {
        return QV_SERIAL_TOO_SHORT;
    }
    if (mode != 0)
    {
        return QV_SERIAL_UNSUPPORTED;
    }
    if (data == nullptr || *size < 5)
    {
        return QV_SERIAL_TOO_SHORT;
    }
    QVMemStream stream;
    stream.Attach(data, *size);
    unsigned char header[5];
    stream.Read(header, 5);
    const unsigned long characterBytes = header[0] | (static_cast<unsigned long>(header[1]) << 8) |
                                         (static_cast<unsigned long>(header[2]) << 16) |
                                         (static_cast<unsigned long>(header[3]) << 24);
    const short encoding = header[4];
    // An encoding we do not know is a form we do not read.
    if (encoding != Narrow && encoding != Wide)
    {
        return QV_SERIAL_UNSUPPORTED;
    }
    if (characterBytes > static_cast<unsigned long>(*size - 5))
    {
        if (characterBytes <= static_cast<unsigned long>(INT_MAX - 5))
        {
            *size = 5 + static_cast<int>(characterBytes);
        }
        return QV_SERIAL_TOO_SHORT;
    }
    // Half a 16-bit unit at the end means the data was cut.
    if (encoding == Wide && (characterBytes & 1u) != 0)
    {
        return QV_SERIAL_TOO_SHORT;
    }
    const int count = static_cast<int>(characterBytes) / (encoding == Wide ? 2 : 1);
    QVString text(0, encoding);
    if (!text.Grow(count))
    {
        return QV_SERIAL_TOO_SHORT;
    }
    if (encoding == Wide)
    {
        for (int i = 0; i < count; ++i)
        {
            unsigned char unit[2];
            stream.Read(unit, 2);
            text.m_wide[i] = static_cast<unsigned short>(unit[0] | (unit[1] << 8));
        }
    }
    else
    {
        stream.Read(text.m_buffer, count);
    }
    text.m_length = count;
    text.PutTerminator();
    TakeBuffer(text);
    *size = 5 + static_cast<int>(characterBytes);
    return QV_SERIAL_OK;
}

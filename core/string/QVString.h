#pragma once

#include "core/object/QVObject.h"
#include "core/string/QVSerializable.h"

#include <cstdint>

// The text type of the system: 8-bit characters (encoding 0) or 16-bit units (encoding 1), with
// conversion between the two and every operation accepting either kind of text. The buffer comes
// from the allocation hook and doubles from 16 bytes as the text grows. After every public
// operation the character at index GetLength() is the terminator (when there is a buffer).
//
// 8-bit characters widen with sign extension wherever two strings are compared or converted
// (GetCharAt, Equals, SetEncoding, searches); appending 8-bit text to a 16-bit string instead
// puts each byte in a unit with a zero high byte.
//
// Serialised form, little-endian: 32-bit byte count L, 8-bit encoding, L bytes of characters.
class QVString : public QVObject, public QVSerializable
{
public:
    enum Encoding : short
    {
        Narrow = 0,  // 8-bit characters
        Wide = 1     // 16-bit units
    };

    // Empty 8-bit string with room for 16 characters.
    QVString();
    // Empty string with room for `capacity` characters (none: no buffer until the first write).
    // An encoding other than Wide means Narrow.
    QVString(int capacity, short encoding);
    // 8-bit copy of text (null: empty).
    QVString(const char* text);
    // 16-bit copy of text (null: empty).
    QVString(const unsigned short* text);
    // 8-bit string of the one character c.
    explicit QVString(char c);
    // Same encoding and characters.
    QVString(const QVString& other);
    QVString& operator=(const QVString& other);

    // Slot 1; returns the buffer to the hook.
    virtual ~QVString();

    // Slot 2. Copy-constructs this string into the storage at place and returns it; the caller
    // owns the copy and destroys it in place.
    virtual QVString* CloneInto(QVString* place) const;

    // QVSerializable. Mode 0 is the only form; see QVSerialStatus for the results.
    short Deserialize(const void* data, int* size, int mode) override;
    short Serialize(void* data, unsigned* size, int mode) override;

    // --- storage ---

    // Replaces the buffer by an empty one of `capacity` characters (none when capacity <= 0).
    // Returns false when memory was not available (the string then has no buffer).
    bool Allocate(int capacity);
    // Makes room for `characters` characters and the terminator, keeping the text. Returns false
    // (string unchanged) when the size cannot be represented or memory was not available.
    bool Grow(int characters);
    // Length 0; the buffer stays.
    void Empty();
    // Returns the buffer to the hook; capacity and length become 0.
    void Free();
    // Recomputes the length after the buffer was written directly (operating-system calls): the
    // index of the first terminator within the capacity, else 0 (and a terminator is put at 0).
    void SyncLength();

    // --- assignment and appending; a null text leaves the string unchanged ---

    void Assign(const char* text);            // encoding becomes Narrow
    void Assign(const unsigned short* text);  // encoding becomes Wide
    void Assign(const QVString& other);       // takes over other's encoding and characters
    void AssignChar(char c);                  // Narrow, exactly c
    void Append(const char* text);            // in Wide each byte gets a zero high byte
    void Append(const unsigned short* text);  // in Narrow each unit gives its low byte
    void Append(const QVString& other);       // by the two rules above
    void AppendChar(char c);
    void AppendWideChar(unsigned short c);  // in Narrow only the low byte is kept

    // --- access and search ---

    // Character at pos (8-bit ones sign-extended); pos == length gives the terminator 0. Throws
    // QVException ("QVString", "GetCharAt", "index out of bounds") outside 0..length.
    unsigned short GetCharAt(int pos) const;
    // Stores c at pos without any check (Narrow keeps the low byte); callers stay within the
    // capacity, typically to place a terminator.
    void SetCharAt(int pos, unsigned short c);

    // First index at or after start (negative start: 0) holding c, or -1. A search for a
    // character of the other width forwards to the matching one (c sign-extended, or its low byte).
    int Find(char c, int start = 0) const;
    int FindWide(unsigned short c, int start = 0) const;
    // Searches backwards from start (start <= 0 means length - 1 + start) down to index 1; index
    // 0 is never examined. Returns the index found, or -1.
    int FindLast(char c, int start = 0) const;
    // First index at or after start (negative start: 0) where the whole text occurs, or -1. An
    // empty text is found at start when 0 <= start <= length. Null text: -1.
    int FindText(const char* text, int start = 0) const;

    // Copies characters from..to-1 into out (emptied, given this encoding). to <= 0 means
    // length + to; to is clamped to the length. Returns the count copied, 0 when from == to, and
    // -1 when to < from or from < 0.
    int Mid(QVString& out, int from, int to) const;
    // Puts field `index` (fields split by separator, counted from 0) into out (emptied, given this
    // encoding) and returns its length. When no separator was met (out would be the whole
    // string), out is emptied and 0 returned.
    int GetField(QVString& out, int index, unsigned short separator) const;

    // 'A'..'Z' become 'a'..'z'; nothing else changes.
    void ToLower();
    // Same length and same characters (case matters); an 8-bit side is sign-extended to compare
    // with a 16-bit one.
    bool Equals(const QVString& other) const;
    // Converts the characters (8 to 16 bit: sign extension; 16 to 8 bit: low byte); the length
    // stays. An unknown encoding or failed growth leaves the string as it is. Always true.
    bool SetEncoding(short encoding);
    // Replaces the text by the lowest `digits` hex digits of value, most significant first,
    // upper-case; digits <= 0 gives an empty text.
    void SetHex(int value, int digits);

    // --- state ---

    short GetEncoding() const { return m_encoding; }
    int GetLength() const { return m_length; }
    int GetCapacity() const { return m_capacity; }  // in bytes
    // The characters, NUL-terminated; null before the first allocation. Owned by the string and
    // valid until the next change.
    char* GetBuffer() { return m_buffer; }
    const char* GetBuffer() const { return m_buffer; }
    unsigned short* GetWideBuffer() { return m_wide; }
    const unsigned short* GetWideBuffer() const { return m_wide; }

private:
    int CharWidth() const { return m_encoding == Wide ? 2 : 1; }
    // The character at i as a 16-bit value, 8-bit characters sign-extended; i within 0..length.
    unsigned short UnitAt(int i) const;
    void PutTerminator();
    // Length 0 in the given encoding; drops a buffer too small for one terminator of that width.
    void Reset(short encoding);
    void SetBuffer(char* buffer, int capacity);
    // Frees our buffer and takes over from's buffer, encoding and length; from is left empty.
    void TakeBuffer(QVString& from);
    bool Overlaps(const void* text) const;
    // Appends count characters of either width by the appending rules above.
    template <typename Char>
    void AppendUnits(const Char* text, int count);
    // Appends count characters of source, from index from on.
    void AppendPart(const QVString& source, int from, int count);
    // Assign (replacing) or Append of a terminated text of either width.
    template <typename Char>
    void PutText(const Char* text, bool replacing);

    std::int16_t m_encoding;
    char* m_buffer;
    unsigned short* m_wide;   // always m_buffer, seen as 16-bit units
    std::int32_t m_capacity;  // bytes
    std::int32_t m_length;    // characters, terminator excluded
};

// A new string of c followed by text, in text's encoding.
QVString operator+(char c, const QVString& text);

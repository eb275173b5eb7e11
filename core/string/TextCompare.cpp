#include "core/string/TextCompare.h"

namespace
{
// Shared walk: Value(text, i) gives the comparable value of character i (0 ends the text).
template <typename A, typename B, typename ValueA, typename ValueB>
int CompareWith(const A* a, const B* b, ValueA valueA, ValueB valueB)
{
    static const A emptyA[1] = {0};
    static const B emptyB[1] = {0};
    if (a == nullptr)
    {
        a = emptyA;
    }
    if (b == nullptr)
    {
        b = emptyB;
    }
    for (int i = 0;; ++i)
    {
        const int ca = valueA(a[i]);
        const int cb = valueB(b[i]);
        if (ca != cb)
        {
            return ca > cb ? i + 1 : -(i + 1);
        }
        if (ca == 0)
        {
            return 0;
        }
    }
}

int SignedByte(char c) { return static_cast<signed char>(c); }

// A unit below 256 reads as the byte it would become in an 8-bit text; larger units rank above
// every byte.
int WideAgainstByte(unsigned short u)
{
    return u < 256 ? static_cast<signed char>(static_cast<unsigned char>(u)) : static_cast<int>(u);
}

int UnsignedUnit(unsigned short u) { return u; }
}  // namespace

int CompareText(const char* a, const char* b) { return CompareWith(a, b, SignedByte, SignedByte); }

int CompareWideText(const unsigned short* a, const char* b)
{
    return CompareWith(a, b, WideAgainstByte, SignedByte);
}

int CompareWideText(const unsigned short* a, const unsigned short* b)
{
    return CompareWith(a, b, UnsignedUnit, UnsignedUnit);
}

#include "core/object/QVObject.h"

#include <cstdint>

namespace
{
const char kHexDigits[] = "0123456789ABCDEF";
}

QVObject::QVObject(std::int32_t classId) : m_reserved0(0), ClassId(classId), m_reserved1(0) {}

void QVObject::ToString(char* out) const
{
    // Only the low byte of each is shown: enough to tell objects apart in an exception message
    // while keeping the text short and the same on 32- and 64-bit builds.
    const unsigned address = static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(this) & 0xFFu);
    const unsigned code = static_cast<unsigned>(ClassId) & 0xFFu;
    out[0] = '@';
    out[1] = kHexDigits[address >> 4];
    out[2] = kHexDigits[address & 0xFu];
    out[3] = ' ';
    out[4] = kHexDigits[code >> 4];
    out[5] = kHexDigits[code & 0xFu];
    out[6] = '\0';
}

#include "platform/posix/Utf8Names.h"

namespace
{
void AppendUtf8(std::string& out, unsigned long code)
{
    if (code < 0x80)
    {
        out += static_cast<char>(code);
    }
    else if (code < 0x800)
    {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
    else if (code < 0x10000)
    {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
    else
    {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}
}  // namespace

bool QVUtf16ToUtf8(const unsigned short* text, std::string& out)
{
    for (const unsigned short* p = text; *p != 0; ++p)
    {
        unsigned long code = *p;
        if (code >= 0xD800 && code <= 0xDBFF)
        {
            if (p[1] < 0xDC00 || p[1] > 0xDFFF)
                return false;
            code = 0x10000 + ((code - 0xD800) << 10) + (p[1] - 0xDC00);
            ++p;
        }
        else if (code >= 0xDC00 && code <= 0xDFFF)
        {
            return false;
        }
        AppendUtf8(out, code);
    }
    return true;
}

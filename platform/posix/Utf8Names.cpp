#include "platform/posix/Utf8Names.h"

#include "core/string/Utf8Encode.h"

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
        QVAppendUtf8(out, code);
    }
    return true;
}

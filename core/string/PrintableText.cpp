#include "core/string/PrintableText.h"

std::string QVPrintableText(const char* bytes, std::size_t length)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    text.reserve(length);
    for (std::size_t i = 0; i < length; ++i)
    {
        const unsigned char byte = static_cast<unsigned char>(bytes[i]);
        if (byte >= 0x20 && byte <= 0x7E)
        {
            text += static_cast<char>(byte);
            continue;
        }
        text += "\\x";
        text += digits[byte >> 4];
        text += digits[byte & 0x0F];
    }
    return text;
}

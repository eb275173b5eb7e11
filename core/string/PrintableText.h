#pragma once

#include <cstddef>
#include <string>

// Bytes from a file, made safe to print on a terminal: printable ASCII (space to '~') stays as it
// is, every other byte becomes "\x" and two lower-case hexadecimal digits ("\x1b" for ESC). So a
// file cannot reach the terminal with control sequences (ESC, OSC, ...) or stray bytes through a
// message that quotes it. Header-only, so that programs built on the platform layer alone (the
// player) use it too.
inline std::string QVPrintableText(const char* bytes, std::size_t length)
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

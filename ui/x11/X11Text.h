#pragma once

#include "core/string/QVString.h"

#include <string>

// Text conversions between the system's strings and what X11 takes. A window's text is kept in
// 16-bit units, as on Windows; 8-bit captions are read as Latin-1 (each byte one character).
class X11Text
{
public:
    // The characters of text in 16-bit units (8-bit characters as Latin-1).
    static std::u16string Units(const QVString& text);
    // UTF-8 of 16-bit units; unpaired surrogates become U+FFFD.
    static std::string Utf8(const std::u16string& units);
    static std::string Utf8(const QVString& text) { return Utf8(Units(text)); }
    // Writes units into caption in the caption's own width (units above 255 become '?' in an
    // 8-bit caption), growing it as needed, and recomputes its length.
    static void Store(const std::u16string& units, QVString& caption);
};

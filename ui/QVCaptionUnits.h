#pragma once

#include "core/string/QVString.h"

#include <string>

// Window texts as UI managers keep them: 16-bit units, as Windows window texts are. 8-bit
// captions are read as Latin-1 (each byte one character).
class QVCaptionUnits
{
public:
    // The characters of text in 16-bit units.
    static std::u16string Units(const QVString& text);
    // Writes units into caption in the caption's own width (units above 255 become '?' in an
    // 8-bit caption), growing it as needed, and recomputes its length.
    static void Store(const std::u16string& units, QVString& caption);
};

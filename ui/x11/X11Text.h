#pragma once

#include "core/string/QVString.h"
#include "ui/QVCaptionUnits.h"

#include <string>

// Text for X11, which draws and names windows in UTF-8. Windows' texts are kept in 16-bit units
// (ui/QVCaptionUnits.h).
class X11Text
{
public:
    // UTF-8 of 16-bit units; unpaired surrogates become U+FFFD.
    static std::string Utf8(const std::u16string& units);
    static std::string Utf8(const QVString& text) { return Utf8(QVCaptionUnits::Units(text)); }
};

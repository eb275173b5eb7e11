#include "ui/x11/X11Text.h"

std::u16string X11Text::Units(const QVString& text)
{
    std::u16string units;
    int length = text.GetLength();
    units.reserve(static_cast<size_t>(length));
    if (text.GetEncoding() == QVString::Wide)
    {
        for (int i = 0; i < length; ++i)
            units.push_back(static_cast<char16_t>(text.GetWideBuffer()[i]));
    }
    else
    {
        for (int i = 0; i < length; ++i)
            units.push_back(static_cast<char16_t>(static_cast<unsigned char>(text.GetBuffer()[i])));
    }
    return units;
}

std::string X11Text::Utf8(const std::u16string& units)
{
    std::string out;
    out.reserve(units.size());
    for (size_t i = 0; i < units.size(); ++i)
    {
        char32_t c = units[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF)
        {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        }
        else if (c >= 0xD800 && c <= 0xDFFF)
        {
            c = 0xFFFD;
        }
        if (c < 0x80)
        {
            out.push_back(static_cast<char>(c));
        }
        else if (c < 0x800)
        {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
        else if (c < 0x10000)
        {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
        else
        {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

void X11Text::Store(const std::u16string& units, QVString& caption)
{
    int length = static_cast<int>(units.size());
    if (!caption.Grow(length))
        return;
    bool wide = caption.GetEncoding() == QVString::Wide;
    for (int i = 0; i < length; ++i)
    {
        unsigned short unit = units[static_cast<size_t>(i)];
        if (!wide && unit > 0xFF)
            unit = '?';
        caption.SetCharAt(i, unit);
    }
    caption.SetCharAt(length, 0);
    caption.SyncLength();
}

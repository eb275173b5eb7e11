#include "ui/web/WebText.h"

std::u16string WebText::Units(const QVString& text)
{
    std::u16string units;
    int length = text.GetLength();
    units.reserve(static_cast<size_t>(length));
    for (int i = 0; i < length; ++i)
    {
        if (text.GetEncoding() == QVString::Wide)
            units.push_back(static_cast<char16_t>(text.GetWideBuffer()[i]));
        else
            units.push_back(static_cast<char16_t>(static_cast<unsigned char>(text.GetBuffer()[i])));
    }
    return units;
}

void WebText::Store(const std::u16string& units, QVString& caption)
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

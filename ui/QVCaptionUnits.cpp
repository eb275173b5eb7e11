#include "ui/QVCaptionUnits.h"

std::u16string QVCaptionUnits::Units(const QVString& text)
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

void QVCaptionUnits::Store(const std::u16string& units, QVString& caption)
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

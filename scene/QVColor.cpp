#include "scene/QVColor.h"

#include "scene/QVSGKind.h"

QVColor::QVColor(std::uint32_t packed) : QVObject(QVSG_CLASS_COLOR), r(0.0), g(0.0), b(0.0), a(0.0)
{
    SetPacked(packed);
}

QVColor::QVColor(double red, double green, double blue, double alpha)
    : QVObject(QVSG_CLASS_COLOR), r(red), g(green), b(blue), a(alpha)
{
}

void QVColor::SetPacked(std::uint32_t packed)
{
    b = static_cast<double>(packed & 0xFFu) / 255.0;
    g = static_cast<double>((packed >> 8) & 0xFFu) / 255.0;
    r = static_cast<double>((packed >> 16) & 0xFFu) / 255.0;
    a = static_cast<double>((packed >> 24) & 0xFFu) / 255.0;
}

void QVColor::Set(double red, double green, double blue, double alpha)
{
    r = red;
    g = green;
    b = blue;
    a = alpha;
}

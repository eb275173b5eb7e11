#pragma once

#include "core/object/QVObject.h"

#include <cstdint>

// An RGBA colour in doubles, nominally 0 to 1 per component and never clamped here. Shared by
// value between hosts and renderers (lights, materials, the world's background).
class QVColor : public QVObject
{
public:
    // From a packed 0xAARRGGBB value, each byte divided by 255: 0xFFFFFF gives (1, 1, 1, 0).
    explicit QVColor(std::uint32_t packed = 0);
    QVColor(double red, double green, double blue, double alpha);
    QVColor(const QVColor& other) = default;
    QVColor& operator=(const QVColor& other) = default;

    // Replaces all four components from a packed 0xAARRGGBB value.
    void SetPacked(std::uint32_t packed);
    // Stores the four components unchanged.
    void Set(double red, double green, double blue, double alpha);

    double r;
    double g;
    double b;
    double a;
};

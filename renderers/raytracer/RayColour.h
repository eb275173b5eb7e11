#pragma once

#include "scene/QVColor.h"

// The tracer's colour: four doubles in place, with the three operations shading needs. Clamping
// keeps every sum in [0, 1]; a NaN passes through unchanged.
struct RayColour
{
    double r;
    double g;
    double b;
    double a;

    static RayColour From(const QVColor& c) { return RayColour{c.r, c.g, c.b, c.a}; }

    // Component-wise sum, then all four clamped.
    void ClampedAdd(const RayColour& c)
    {
        r += c.r;
        g += c.g;
        b += c.b;
        a += c.a;
        Clamp();
    }

    // Red, green and blue times s (alpha kept), then all four clamped.
    void ClampedScale(double s)
    {
        r *= s;
        g *= s;
        b *= s;
        Clamp();
    }

    // Component-wise product of all four, not clamped.
    void Modulate(const RayColour& c)
    {
        r *= c.r;
        g *= c.g;
        b *= c.b;
        a *= c.a;
    }

    void Clamp()
    {
        r = Clamped(r);
        g = Clamped(g);
        b = Clamped(b);
        a = Clamped(a);
    }

    static double Clamped(double v)
    {
        if (v < 0.0)
        {
            return 0.0;
        }
        if (v > 1.0)
        {
            return 1.0;
        }
        return v;
    }
};

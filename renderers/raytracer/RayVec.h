#pragma once

#include "core/math/QVVector.h"

#include <cmath>

// The tracer's vectors: x, y and z in place, no heap. They compute exactly what a QVVector of
// dimension 4 with w = 0 computes (same operations in the same order, sums started at 0.0), so a
// point's w = 1 never takes part in a length, a normalisation or a dot product.
struct RayVec
{
    double x;
    double y;
    double z;

    // x, y and z of v, whatever its dimension (missing components are 0).
    static RayVec From(const QVVector& v)
    {
        const unsigned n = v.GetDimension();
        return RayVec{n > 0 ? v[0] : 0.0, n > 1 ? v[1] : 0.0, n > 2 ? v[2] : 0.0};
    }

    // Component a (0 x, 1 y, 2 z).
    double Get(int a) const { return a == 0 ? x : (a == 1 ? y : z); }

    double Dot(const RayVec& v) const
    {
        double sum = 0.0;
        sum += x * v.x;
        sum += y * v.y;
        sum += z * v.z;
        return sum;
    }

    double Length() const { return std::sqrt(Dot(*this)); }

    // Scales to length 1 through one reciprocal, as QVVector does; returns the former length. A
    // zero vector stays zero.
    double Normalize()
    {
        const double length = Length();
        if (length > 0.0)
        {
            const double inverse = 1.0 / length;
            x *= inverse;
            y *= inverse;
            z *= inverse;
        }
        return length;
    }
};

inline RayVec operator+(const RayVec& a, const RayVec& b)
{
    return RayVec{a.x + b.x, a.y + b.y, a.z + b.z};
}

inline RayVec operator-(const RayVec& a, const RayVec& b)
{
    return RayVec{a.x - b.x, a.y - b.y, a.z - b.z};
}

inline RayVec operator*(const RayVec& a, double s) { return RayVec{a.x * s, a.y * s, a.z * s}; }

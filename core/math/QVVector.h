#pragma once

#include "core/object/QVObject.h"

#include <cstdint>

// Vector of any dimension with double components; the three-value constructor makes the
// homogeneous point (x, y, z, 1). Operations that need a minimum or matching dimension throw
// QVException; the element-wise ones quietly work on the part both vectors have. Components live
// on the runtime heap (new[]/delete[]), not in hook memory: the tracer makes and drops them by
// the thousand, and they never cross a library boundary.
class QVVector : public QVObject
{
public:
    // n components, all 0.
    explicit QVVector(unsigned n = 0);
    // Dimension 4: x, y, z, 1.
    QVVector(double x, double y, double z);
    QVVector(const QVVector& other);
    ~QVVector();

    // Keeps this dimension: copies the components both have and zeroes the rest.
    QVVector& operator=(const QVVector& v);
    // Component-wise over the components both have; the rest stay.
    QVVector& operator+=(const QVVector& v);
    QVVector& operator-=(const QVVector& v);
    // Every component times s.
    QVVector& operator*=(double s);

    // result = this - v, assigned by operator= (so result keeps its own dimension).
    void Subtract(QVVector& result, const QVVector& v) const;

    // Component i, unchecked: callers stay below GetDimension().
    double& operator[](int i) { return m_components[i]; }
    const double& operator[](int i) const { return m_components[i]; }

    // First three (four) components. Throws QVException ("QVVector", "Set", "Invalid dim") when
    // the dimension is below 3 (4).
    void Set(double x, double y, double z);
    void Set(double x, double y, double z, double w);

    // Sum of the products of all components. Throws QVException ("QVVector", "DotProduct",
    // "Dim doesn't match") when the dimensions differ.
    double DotProduct(const QVVector& v) const;
    // result's first three components become this x v; nothing happens when any of the three
    // vectors has fewer than 3 components. result may be this or v.
    void CrossProduct(QVVector& result, const QVVector& v) const;

    // Square root of the sum of squares of all components (a point's w counts).
    double Length() const;
    // Scales to length 1 and returns the former length; a zero vector is left as it is.
    double Normalize();
    // Every component changes sign.
    void Negate();

    unsigned GetDimension() const { return m_dimension; }

private:
    std::uint32_t m_dimension;
    double* m_components;
};

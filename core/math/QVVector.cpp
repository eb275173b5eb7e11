#include "core/math/QVVector.h"

#include "core/object/QVException.h"

#include <cmath>

namespace
{
unsigned Common(unsigned a, unsigned b) { return a < b ? a : b; }
}  // namespace

QVVector::QVVector(unsigned n)
    : QVObject(QV_CLASS_VECTOR), m_dimension(n), m_components(n > 0 ? new double[n]() : nullptr)
{
}

QVVector::QVVector(double x, double y, double z)
    : QVObject(QV_CLASS_VECTOR), m_dimension(4), m_components(new double[4]{x, y, z, 1.0})
{
}

QVVector::QVVector(const QVVector& other)
    : QVObject(other), m_dimension(other.m_dimension),
      m_components(other.m_dimension > 0 ? new double[other.m_dimension] : nullptr)
{
    for (unsigned i = 0; i < m_dimension; ++i)
    {
        m_components[i] = other.m_components[i];
    }
}

QVVector::~QVVector() { delete[] m_components; }

QVVector& QVVector::operator=(const QVVector& v)
{
    if (&v == this)
    {
        return *this;
    }
    const unsigned common = Common(m_dimension, v.m_dimension);
    for (unsigned i = 0; i < m_dimension; ++i)
    {
        m_components[i] = i < common ? v.m_components[i] : 0.0;
    }
    return *this;
}

QVVector& QVVector::operator+=(const QVVector& v)
{
    const unsigned common = Common(m_dimension, v.m_dimension);
    for (unsigned i = 0; i < common; ++i)
    {
        m_components[i] += v.m_components[i];
    }
    return *this;
}

QVVector& QVVector::operator-=(const QVVector& v)
{
    const unsigned common = Common(m_dimension, v.m_dimension);
    for (unsigned i = 0; i < common; ++i)
    {
        m_components[i] -= v.m_components[i];
    }
    return *this;
}

QVVector& QVVector::operator*=(double s)
{
    for (unsigned i = 0; i < m_dimension; ++i)
    {
        m_components[i] *= s;
    }
    return *this;
}

void QVVector::Subtract(QVVector& result, const QVVector& v) const
{
    // Through a copy, so that result may be this vector or v.
    QVVector difference(*this);
    difference -= v;
    result = difference;
}

void QVVector::Set(double x, double y, double z)
{
    if (m_dimension < 3)
    {
        throw QVException("QVVector", "Set", "Invalid dim");
    }
    m_components[0] = x;
    m_components[1] = y;
    m_components[2] = z;
}

void QVVector::Set(double x, double y, double z, double w)
{
    if (m_dimension < 4)
    {
        throw QVException("QVVector", "Set", "Invalid dim");
    }
    m_components[0] = x;
    m_components[1] = y;
    m_components[2] = z;
    m_components[3] = w;
}

double QVVector::DotProduct(const QVVector& v) const
{
    if (m_dimension != v.m_dimension)
    {
        throw QVException("QVVector", "DotProduct", "Dim doesn't match");
    }
    double sum = 0.0;
    for (unsigned i = 0; i < m_dimension; ++i)
    {
        sum += m_components[i] * v.m_components[i];
    }
    return sum;
}

void QVVector::CrossProduct(QVVector& result, const QVVector& v) const
{
    if (m_dimension < 3 || v.m_dimension < 3 || result.m_dimension < 3)
    {
        return;
    }
    const double* a = m_components;
    const double* b = v.m_components;
    const double x = a[1] * b[2] - a[2] * b[1];
    const double y = a[2] * b[0] - a[0] * b[2];
    const double z = a[0] * b[1] - a[1] * b[0];
    result.m_components[0] = x;
    result.m_components[1] = y;
    result.m_components[2] = z;
}

double QVVector::Length() const
{
    double sum = 0.0;
    for (unsigned i = 0; i < m_dimension; ++i)
    {
        sum += m_components[i] * m_components[i];
    }
    return std::sqrt(sum);
}

double QVVector::Normalize()
{
    const double length = Length();
    // Scaling by 1/0 would turn every component into NaN; a zero vector has no direction to keep.
    if (length > 0.0)
    {
        *this *= 1.0 / length;
    }
    return length;
}

void QVVector::Negate()
{
    for (unsigned i = 0; i < m_dimension; ++i)
    {
        m_components[i] = -m_components[i];
    }
}

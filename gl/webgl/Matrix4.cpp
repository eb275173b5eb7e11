#include "gl/webgl/Matrix4.h"

#include <cmath>

namespace
{
const double kPi = 3.14159265358979323846;
}  // namespace

Matrix4 Matrix4::Identity()
{
    Matrix4 result = {};
    result.m[0] = result.m[5] = result.m[10] = result.m[15] = 1.0f;
    return result;
}

Matrix4 Matrix4::FromColumns(const float* values)
{
    Matrix4 result;
    for (int i = 0; i < 16; ++i)
    {
        result.m[i] = values[i];
    }
    return result;
}

Matrix4 Matrix4::FromColumns(const double* values)
{
    Matrix4 result;
    for (int i = 0; i < 16; ++i)
    {
        result.m[i] = static_cast<float>(values[i]);
    }
    return result;
}

Matrix4 Matrix4::Frustum(double l, double r, double b, double t, double n, double f)
{
    Matrix4 result = {};
    result.m[0] = static_cast<float>(2.0 * n / (r - l));
    result.m[5] = static_cast<float>(2.0 * n / (t - b));
    result.m[8] = static_cast<float>((r + l) / (r - l));
    result.m[9] = static_cast<float>((t + b) / (t - b));
    result.m[10] = static_cast<float>(-(f + n) / (f - n));
    result.m[11] = -1.0f;
    result.m[14] = static_cast<float>(-2.0 * f * n / (f - n));
    return result;
}

Matrix4 Matrix4::Ortho(double l, double r, double b, double t, double n, double f)
{
    Matrix4 result = Identity();
    result.m[0] = static_cast<float>(2.0 / (r - l));
    result.m[5] = static_cast<float>(2.0 / (t - b));
    result.m[10] = static_cast<float>(-2.0 / (f - n));
    result.m[12] = static_cast<float>(-(r + l) / (r - l));
    result.m[13] = static_cast<float>(-(t + b) / (t - b));
    result.m[14] = static_cast<float>(-(f + n) / (f - n));
    return result;
}

Matrix4 Matrix4::Translation(float x, float y, float z)
{
    Matrix4 result = Identity();
    result.m[12] = x;
    result.m[13] = y;
    result.m[14] = z;
    return result;
}

Matrix4 Matrix4::Rotation(float degrees, float x, float y, float z)
{
    const double length = std::sqrt(double(x) * x + double(y) * y + double(z) * z);
    if (length == 0.0)
    {
        return Identity();  // no axis: no turn
    }
    const double ux = x / length;
    const double uy = y / length;
    const double uz = z / length;
    const double radians = degrees * kPi / 180.0;
    const double c = std::cos(radians);
    const double s = std::sin(radians);
    const double k = 1.0 - c;
    const double rows[3][3] = {{ux * ux * k + c, ux * uy * k - uz * s, ux * uz * k + uy * s},
                               {uy * ux * k + uz * s, uy * uy * k + c, uy * uz * k - ux * s},
                               {ux * uz * k - uy * s, uy * uz * k + ux * s, uz * uz * k + c}};
    Matrix4 result = Identity();
    for (int r = 0; r < 3; ++r)
    {
        for (int col = 0; col < 3; ++col)
        {
            result.m[4 * col + r] = static_cast<float>(rows[r][col]);
        }
    }
    return result;
}

Matrix4 Matrix4::Scaling(float x, float y, float z)
{
    Matrix4 result = Identity();
    result.m[0] = x;
    result.m[5] = y;
    result.m[10] = z;
    return result;
}

Matrix4 Matrix4::operator*(const Matrix4& other) const
{
    Matrix4 result;
    for (int col = 0; col < 4; ++col)
    {
        for (int r = 0; r < 4; ++r)
        {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k)
            {
                sum += m[4 * k + r] * other.m[4 * col + k];
            }
            result.m[4 * col + r] = sum;
        }
    }
    return result;
}

void Matrix4::Transform(const float in[4], float out[4]) const
{
    for (int r = 0; r < 4; ++r)
    {
        out[r] = m[r] * in[0] + m[4 + r] * in[1] + m[8 + r] * in[2] + m[12 + r] * in[3];
    }
}

NormalTransform NormalTransformOf(const Matrix4& modelView)
{
    // a[r][c] of the upper-left 3 x 3.
    double a[3][3];
    for (int r = 0; r < 3; ++r)
    {
        for (int c = 0; c < 3; ++c)
        {
            a[r][c] = modelView.m[4 * c + r];
        }
    }
    const double cofactor[3][3] = {
        {a[1][1] * a[2][2] - a[1][2] * a[2][1], a[1][2] * a[2][0] - a[1][0] * a[2][2],
         a[1][0] * a[2][1] - a[1][1] * a[2][0]},
        {a[0][2] * a[2][1] - a[0][1] * a[2][2], a[0][0] * a[2][2] - a[0][2] * a[2][0],
         a[0][1] * a[2][0] - a[0][0] * a[2][1]},
        {a[0][1] * a[1][2] - a[0][2] * a[1][1], a[0][2] * a[1][0] - a[0][0] * a[1][2],
         a[0][0] * a[1][1] - a[0][1] * a[1][0]}};
    const double determinant =
        a[0][0] * cofactor[0][0] + a[0][1] * cofactor[0][1] + a[0][2] * cofactor[0][2];
    NormalTransform result = {};
    if (determinant == 0.0)
    {
        return result;
    }
    // inverse[r][c] = cofactor[c][r] / det; its transpose is cofactor / det, stored column by
    // column.
    for (int r = 0; r < 3; ++r)
    {
        for (int c = 0; c < 3; ++c)
        {
            result.m[3 * c + r] = static_cast<float>(cofactor[r][c] / determinant);
        }
    }
    // The factor that gives unit normals back under a uniform scale: the length of the inverse's
    // third row (the transposed inverse's third column) taken as the scale.
    const double third =
        std::sqrt(double(result.m[6]) * result.m[6] + double(result.m[7]) * result.m[7] +
                  double(result.m[8]) * result.m[8]);
    result.rescale = third > 0.0 ? static_cast<float>(1.0 / third) : 1.0f;
    return result;
}

#pragma once

// A 4 x 4 matrix in OpenGL's order (column by column: element [row r, column c] at 4c + r), as
// glLoadMatrixf takes it and the shader's uniforms want it. Single precision, as the drivers keep
// their matrices.
struct Matrix4
{
    float m[16];

    static Matrix4 Identity();
    static Matrix4 FromColumns(const float* values);
    static Matrix4 FromColumns(const double* values);

    // The matrices glFrustum, glOrtho, glTranslate, glRotate (angle in degrees about the axis,
    // which need not be of unit length) and glScale multiply onto the current one.
    static Matrix4 Frustum(double left, double right, double bottom, double top, double nearPlane,
                           double farPlane);
    static Matrix4 Ortho(double left, double right, double bottom, double top, double nearPlane,
                         double farPlane);
    static Matrix4 Translation(float x, float y, float z);
    static Matrix4 Rotation(float degrees, float x, float y, float z);
    static Matrix4 Scaling(float x, float y, float z);

    // this * other: other is applied to a vector first.
    Matrix4 operator*(const Matrix4& other) const;
    // The matrix applied to (x, y, z, w).
    void Transform(const float in[4], float out[4]) const;
};

// The 3 x 3 matrix that carries object-space normals to eye space (the transposed inverse of the
// upper-left 3 x 3 of modelView, column by column) and the factor GL_RESCALE_NORMAL multiplies
// them by. A singular matrix gives zeros, as a driver's would give no usable normals.
struct NormalTransform
{
    float m[9];
    float rescale;
};
NormalTransform NormalTransformOf(const Matrix4& modelView);

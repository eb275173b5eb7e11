// The matrix stacks: model-view, projection and texture, each with the current matrix on top.
#include "gl/webgl/FixedState.h"

#include <GL/glu.h>

#include <cmath>

namespace
{
void MultiplyCurrent(const Matrix4& by)
{
    if (InsidePrimitive())
    {
        return;
    }
    Matrix4& top = CurrentStack().back();
    top = top * by;
}

void LoadCurrent(const Matrix4& matrix)
{
    if (InsidePrimitive())
    {
        return;
    }
    CurrentStack().back() = matrix;
}
}  // namespace

void glMatrixMode(GLenum mode)
{
    if (InsidePrimitive())
    {
        return;
    }
    if (mode != GL_MODELVIEW && mode != GL_PROJECTION && mode != GL_TEXTURE)
    {
        RaiseError(GL_INVALID_ENUM);
        return;
    }
    State().matrixMode = mode;
}

void glLoadIdentity(void) { LoadCurrent(Matrix4::Identity()); }
void glLoadMatrixf(const GLfloat* m) { LoadCurrent(Matrix4::FromColumns(m)); }
void glLoadMatrixd(const GLdouble* m) { LoadCurrent(Matrix4::FromColumns(m)); }
void glMultMatrixf(const GLfloat* m) { MultiplyCurrent(Matrix4::FromColumns(m)); }
void glMultMatrixd(const GLdouble* m) { MultiplyCurrent(Matrix4::FromColumns(m)); }

void glPushMatrix(void)
{
    if (InsidePrimitive())
    {
        return;
    }
    std::vector<Matrix4>& stack = CurrentStack();
    if (stack.size() >= static_cast<std::size_t>(kMaxStackDepth))
    {
        RaiseError(GL_STACK_OVERFLOW);
        return;
    }
    stack.push_back(stack.back());
}

void glPopMatrix(void)
{
    if (InsidePrimitive())
    {
        return;
    }
    std::vector<Matrix4>& stack = CurrentStack();
    if (stack.size() <= 1)
    {
        RaiseError(GL_STACK_UNDERFLOW);
        return;
    }
    stack.pop_back();
}

void glFrustum(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble nearPlane,
               GLdouble farPlane)
{
    if (nearPlane <= 0.0 || farPlane <= 0.0 || left == right || bottom == top ||
        nearPlane == farPlane)
    {
        RaiseError(GL_INVALID_VALUE);
        return;
    }
    MultiplyCurrent(Matrix4::Frustum(left, right, bottom, top, nearPlane, farPlane));
}

void glOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble nearPlane,
             GLdouble farPlane)
{
    if (left == right || bottom == top || nearPlane == farPlane)
    {
        RaiseError(GL_INVALID_VALUE);
        return;
    }
    MultiplyCurrent(Matrix4::Ortho(left, right, bottom, top, nearPlane, farPlane));
}

void glTranslatef(GLfloat x, GLfloat y, GLfloat z)
{
    MultiplyCurrent(Matrix4::Translation(x, y, z));
}
void glTranslated(GLdouble x, GLdouble y, GLdouble z)
{
    MultiplyCurrent(Matrix4::Translation(float(x), float(y), float(z)));
}
void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z)
{
    MultiplyCurrent(Matrix4::Rotation(angle, x, y, z));
}
void glRotated(GLdouble angle, GLdouble x, GLdouble y, GLdouble z)
{
    MultiplyCurrent(Matrix4::Rotation(float(angle), float(x), float(y), float(z)));
}
void glScalef(GLfloat x, GLfloat y, GLfloat z) { MultiplyCurrent(Matrix4::Scaling(x, y, z)); }
void glScaled(GLdouble x, GLdouble y, GLdouble z)
{
    MultiplyCurrent(Matrix4::Scaling(float(x), float(y), float(z)));
}

void gluPerspective(GLdouble fieldOfView, GLdouble aspect, GLdouble nearPlane, GLdouble farPlane)
{
    const double top = nearPlane * std::tan(fieldOfView * 3.14159265358979323846 / 360.0);
    if (aspect == 0.0 || top == 0.0 || nearPlane == farPlane)
    {
        return;  // GLU leaves the matrix alone
    }
    MultiplyCurrent(Matrix4::Frustum(-top * aspect, top * aspect, -top, top, nearPlane, farPlane));
}

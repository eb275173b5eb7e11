// glBegin/glEnd and the vertex data: the current colour, normal and texture coordinate are state
// of their own, set inside or outside a primitive, and every vertex takes the values current at
// the time (a colour given once holds for all the vertices after it).
#include "gl/webgl/FixedState.h"
#include "gl/webgl/RecordedDraw.h"

namespace
{
bool IsPrimitiveMode(GLenum mode) { return mode <= GL_POLYGON; }

void AddVertex(float x, float y, float z, float w)
{
    FixedState& state = State();
    if (state.primitive == GL_INVALID_VALUE)
    {
        return;  // outside glBegin/glEnd a vertex has no effect
    }
    const CurrentValues& current = state.groups.current;
    RecordedVertex v;
    v.position[0] = x;
    v.position[1] = y;
    v.position[2] = z;
    v.position[3] = w;
    for (int i = 0; i < 4; ++i)
    {
        v.colour[i] = current.colour[i];
    }
    for (int i = 0; i < 3; ++i)
    {
        v.normal[i] = current.normal[i];
    }
    v.texCoord[0] = current.texCoord[0];
    v.texCoord[1] = current.texCoord[1];
    state.vertices.push_back(v);
}

void SetColour(float r, float g, float b, float a)
{
    FixedState& state = State();
    float* colour = state.groups.current.colour;
    colour[0] = r;
    colour[1] = g;
    colour[2] = b;
    colour[3] = a;
    // With colour material on, the colour also becomes the material's (and stays it).
    if (state.groups.enables.colourMaterial)
    {
        TrackColourMaterial();
    }
}

float FromByte(GLubyte value) { return static_cast<float>(value) / 255.0f; }
}  // namespace

void glBegin(GLenum mode)
{
    if (InsidePrimitive())
    {
        return;
    }
    if (!IsPrimitiveMode(mode))
    {
        RaiseError(GL_INVALID_ENUM);
        return;
    }
    State().primitive = mode;
    State().vertices.clear();
}

void glEnd(void)
{
    FixedState& state = State();
    if (state.primitive == GL_INVALID_VALUE)
    {
        RaiseError(GL_INVALID_OPERATION);
        return;
    }
    const GLenum mode = state.primitive;
    state.primitive = GL_INVALID_VALUE;
    DrawRecorded(mode, state.vertices);
    state.vertices.clear();
}

void glVertex2i(GLint x, GLint y) { AddVertex(float(x), float(y), 0.0f, 1.0f); }
void glVertex2f(GLfloat x, GLfloat y) { AddVertex(x, y, 0.0f, 1.0f); }
void glVertex2d(GLdouble x, GLdouble y) { AddVertex(float(x), float(y), 0.0f, 1.0f); }
void glVertex3i(GLint x, GLint y, GLint z) { AddVertex(float(x), float(y), float(z), 1.0f); }
void glVertex3f(GLfloat x, GLfloat y, GLfloat z) { AddVertex(x, y, z, 1.0f); }
void glVertex3fv(const GLfloat* v) { AddVertex(v[0], v[1], v[2], 1.0f); }
void glVertex3d(GLdouble x, GLdouble y, GLdouble z)
{
    AddVertex(float(x), float(y), float(z), 1.0f);
}
void glVertex3dv(const GLdouble* v) { AddVertex(float(v[0]), float(v[1]), float(v[2]), 1.0f); }
void glVertex4f(GLfloat x, GLfloat y, GLfloat z, GLfloat w) { AddVertex(x, y, z, w); }

void glColor3f(GLfloat r, GLfloat g, GLfloat b) { SetColour(r, g, b, 1.0f); }
void glColor3fv(const GLfloat* v) { SetColour(v[0], v[1], v[2], 1.0f); }
void glColor3d(GLdouble r, GLdouble g, GLdouble b)
{
    SetColour(float(r), float(g), float(b), 1.0f);
}
void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) { SetColour(r, g, b, a); }
void glColor4fv(const GLfloat* v) { SetColour(v[0], v[1], v[2], v[3]); }
void glColor3ub(GLubyte r, GLubyte g, GLubyte b)
{
    SetColour(FromByte(r), FromByte(g), FromByte(b), 1.0f);
}
void glColor4ub(GLubyte r, GLubyte g, GLubyte b, GLubyte a)
{
    SetColour(FromByte(r), FromByte(g), FromByte(b), FromByte(a));
}

void glNormal3f(GLfloat x, GLfloat y, GLfloat z)
{
    float* normal = State().groups.current.normal;
    normal[0] = x;
    normal[1] = y;
    normal[2] = z;
}
void glNormal3fv(const GLfloat* v) { glNormal3f(v[0], v[1], v[2]); }
void glNormal3d(GLdouble x, GLdouble y, GLdouble z) { glNormal3f(float(x), float(y), float(z)); }

void glTexCoord2f(GLfloat s, GLfloat t)
{
    float* texCoord = State().groups.current.texCoord;
    texCoord[0] = s;
    texCoord[1] = t;
    texCoord[2] = 0.0f;
    texCoord[3] = 1.0f;
}
void glTexCoord2fv(const GLfloat* v) { glTexCoord2f(v[0], v[1]); }
void glTexCoord2d(GLdouble s, GLdouble t) { glTexCoord2f(float(s), float(t)); }

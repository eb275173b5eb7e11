#pragma once

#include <GL/gl.h>

// The client-side vertex arrays of OpenGL 1.1 as the layer keeps them: where each array lies in
// the program's memory and how its elements are laid out. Nothing is copied until a draw.
struct ClientArray
{
    bool enabled = false;
    GLint size = 4;                 // components per element
    GLenum type = GL_FLOAT;         // GL_FLOAT (GL_UNSIGNED_BYTE for colours too)
    GLsizei stride = 0;             // bytes from element to element; 0 is tightly packed
    const void* pointer = nullptr;  // element 0

    // The bytes of one element, and from one element to the next.
    GLsizei ElementBytes() const { return size * (type == GL_UNSIGNED_BYTE ? 1 : 4); }
    GLsizei Step() const { return stride != 0 ? stride : ElementBytes(); }
};

// GL_CLIENT_VERTEX_ARRAY_BIT, in the order of the shader's attributes (position, colour, normal,
// texture coordinate).
struct ClientArrays
{
    ClientArray arrays[4];
};

// The client attribute groups glPushClientAttrib saves.
struct ClientAttributes
{
    GLbitfield mask;
    ClientArrays vertexArrays;
    int packAlignment;
    int unpackAlignment;
};

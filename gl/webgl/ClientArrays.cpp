// The client-side vertex arrays: which arrays are on, where they lie (glVertexPointer and its
// kin, glInterleavedArrays), glPushClientAttrib/glPopClientAttrib, and the draws that read them.
#include "gl/webgl/ArrayDraw.h"
#include "gl/webgl/FixedFunctionShader.h"
#include "gl/webgl/FixedState.h"

namespace
{
// The array of a glEnableClientState name, or null for another name.
ClientArray* ArrayOf(GLenum name)
{
    ClientArray* arrays = State().clientArrays.arrays;
    switch (name)
    {
    case GL_VERTEX_ARRAY:
        return &arrays[kPositionAttribute];
    case GL_COLOR_ARRAY:
        return &arrays[kColourAttribute];
    case GL_NORMAL_ARRAY:
        return &arrays[kNormalAttribute];
    case GL_TEXTURE_COORD_ARRAY:
        return &arrays[kTexCoordAttribute];
    default:
        return nullptr;
    }
}

void SetClientState(GLenum name, bool on)
{
    ClientArray* array = ArrayOf(name);
    if (array == nullptr)
    {
        RaiseError(GL_INVALID_ENUM);
        return;
    }
    array->enabled = on;
}

void SetPointer(int attribute, GLint size, GLenum type, GLsizei stride, const void* pointer)
{
    ClientArray& array = State().clientArrays.arrays[attribute];
    array.size = size;
    array.type = type;
    array.stride = stride;
    array.pointer = pointer;
}

bool SizeFits(GLint size, GLint lowest) { return size >= lowest && size <= 4; }

// The layouts of glInterleavedArrays: components of texture coordinates, colour (negative:
// unsigned bytes), normal and position, in this order in memory.
struct Layout
{
    GLenum format;
    int texCoords, colours, normals, positions;
};

const Layout kLayouts[] = {
    {GL_V2F, 0, 0, 0, 2},
    {GL_V3F, 0, 0, 0, 3},
    {GL_C4UB_V2F, 0, -4, 0, 2},
    {GL_C4UB_V3F, 0, -4, 0, 3},
    {GL_C3F_V3F, 0, 3, 0, 3},
    {GL_N3F_V3F, 0, 0, 3, 3},
    {GL_C4F_N3F_V3F, 0, 4, 3, 3},
    {GL_T2F_V3F, 2, 0, 0, 3},
    {GL_T4F_V4F, 4, 0, 0, 4},
    {GL_T2F_C4UB_V3F, 2, -4, 0, 3},
    {GL_T2F_C3F_V3F, 2, 3, 0, 3},
    {GL_T2F_N3F_V3F, 2, 0, 3, 3},
    {GL_T2F_C4F_N3F_V3F, 2, 4, 3, 3},
    {GL_T4F_C4F_N3F_V4F, 4, 4, 3, 4},
};
}  // namespace

void glEnableClientState(GLenum array) { SetClientState(array, true); }
void glDisableClientState(GLenum array) { SetClientState(array, false); }

void glVertexPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* pointer)
{
    if (!SizeFits(size, 2) || stride < 0)
    {
        RaiseError(GL_INVALID_VALUE);
        return;
    }
    if (type != GL_FLOAT)
    {
        RaiseError(GL_INVALID_ENUM);
        return;
    }
    SetPointer(kPositionAttribute, size, type, stride, pointer);
}

void glNormalPointer(GLenum type, GLsizei stride, const GLvoid* pointer)
{
    if (stride < 0)
    {
        RaiseError(GL_INVALID_VALUE);
        return;
    }
    if (type != GL_FLOAT)
    {
        RaiseError(GL_INVALID_ENUM);
        return;
    }
    SetPointer(kNormalAttribute, 3, type, stride, pointer);
}

void glTexCoordPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* pointer)
{
    if (!SizeFits(size, 1) || stride < 0)
    {
        RaiseError(GL_INVALID_VALUE);
        return;
    }
    if (type != GL_FLOAT)
    {
        RaiseError(GL_INVALID_ENUM);
        return;
    }
    SetPointer(kTexCoordAttribute, size, type, stride, pointer);
}

void glColorPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* pointer)
{
    if (!SizeFits(size, 3) || stride < 0)
    {
        RaiseError(GL_INVALID_VALUE);
        return;
    }
    if (type != GL_FLOAT && type != GL_UNSIGNED_BYTE)
    {
        RaiseError(GL_INVALID_ENUM);
        return;
    }
    SetPointer(kColourAttribute, size, type, stride, pointer);
}

void glInterleavedArrays(GLenum format, GLsizei stride, const GLvoid* pointer)
{
    const Layout* layout = nullptr;
    for (const Layout& candidate : kLayouts)
    {
        layout = candidate.format == format ? &candidate : layout;
    }
    if (layout == nullptr)
    {
        RaiseError(GL_INVALID_ENUM);
        return;
    }
    if (stride < 0)
    {
        RaiseError(GL_INVALID_VALUE);
        return;
    }
    const int colourBytes = layout->colours < 0 ? 4 : 4 * layout->colours;
    const int normalAt = 4 * layout->texCoords + (layout->colours != 0 ? colourBytes : 0);
    const int positionAt = normalAt + 4 * layout->normals;
    const GLsizei step = stride != 0 ? stride : positionAt + 4 * layout->positions;
    const char* base = static_cast<const char*>(pointer);
    ClientArray* arrays = State().clientArrays.arrays;
    arrays[kTexCoordAttribute].enabled = layout->texCoords != 0;
    arrays[kColourAttribute].enabled = layout->colours != 0;
    arrays[kNormalAttribute].enabled = layout->normals != 0;
    arrays[kPositionAttribute].enabled = true;
    if (layout->texCoords != 0)
    {
        SetPointer(kTexCoordAttribute, layout->texCoords, GL_FLOAT, step, base);
    }
    if (layout->colours != 0)
    {
        SetPointer(kColourAttribute, layout->colours < 0 ? 4 : layout->colours,
                   layout->colours < 0 ? GL_UNSIGNED_BYTE : GL_FLOAT, step,
                   base + 4 * layout->texCoords);
    }
    if (layout->normals != 0)
    {
        SetPointer(kNormalAttribute, 3, GL_FLOAT, step, base + normalAt);
    }
    SetPointer(kPositionAttribute, layout->positions, GL_FLOAT, step, base + positionAt);
}

void glPushClientAttrib(GLbitfield mask)
{
    FixedState& state = State();
    if (state.clientAttributeStack.size() >= static_cast<std::size_t>(kMaxStackDepth))
    {
        RaiseError(GL_STACK_OVERFLOW);
        return;
    }
    state.clientAttributeStack.push_back(
        {mask, state.clientArrays, state.packAlignment, state.unpackAlignment});
}

void glPopClientAttrib(void)
{
    FixedState& state = State();
    if (state.clientAttributeStack.empty())
    {
        RaiseError(GL_STACK_UNDERFLOW);
        return;
    }
    const ClientAttributes saved = state.clientAttributeStack.back();
    state.clientAttributeStack.pop_back();
    if (saved.mask & GL_CLIENT_VERTEX_ARRAY_BIT)
    {
        state.clientArrays = saved.vertexArrays;
    }
    if (saved.mask & GL_CLIENT_PIXEL_STORE_BIT)
    {
        glPixelStorei(GL_PACK_ALIGNMENT, saved.packAlignment);
        glPixelStorei(GL_UNPACK_ALIGNMENT, saved.unpackAlignment);
    }
}

void glDrawArrays(GLenum mode, GLint first, GLsizei count)
{
    if (first < 0 || count < 0)
    {
        RaiseError(GL_INVALID_VALUE);
        return;
    }
    DrawClientArrays(mode, ArrayRange::Sequence(static_cast<std::uint32_t>(first),
                                                static_cast<std::uint32_t>(count)));
}

void glDrawElements(GLenum mode, GLsizei count, GLenum type, const GLvoid* indices)
{
    if (count < 0)
    {
        RaiseError(GL_INVALID_VALUE);
        return;
    }
    if (type != GL_UNSIGNED_BYTE && type != GL_UNSIGNED_SHORT && type != GL_UNSIGNED_INT)
    {
        RaiseError(GL_INVALID_ENUM);
        return;
    }
    DrawClientArrays(mode, ArrayRange::Indexed(type, indices, static_cast<std::uint32_t>(count)));
}

// The state WebGL keeps itself (faces, depth, blending, clearing, viewport), passed through and
// recorded for glPushAttrib and the queries.
#include "gl/webgl/FixedState.h"
#include "gl/webgl/WebGLCalls.h"

void glCullFace(GLenum mode)
{
    if (InsidePrimitive())
    {
        return;
    }
    State().groups.polygon.cullFace = mode;
    emscripten_glCullFace(mode);
}

void glFrontFace(GLenum mode)
{
    if (InsidePrimitive())
    {
        return;
    }
    State().groups.polygon.frontFace = mode;
    emscripten_glFrontFace(mode);
}

// Only filled polygons: WebGL draws no outlines of triangles (kept for the queries).
void glPolygonMode(GLenum, GLenum mode) { State().groups.polygon.polygonMode = mode; }

void glPolygonOffset(GLfloat factor, GLfloat units) { emscripten_glPolygonOffset(factor, units); }

void glDepthFunc(GLenum function)
{
    State().groups.depth.function = function;
    emscripten_glDepthFunc(function);
}

void glDepthMask(GLboolean flag)
{
    State().groups.depth.writeMask = flag != GL_FALSE;
    emscripten_glDepthMask(flag);
}

void glDepthRange(GLclampd nearValue, GLclampd farValue)
{
    State().groups.viewport.depthRange[0] = static_cast<float>(nearValue);
    State().groups.viewport.depthRange[1] = static_cast<float>(farValue);
    emscripten_glDepthRangef(static_cast<float>(nearValue), static_cast<float>(farValue));
}

void glBlendFunc(GLenum source, GLenum destination)
{
    State().groups.colourBuffer.blendSource = source;
    State().groups.colourBuffer.blendDestination = destination;
    emscripten_glBlendFunc(source, destination);
}

void glColorMask(GLboolean red, GLboolean green, GLboolean blue, GLboolean alpha)
{
    bool* mask = State().groups.colourBuffer.writeMask;
    mask[0] = red != GL_FALSE;
    mask[1] = green != GL_FALSE;
    mask[2] = blue != GL_FALSE;
    mask[3] = alpha != GL_FALSE;
    emscripten_glColorMask(red, green, blue, alpha);
}

void glLineWidth(GLfloat width) { emscripten_glLineWidth(width); }

void glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha)
{
    float* colour = State().groups.colourBuffer.clearColour;
    colour[0] = red;
    colour[1] = green;
    colour[2] = blue;
    colour[3] = alpha;
    emscripten_glClearColor(red, green, blue, alpha);
}

void glClearDepth(GLclampd depth)
{
    State().groups.depth.clearDepth = static_cast<float>(depth);
    emscripten_glClearDepthf(static_cast<float>(depth));
}

void glClearStencil(GLint stencil) { emscripten_glClearStencil(stencil); }

void glClear(GLbitfield mask)
{
    if (InsidePrimitive())
    {
        return;
    }
    // The accumulation buffer does not exist in WebGL; its bit alone would be refused.
    emscripten_glClear(mask & (GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT));
}

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height)
{
    if (width < 0 || height < 0)
    {
        RaiseError(GL_INVALID_VALUE);
        return;
    }
    int* viewport = State().groups.viewport.viewport;
    viewport[0] = x;
    viewport[1] = y;
    viewport[2] = width;
    viewport[3] = height;
    emscripten_glViewport(ToBuffer(x), ToBuffer(y), ToBuffer(width), ToBuffer(height));
}

void glScissor(GLint x, GLint y, GLsizei width, GLsizei height)
{
    emscripten_glScissor(ToBuffer(x), ToBuffer(y), ToBuffer(width), ToBuffer(height));
}

void glHint(GLenum target, GLenum mode)
{
    // WebGL knows only the mipmap hint; the others are hints, free to ignore.
    if (target == GL_GENERATE_MIPMAP_HINT)
    {
        emscripten_glHint(target, mode);
    }
}

// One colour buffer that the page composites: nothing to choose.
void glDrawBuffer(GLenum) {}
void glReadBuffer(GLenum) {}

void glFinish(void) { emscripten_glFinish(); }
void glFlush(void) { emscripten_glFlush(); }

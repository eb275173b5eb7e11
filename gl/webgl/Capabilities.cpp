// glEnable/glDisable/glIsEnabled and glPushAttrib/glPopAttrib. Capabilities WebGL knows go
// through to it as well as into the layer's record; the fixed-function ones live only here.
#include "gl/webgl/FixedState.h"
#include "gl/webgl/WebGLCalls.h"

namespace
{
// The record of a capability, and whether WebGL has it too; null for an unknown one.
bool* FlagOf(GLenum capability, bool& webGLToo)
{
    Enables& e = State().groups.enables;
    webGLToo = false;
    if (capability >= GL_LIGHT0 && capability < GL_LIGHT0 + kMaxLights)
    {
        return &e.light[capability - GL_LIGHT0];
    }
    switch (capability)
    {
    case GL_LIGHTING:
        return &e.lighting;
    case GL_TEXTURE_2D:
        return &e.texture2D;
    case GL_COLOR_MATERIAL:
        return &e.colourMaterial;
    case GL_NORMALIZE:
        return &e.normalize;
    case GL_RESCALE_NORMAL:
        return &e.rescaleNormal;
    case GL_ALPHA_TEST:
        return &e.other[0];
    case GL_FOG:
        return &e.other[1];
    case GL_LINE_SMOOTH:
        return &e.other[2];
    case GL_POINT_SMOOTH:
        return &e.other[3];
    case GL_POLYGON_SMOOTH:
        return &e.other[4];
    case GL_TEXTURE_1D:
        return &e.other[5];
    case GL_STENCIL_TEST:
        return &e.other[6];
    case GL_LINE_STIPPLE:
        return &e.other[7];
    default:
        break;
    }
    webGLToo = true;
    switch (capability)
    {
    case GL_DEPTH_TEST:
        return &e.depthTest;
    case GL_CULL_FACE:
        return &e.cullFace;
    case GL_BLEND:
        return &e.blend;
    case GL_SCISSOR_TEST:
        return &e.scissorTest;
    case GL_POLYGON_OFFSET_FILL:
        return &e.polygonOffsetFill;
    case GL_DITHER:
        return &e.dither;
    default:
        return nullptr;
    }
}

void SetCapability(GLenum capability, bool on)
{
    if (InsidePrimitive())
    {
        return;
    }
    bool webGLToo = false;
    bool* flag = FlagOf(capability, webGLToo);
    if (flag == nullptr)
    {
        RaiseError(GL_INVALID_ENUM);
        return;
    }
    *flag = on;
    if (webGLToo)
    {
        if (on)
        {
            emscripten_glEnable(capability);
        }
        else
        {
            emscripten_glDisable(capability);
        }
    }
    if (capability == GL_COLOR_MATERIAL && on)
    {
        TrackColourMaterial();
    }
}
}  // namespace

void glEnable(GLenum capability) { SetCapability(capability, true); }
void glDisable(GLenum capability) { SetCapability(capability, false); }

GLboolean glIsEnabled(GLenum capability)
{
    bool webGLToo = false;
    const bool* flag = FlagOf(capability, webGLToo);
    if (flag == nullptr)
    {
        RaiseError(GL_INVALID_ENUM);
        return GL_FALSE;
    }
    return *flag ? GL_TRUE : GL_FALSE;
}

void glPushAttrib(GLbitfield mask)
{
    if (InsidePrimitive())
    {
        return;
    }
    FixedState& state = State();
    if (state.attributeStack.size() >= static_cast<std::size_t>(kMaxStackDepth))
    {
        RaiseError(GL_STACK_OVERFLOW);
        return;
    }
    state.attributeStack.emplace_back(mask, state.groups);
}

void glPopAttrib(void)
{
    if (InsidePrimitive())
    {
        return;
    }
    FixedState& state = State();
    if (state.attributeStack.empty())
    {
        RaiseError(GL_STACK_UNDERFLOW);
        return;
    }
    const GLbitfield mask = state.attributeStack.back().first;
    const AttributeGroups& saved = state.attributeStack.back().second;
    AttributeGroups& g = state.groups;
    if (mask & GL_CURRENT_BIT)
    {
        g.current = saved.current;
    }
    if (mask & GL_ENABLE_BIT)
    {
        g.enables = saved.enables;
    }
    if (mask & GL_LIGHTING_BIT)
    {
        g.lighting = saved.lighting;
        g.enables.lighting = saved.enables.lighting;
        g.enables.colourMaterial = saved.enables.colourMaterial;
        for (int i = 0; i < kMaxLights; ++i)
        {
            g.enables.light[i] = saved.enables.light[i];
        }
    }
    if (mask & GL_POLYGON_BIT)
    {
        g.polygon = saved.polygon;
        g.enables.cullFace = saved.enables.cullFace;
        g.enables.polygonOffsetFill = saved.enables.polygonOffsetFill;
    }
    if (mask & GL_DEPTH_BUFFER_BIT)
    {
        g.depth = saved.depth;
        g.enables.depthTest = saved.enables.depthTest;
    }
    if (mask & GL_COLOR_BUFFER_BIT)
    {
        g.colourBuffer = saved.colourBuffer;
        g.enables.blend = saved.enables.blend;
        g.enables.dither = saved.enables.dither;
    }
    if (mask & GL_VIEWPORT_BIT)
    {
        g.viewport = saved.viewport;
    }
    if (mask & GL_TEXTURE_BIT)
    {
        g.texture = saved.texture;
    }
    if (mask & GL_SCISSOR_BIT)
    {
        g.enables.scissorTest = saved.enables.scissorTest;
    }
    state.attributeStack.pop_back();
    SendServerState();
}

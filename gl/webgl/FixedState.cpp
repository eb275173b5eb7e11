#include "gl/webgl/FixedState.h"

#include "gl/webgl/WebGLCalls.h"

#include <cmath>
#include <cstring>

namespace
{
std::unordered_map<int, FixedState> states;
// Calls without a context change this one and reach no WebGL context.
FixedState detached;
FixedState* current = &detached;

void Set4(float* to, float a, float b, float c, float d)
{
    to[0] = a;
    to[1] = b;
    to[2] = c;
    to[3] = d;
}

void ResetLight(LightRecord& light, bool first)
{
    std::memset(&light, 0, sizeof light);
    Set4(light.ambient, 0, 0, 0, 1);
    // Light 0 is white; the others start dark.
    const float on = first ? 1.0f : 0.0f;
    Set4(light.diffuse, on, on, on, 1);
    Set4(light.specular, on, on, on, 1);
    Set4(light.position, 0, 0, 1, 0);
    light.spotDirection[2] = -1.0f;
    light.spotCutoff = 180.0f;
    light.attenuation[0] = 1.0f;
}

void ResetMaterial(MaterialRecord& material)
{
    Set4(material.ambient, 0.2f, 0.2f, 0.2f, 1);
    Set4(material.diffuse, 0.8f, 0.8f, 0.8f, 1);
    Set4(material.specular, 0, 0, 0, 1);
    Set4(material.emission, 0, 0, 0, 1);
    material.shininess = 0.0f;
}

void Toggle(GLenum capability, bool on)
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
}  // namespace

FixedState& State() { return *current; }

void CreateFixedState(int context, int width, int height, float pixelScale)
{
    FixedState& state = states[context];
    state = FixedState();
    state.groups = AttributeGroups();
    AttributeGroups& g = state.groups;
    Set4(g.current.colour, 1, 1, 1, 1);
    g.current.normal[2] = 1.0f;
    g.current.texCoord[3] = 1.0f;
    g.enables.dither = true;
    for (int i = 0; i < kMaxLights; ++i)
    {
        ResetLight(g.lighting.lights[i], i == 0);
    }
    ResetMaterial(g.lighting.front);
    ResetMaterial(g.lighting.back);
    Set4(g.lighting.sceneAmbient, 0.2f, 0.2f, 0.2f, 1);
    g.lighting.colourMaterialFace = GL_FRONT_AND_BACK;
    g.lighting.colourMaterialMode = GL_AMBIENT_AND_DIFFUSE;
    g.lighting.shadeModel = GL_SMOOTH;
    g.polygon = {GL_BACK, GL_CCW, GL_FILL};
    g.depth = {GL_LESS, true, 1.0f};
    g.colourBuffer = {{0, 0, 0, 0}, GL_ONE, GL_ZERO, {true, true, true, true}};
    g.viewport = {{0, 0, 0, 0}, {0.0f, 1.0f}};
    g.texture = {0, GL_MODULATE, {0, 0, 0, 0}};

    state.attributeStack.clear();
    state.matrixMode = GL_MODELVIEW;
    state.modelView.assign(1, Matrix4::Identity());
    state.projection.assign(1, Matrix4::Identity());
    state.textureMatrix.assign(1, Matrix4::Identity());
    state.primitive = GL_INVALID_VALUE;
    state.vertices.clear();
    state.error = GL_NO_ERROR;
    state.packAlignment = 4;
    state.unpackAlignment = 4;
    state.textures.clear();
    state.pixelScale = pixelScale >= 1.0f ? pixelScale : 1.0f;
    int* viewport = state.groups.viewport.viewport;
    viewport[2] = static_cast<int>(std::lround(width / state.pixelScale));
    viewport[3] = static_cast<int>(std::lround(height / state.pixelScale));
    current = &state;
    SendServerState();
}

int ToBuffer(int length)
{
    return static_cast<int>(std::lround(static_cast<double>(length) * State().pixelScale));
}

void SelectFixedState(int context)
{
    const auto found = states.find(context);
    current = found != states.end() ? &found->second : &detached;
}

void DropFixedState(int context)
{
    const auto found = states.find(context);
    if (found == states.end())
    {
        return;
    }
    if (current == &found->second)
    {
        current = &detached;
    }
    states.erase(found);
}

void RaiseError(GLenum error)
{
    FixedState& state = *current;
    if (state.error == GL_NO_ERROR)
    {
        state.error = error;
    }
}

bool InsidePrimitive()
{
    FixedState& state = *current;
    if (state.primitive != GL_INVALID_VALUE)
    {
        RaiseError(GL_INVALID_OPERATION);
        return true;
    }
    return false;
}

std::vector<Matrix4>& CurrentStack()
{
    FixedState& state = *current;
    switch (state.matrixMode)
    {
    case GL_PROJECTION:
        return state.projection;
    case GL_TEXTURE:
        return state.textureMatrix;
    default:
        return state.modelView;
    }
}

void SendServerState()
{
    const AttributeGroups& g = current->groups;
    Toggle(GL_DEPTH_TEST, g.enables.depthTest);
    Toggle(GL_CULL_FACE, g.enables.cullFace);
    Toggle(GL_BLEND, g.enables.blend);
    Toggle(GL_SCISSOR_TEST, g.enables.scissorTest);
    Toggle(GL_POLYGON_OFFSET_FILL, g.enables.polygonOffsetFill);
    Toggle(GL_DITHER, g.enables.dither);
    emscripten_glCullFace(g.polygon.cullFace);
    emscripten_glFrontFace(g.polygon.frontFace);
    emscripten_glDepthFunc(g.depth.function);
    emscripten_glDepthMask(g.depth.writeMask);
    emscripten_glClearDepthf(g.depth.clearDepth);
    const float* c = g.colourBuffer.clearColour;
    emscripten_glClearColor(c[0], c[1], c[2], c[3]);
    emscripten_glBlendFunc(g.colourBuffer.blendSource, g.colourBuffer.blendDestination);
    const bool* w = g.colourBuffer.writeMask;
    emscripten_glColorMask(w[0], w[1], w[2], w[3]);
    const int* v = g.viewport.viewport;
    emscripten_glViewport(ToBuffer(v[0]), ToBuffer(v[1]), ToBuffer(v[2]), ToBuffer(v[3]));
    emscripten_glDepthRangef(g.viewport.depthRange[0], g.viewport.depthRange[1]);
    emscripten_glBindTexture(GL_TEXTURE_2D, g.texture.bound2D);
}

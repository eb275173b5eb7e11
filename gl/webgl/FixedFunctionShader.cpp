#include "gl/webgl/FixedFunctionShader.h"

#include "gl/webgl/FixedFunctionShaderSource.h"
#include "gl/webgl/WebGLCalls.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace
{
struct Locations
{
    GLint modelView, projection, textureMatrix, normalMatrix, normalScale, normalize;
    GLint lighting, localViewer, colourMaterial, sceneAmbient, material, shininess;
    GLint lightOn, lightAmbient, lightDiffuse, lightSpecular, lightPosition, lightSpot;
    GLint lightAttenuation;
    GLint texturing, texture, textureEnv, textureColour, textureAlpha, textureEnvColour;
    GLint textureRepeat;
};

static_assert(sizeof(Locations) <= sizeof(LayerProgram::uniforms), "room for every location");

GLuint Compile(GLenum kind, const std::string& text)
{
    const GLuint shader = emscripten_glCreateShader(kind);
    const char* source = text.c_str();
    emscripten_glShaderSource(shader, 1, &source, nullptr);
    emscripten_glCompileShader(shader);
    GLint compiled = 0;
    emscripten_glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (!compiled)
    {
        char log[2048] = {};
        emscripten_glGetShaderInfoLog(shader, sizeof log, nullptr, log);
        std::fprintf(stderr, "GL layer: the fixed-function shader does not compile: %s\n", log);
        return 0;
    }
    return shader;
}

bool Build(LayerProgram& objects, int lightCount, bool texturing)
{
    const std::string defines = "#define LIGHT_COUNT " + std::to_string(lightCount) +
                                "\n#define TEXTURING " + (texturing ? "1" : "0") + "\n";
    const GLuint vertex = Compile(GL_VERTEX_SHADER, defines + FixedFunctionShaderSource::kVertex);
    const GLuint fragment =
        Compile(GL_FRAGMENT_SHADER, defines + FixedFunctionShaderSource::kFragment);
    if (vertex == 0 || fragment == 0)
    {
        return false;
    }
    const GLuint made = emscripten_glCreateProgram();
    emscripten_glAttachShader(made, vertex);
    emscripten_glAttachShader(made, fragment);
    emscripten_glBindAttribLocation(made, kPositionAttribute, "aPosition");
    emscripten_glBindAttribLocation(made, kColourAttribute, "aColour");
    emscripten_glBindAttribLocation(made, kNormalAttribute, "aNormal");
    emscripten_glBindAttribLocation(made, kTexCoordAttribute, "aTexCoord");
    emscripten_glLinkProgram(made);
    GLint linked = 0;
    emscripten_glGetProgramiv(made, GL_LINK_STATUS, &linked);
    if (!linked)
    {
        char log[2048] = {};
        emscripten_glGetProgramInfoLog(made, sizeof log, nullptr, log);
        std::fprintf(stderr, "GL layer: the fixed-function shader does not link: %s\n", log);
        return false;
    }
    auto u = [made](const char* name) { return emscripten_glGetUniformLocation(made, name); };
    const Locations at = {
        u("uModelView"),        u("uProjection"),   u("uTextureMatrix"),    u("uNormalMatrix"),
        u("uNormalScale"),      u("uNormalize"),    u("uLighting"),         u("uLocalViewer"),
        u("uColourMaterial"),   u("uSceneAmbient"), u("uMaterial"),         u("uShininess"),
        u("uLightOn"),          u("uLightAmbient"), u("uLightDiffuse"),     u("uLightSpecular"),
        u("uLightPosition"),    u("uLightSpot"),    u("uLightAttenuation"), u("uTexturing"),
        u("uTexture"),          u("uTextureEnv"),   u("uTextureColour"),    u("uTextureAlpha"),
        u("uTextureEnvColour"), u("uTextureRepeat")};
    std::memcpy(objects.uniforms, &at, sizeof at);
    objects.program = made;
    return true;
}

int ColourMaterialCode(const LightingState& lighting)
{
    switch (lighting.colourMaterialMode)
    {
    case GL_AMBIENT:
        return 1;
    case GL_DIFFUSE:
        return 2;
    case GL_AMBIENT_AND_DIFFUSE:
        return 3;
    case GL_SPECULAR:
        return 4;
    case GL_EMISSION:
        return 5;
    default:
        return 0;
    }
}

int TextureEnvCode(GLenum mode)
{
    switch (mode)
    {
    case GL_REPLACE:
        return 1;
    case GL_DECAL:
        return 2;
    case GL_BLEND:
        return 3;
    case GL_ADD:
        return 4;
    default:
        return 0;
    }
}

void LoadLights(const FixedState& state, const Locations& at)
{
    const AttributeGroups& g = state.groups;
    const NormalTransform normals = NormalTransformOf(state.modelView.back());
    emscripten_glUniformMatrix3fv(at.normalMatrix, 1, GL_FALSE, normals.m);
    emscripten_glUniform1f(
        at.normalScale, g.enables.rescaleNormal && !g.enables.normalize ? normals.rescale : 1.0f);
    emscripten_glUniform1i(at.normalize, g.enables.normalize);
    emscripten_glUniform1i(at.localViewer, g.lighting.localViewer);
    // The colour material only counts while it is switched on.
    emscripten_glUniform1i(at.colourMaterial,
                           g.enables.colourMaterial ? ColourMaterialCode(g.lighting) : 0);
    emscripten_glUniform4fv(at.sceneAmbient, 1, g.lighting.sceneAmbient);
    const MaterialRecord& m = g.lighting.front;
    float material[16];
    for (int i = 0; i < 4; ++i)
    {
        material[i] = m.ambient[i];
        material[4 + i] = m.diffuse[i];
        material[8 + i] = m.specular[i];
        material[12 + i] = m.emission[i];
    }
    emscripten_glUniform4fv(at.material, 4, material);
    emscripten_glUniform1f(at.shininess, m.shininess);

    GLint on[kMaxLights];
    float ambient[4 * kMaxLights], diffuse[4 * kMaxLights], specular[4 * kMaxLights];
    float position[4 * kMaxLights], spot[4 * kMaxLights], attenuation[4 * kMaxLights];
    for (int i = 0; i < kMaxLights; ++i)
    {
        const LightRecord& light = g.lighting.lights[i];
        on[i] = g.enables.light[i];
        for (int k = 0; k < 4; ++k)
        {
            ambient[4 * i + k] = light.ambient[k];
            diffuse[4 * i + k] = light.diffuse[k];
            specular[4 * i + k] = light.specular[k];
            position[4 * i + k] = light.position[k];
        }
        for (int k = 0; k < 3; ++k)
        {
            spot[4 * i + k] = light.spotDirection[k];
            attenuation[4 * i + k] = light.attenuation[k];
        }
        spot[4 * i + 3] =
            light.spotCutoff >= 180.0f
                ? -2.0f
                : static_cast<float>(std::cos(light.spotCutoff * 3.14159265358979 / 180.0));
        attenuation[4 * i + 3] = light.spotExponent;
    }
    emscripten_glUniform1iv(at.lightOn, kMaxLights, on);
    emscripten_glUniform4fv(at.lightAmbient, kMaxLights, ambient);
    emscripten_glUniform4fv(at.lightDiffuse, kMaxLights, diffuse);
    emscripten_glUniform4fv(at.lightSpecular, kMaxLights, specular);
    emscripten_glUniform4fv(at.lightPosition, kMaxLights, position);
    emscripten_glUniform4fv(at.lightSpot, kMaxLights, spot);
    emscripten_glUniform4fv(at.lightAttenuation, kMaxLights, attenuation);
}

void LoadTexturing(const FixedState& state, const Locations& at)
{
    const TextureUnitState& unit = state.groups.texture;
    const auto record = state.textures.find(unit.bound2D);
    // A texture without an image leaves the fragments as they are, as an incomplete one does.
    const bool texturing = state.groups.enables.texture2D && unit.bound2D != 0 &&
                           record != state.textures.end() && record->second.width > 0;
    emscripten_glUniform1i(at.texturing, texturing);
    if (!texturing)
    {
        return;
    }
    const GLenum base = record->second.baseFormat;
    emscripten_glUniform1i(at.texture, 0);
    emscripten_glUniform1i(at.textureEnv, TextureEnvCode(unit.envMode));
    emscripten_glUniform1i(at.textureColour, base != GL_ALPHA);
    emscripten_glUniform1i(at.textureAlpha,
                           base == GL_RGBA || base == GL_LUMINANCE_ALPHA || base == GL_ALPHA);
    emscripten_glUniform4fv(at.textureEnvColour, 1, unit.envColour);
    const TextureRecord& texture = record->second;
    const bool odd = texture.KeptOddSize();
    const GLint repeat[2] = {odd && texture.wrapS == GL_REPEAT, odd && texture.wrapT == GL_REPEAT};
    emscripten_glUniform2iv(at.textureRepeat, 1, repeat);
}
}  // namespace

bool UseFixedFunctionShader(FixedState& state)
{
    // The variant that looks only at the lights up to the last one on, and samples only when
    // a texture is on: software WebGL runs every instruction of the program for every vertex.
    int lightCount = 0;
    for (int i = 0; i < kMaxLights && state.groups.enables.lighting; ++i)
    {
        lightCount = state.groups.enables.light[i] ? i + 1 : lightCount;
    }
    const bool texturing = state.groups.enables.texture2D;
    LayerProgram& variant = state.objects.programs[2 * lightCount + (texturing ? 1 : 0)];
    if (variant.program == 0 && !Build(variant, lightCount, texturing))
    {
        return false;
    }
    Locations at;
    std::memcpy(&at, variant.uniforms, sizeof at);
    emscripten_glUseProgram(variant.program);
    emscripten_glUniformMatrix4fv(at.modelView, 1, GL_FALSE, state.modelView.back().m);
    emscripten_glUniformMatrix4fv(at.projection, 1, GL_FALSE, state.projection.back().m);
    emscripten_glUniformMatrix4fv(at.textureMatrix, 1, GL_FALSE, state.textureMatrix.back().m);
    emscripten_glUniform1i(at.lighting, state.groups.enables.lighting);
    if (state.groups.enables.lighting)
    {
        LoadLights(state, at);
    }
    LoadTexturing(state, at);
    return true;
}

bool PrepareFixedFunctionDraw(FixedState& state)
{
    if (state.objects.vertexBuffer == 0)
    {
        emscripten_glGenBuffers(1, &state.objects.vertexBuffer);
        emscripten_glGenBuffers(1, &state.objects.indexBuffer);
    }
    return UseFixedFunctionShader(state);
}

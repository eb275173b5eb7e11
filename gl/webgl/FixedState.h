#pragma once

#include "gl/webgl/ClientArrayState.h"
#include "gl/webgl/Matrix4.h"
#include "gl/webgl/TextureRecord.h"

#include <GL/gl.h>

#include <cstdint>
#include <unordered_map>
#include <vector>

// The OpenGL 1.x state that WebGL does not keep, held by the layer for the one context the page
// draws into. Grouped as glPushAttrib groups them, so a pop copies whole groups back.

constexpr int kMaxLights = 8;
constexpr int kMaxStackDepth = 32;

struct LightRecord
{
    float ambient[4];
    float diffuse[4];
    float specular[4];
    float position[4];       // eye space, as it was transformed when set
    float spotDirection[3];  // eye space
    float spotExponent;
    float spotCutoff;      // degrees; 180 is no spot
    float attenuation[3];  // constant, linear, quadratic
};

struct MaterialRecord
{
    float ambient[4];
    float diffuse[4];
    float specular[4];
    float emission[4];
    float shininess;
};

// GL_CURRENT_BIT
struct CurrentValues
{
    float colour[4];
    float normal[3];
    float texCoord[4];
};

// GL_ENABLE_BIT. The ones WebGL also knows are passed through as well as kept here.
struct Enables
{
    bool lighting;
    bool light[kMaxLights];
    bool texture2D;
    bool colourMaterial;
    bool normalize;
    bool rescaleNormal;
    bool depthTest;
    bool cullFace;
    bool blend;
    bool scissorTest;
    bool polygonOffsetFill;
    bool dither;
    bool other[8];  // accepted without effect: alpha test, fog, smoothing, 1D textures ...
};

// GL_LIGHTING_BIT (less the enables, which the enable group holds too).
struct LightingState
{
    LightRecord lights[kMaxLights];
    MaterialRecord front;
    MaterialRecord back;
    float sceneAmbient[4];
    bool localViewer;
    bool twoSide;
    GLenum colourMaterialFace;
    GLenum colourMaterialMode;
    GLenum shadeModel;
};

// GL_POLYGON_BIT, GL_DEPTH_BUFFER_BIT, GL_COLOR_BUFFER_BIT, GL_VIEWPORT_BIT, GL_TEXTURE_BIT.
struct PolygonState
{
    GLenum cullFace;
    GLenum frontFace;
    GLenum polygonMode;
};
struct DepthState
{
    GLenum function;
    bool writeMask;
    float clearDepth;
};
struct ColourBufferState
{
    float clearColour[4];
    GLenum blendSource;
    GLenum blendDestination;
    bool writeMask[4];
};
struct ViewportState
{
    int viewport[4];
    float depthRange[2];
};
struct TextureUnitState
{
    GLuint bound2D;
    GLenum envMode;
    float envColour[4];
};

struct AttributeGroups
{
    CurrentValues current;
    Enables enables;
    LightingState lighting;
    PolygonState polygon;
    DepthState depth;
    ColourBufferState colourBuffer;
    ViewportState viewport;
    TextureUnitState texture;
};

// One vertex as immediate mode records it and the shader reads it.
struct RecordedVertex
{
    float position[4];
    float colour[4];
    float normal[3];
    float texCoord[2];
};

// WebGL objects the layer made in the context for its own drawing.
// One variant of the fixed-function program (FixedFunctionShader.h says which).
struct LayerProgram
{
    GLuint program = 0;
    GLint uniforms[32] = {};  // locations, in the order the shader module asks for them
};
constexpr int kProgramVariants = 2 * (kMaxLights + 1);

struct LayerObjects
{
    LayerProgram programs[kProgramVariants];
    GLuint vertexBuffer = 0;
    GLuint indexBuffer = 0;
    GLuint arrayBuffers[4] = {};  // the client arrays' copies, one per attribute when apart
};

struct FixedState
{
    AttributeGroups groups;
    std::vector<std::pair<GLbitfield, AttributeGroups>> attributeStack;

    GLenum matrixMode;
    std::vector<Matrix4> modelView;  // never empty: the top is the current matrix
    std::vector<Matrix4> projection;
    std::vector<Matrix4> textureMatrix;

    // Between glBegin and glEnd: the primitive's mode, else GL_INVALID_VALUE as "none".
    GLenum primitive;
    std::vector<RecordedVertex> vertices;

    ClientArrays clientArrays;
    std::vector<ClientAttributes> clientAttributeStack;

    GLenum error;  // the first error the layer itself raised since the last glGetError
    int packAlignment;
    int unpackAlignment;
    std::unordered_map<GLuint, TextureRecord> textures;
    LayerObjects objects;
    // Canvas pixels per window pixel (a sharp canvas on a high-density screen has 2): callers
    // speak in window pixels, the drawing buffer is larger.
    float pixelScale = 1.0f;
};

// A length in window pixels as drawing buffer pixels of the current context.
int ToBuffer(int length);

// The state of the current context. Every WebGL context has its own (the number emscripten gives
// it); a new one starts with OpenGL's initial values and the viewport of its canvas (width x
// height buffer pixels, pixelScale of them per window pixel).
FixedState& State();
void CreateFixedState(int context, int width, int height, float pixelScale);
void SelectFixedState(int context);
void DropFixedState(int context);

// Records error unless an earlier one is still unread (OpenGL keeps the first).
void RaiseError(GLenum error);
// True between glBegin and glEnd, where only vertex data may be given; raises the error then.
bool InsidePrimitive();
// The stack glMatrixMode chose.
std::vector<Matrix4>& CurrentStack();

// Copies the current colour into the material members glColorMaterial names (colour material on).
void TrackColourMaterial();

// Passes the server-side part of the state (enables WebGL knows, faces, depth, blending, clear
// values, viewport, bound texture) to WebGL again, after glPopAttrib or a new context.
void SendServerState();

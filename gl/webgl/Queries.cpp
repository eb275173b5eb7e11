// Errors, strings, state queries, pixel storage and reading pixels back.
#include "gl/webgl/FixedState.h"
#include "gl/webgl/PixelConversion.h"
#include "gl/webgl/WebGLCalls.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace
{
// The values a query answers from the layer's record, as floats; false for a name WebGL answers.
bool LayerValues(GLenum name, std::vector<float>& values)
{
    const FixedState& state = State();
    const AttributeGroups& g = state.groups;
    auto matrix = [&values](const Matrix4& m) { values.assign(m.m, m.m + 16); };
    switch (name)
    {
    case GL_MODELVIEW_MATRIX:
        matrix(state.modelView.back());
        return true;
    case GL_PROJECTION_MATRIX:
        matrix(state.projection.back());
        return true;
    case GL_TEXTURE_MATRIX:
        matrix(state.textureMatrix.back());
        return true;
    case GL_MATRIX_MODE:
        values = {static_cast<float>(state.matrixMode)};
        return true;
    case GL_MODELVIEW_STACK_DEPTH:
        values = {static_cast<float>(state.modelView.size())};
        return true;
    case GL_PROJECTION_STACK_DEPTH:
        values = {static_cast<float>(state.projection.size())};
        return true;
    case GL_MAX_LIGHTS:
        values = {static_cast<float>(kMaxLights)};
        return true;
    case GL_MAX_MODELVIEW_STACK_DEPTH:
    case GL_MAX_PROJECTION_STACK_DEPTH:
    case GL_MAX_ATTRIB_STACK_DEPTH:
        values = {static_cast<float>(kMaxStackDepth)};
        return true;
    case GL_CURRENT_COLOR:
        values.assign(g.current.colour, g.current.colour + 4);
        return true;
    case GL_CURRENT_NORMAL:
        values.assign(g.current.normal, g.current.normal + 3);
        return true;
    case GL_VIEWPORT:
        values.assign(g.viewport.viewport, g.viewport.viewport + 4);
        return true;
    case GL_COLOR_CLEAR_VALUE:
        values.assign(g.colourBuffer.clearColour, g.colourBuffer.clearColour + 4);
        return true;
    case GL_LIGHT_MODEL_AMBIENT:
        values.assign(g.lighting.sceneAmbient, g.lighting.sceneAmbient + 4);
        return true;
    case GL_SHADE_MODEL:
        values = {static_cast<float>(g.lighting.shadeModel)};
        return true;
    case GL_TEXTURE_BINDING_2D:
        values = {static_cast<float>(g.texture.bound2D)};
        return true;
    case GL_FRONT_FACE:
        values = {static_cast<float>(g.polygon.frontFace)};
        return true;
    case GL_CULL_FACE_MODE:
        values = {static_cast<float>(g.polygon.cullFace)};
        return true;
    case GL_PACK_ALIGNMENT:
        values = {static_cast<float>(state.packAlignment)};
        return true;
    case GL_UNPACK_ALIGNMENT:
        values = {static_cast<float>(state.unpackAlignment)};
        return true;
    default:
        return false;
    }
}
}  // namespace

GLenum glGetError(void)
{
    FixedState& state = State();
    if (state.error != GL_NO_ERROR)
    {
        const GLenum error = state.error;
        state.error = GL_NO_ERROR;
        return error;
    }
    return emscripten_glGetError();
}

const GLubyte* glGetString(GLenum name)
{
    // The layer is an OpenGL 1.3 implementation of its own; WebGL's strings say what is below it.
    static std::string renderer;
    static std::string version;
    switch (name)
    {
    case GL_VENDOR:
        return emscripten_glGetString(GL_VENDOR);
    case GL_RENDERER:
    {
        const GLubyte* below = emscripten_glGetString(GL_RENDERER);
        renderer = std::string("fixed-function layer on ") +
                   (below != nullptr ? reinterpret_cast<const char*>(below) : "WebGL");
        return reinterpret_cast<const GLubyte*>(renderer.c_str());
    }
    case GL_VERSION:
    {
        const GLubyte* below = emscripten_glGetString(GL_VERSION);
        version = std::string("1.3 (") +
                  (below != nullptr ? reinterpret_cast<const char*>(below) : "WebGL 1.0") + ")";
        return reinterpret_cast<const GLubyte*>(version.c_str());
    }
    case GL_EXTENSIONS:
        return reinterpret_cast<const GLubyte*>("GL_EXT_bgra GL_EXT_rescale_normal");
    default:
        RaiseError(GL_INVALID_ENUM);
        return nullptr;
    }
}

void glGetFloatv(GLenum name, GLfloat* data)
{
    std::vector<float> values;
    if (LayerValues(name, values))
    {
        for (std::size_t i = 0; i < values.size(); ++i)
        {
            data[i] = values[i];
        }
        return;
    }
    emscripten_glGetFloatv(name, data);
}

void glGetIntegerv(GLenum name, GLint* data)
{
    std::vector<float> values;
    if (LayerValues(name, values))
    {
        for (std::size_t i = 0; i < values.size(); ++i)
        {
            data[i] = static_cast<GLint>(values[i]);
        }
        return;
    }
    emscripten_glGetIntegerv(name, data);
}

void glGetDoublev(GLenum name, GLdouble* data)
{
    // Only what the layer keeps itself (the matrices above all).
    std::vector<float> values;
    if (!LayerValues(name, values))
    {
        RaiseError(GL_INVALID_ENUM);
        return;
    }
    for (std::size_t i = 0; i < values.size(); ++i)
    {
        data[i] = values[i];
    }
}

void glPixelStorei(GLenum name, GLint value)
{
    if (value != 1 && value != 2 && value != 4 && value != 8)
    {
        RaiseError(GL_INVALID_VALUE);
        return;
    }
    // The layer packs and unpacks rows itself; WebGL always sees tightly packed ones.
    if (name == GL_PACK_ALIGNMENT)
    {
        State().packAlignment = value;
    }
    else if (name == GL_UNPACK_ALIGNMENT)
    {
        State().unpackAlignment = value;
    }
}

void glReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type,
                  GLvoid* pixels)
{
    if (InsidePrimitive())
    {
        return;
    }
    if (width < 0 || height < 0)
    {
        RaiseError(GL_INVALID_VALUE);
        return;
    }
    // WebGL reads colours only, and always as RGBA bytes.
    if (type != GL_UNSIGNED_BYTE || BytesPerPixel(format) == 0)
    {
        RaiseError(GL_INVALID_OPERATION);
        return;
    }
    if (width == 0 || height == 0)
    {
        return;
    }
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(width) * height * 4);
    emscripten_glPixelStorei(GL_PACK_ALIGNMENT, 4);
    if (State().pixelScale == 1.0f)
    {
        emscripten_glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    }
    else
    {
        // A sharp canvas holds more pixels than the window: the nearest buffer pixel of each.
        const int bufferWidth = std::max(ToBuffer(width), 1);
        const int bufferHeight = std::max(ToBuffer(height), 1);
        std::vector<std::uint8_t> buffer(static_cast<std::size_t>(bufferWidth) * bufferHeight * 4);
        emscripten_glReadPixels(ToBuffer(x), ToBuffer(y), bufferWidth, bufferHeight, GL_RGBA,
                                GL_UNSIGNED_BYTE, buffer.data());
        const float scale = State().pixelScale;
        for (int row = 0; row < height; ++row)
        {
            const int from = std::min(static_cast<int>((row + 0.5f) * scale), bufferHeight - 1);
            for (int column = 0; column < width; ++column)
            {
                const int at = std::min(static_cast<int>((column + 0.5f) * scale), bufferWidth - 1);
                std::memcpy(&rgba[(static_cast<std::size_t>(row) * width + column) * 4],
                            &buffer[(static_cast<std::size_t>(from) * bufferWidth + at) * 4], 4);
            }
        }
    }
    PackPixels(rgba.data(), width, height, format, State().packAlignment, pixels);
}

// Texture objects, images and the texture environment. Images are converted on upload to what
// WebGL 1 holds (no BGR/BGRA, internal format equal to the format) and scaled to powers of two,
// which WebGL needs for repeating and mipmapped textures; mipmaps are built on the CPU as GLU
// builds them.
#include "gl/webgl/FixedState.h"
#include "gl/webgl/ImageScaling.h"
#include "gl/webgl/PixelConversion.h"
#include "gl/webgl/WebGLCalls.h"

#include <GL/glu.h>

#include <algorithm>

namespace
{
TextureRecord* BoundRecord()
{
    const GLuint bound = State().groups.texture.bound2D;
    if (bound == 0)
    {
        return nullptr;  // the default texture: images go to it without a record
    }
    return &State().textures[bound];
}

int MaxTextureSize()
{
    static GLint size = 0;
    if (size == 0)
    {
        emscripten_glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
        size = std::max(size, 64);
    }
    return size;
}

// The size WebGL gets for a level: level 0 as given when the texture has no mipmaps, else scaled
// up to powers of two, and the later levels halved from there.
void StoredSize(const TextureRecord* record, GLint level, int width, int height, int& storedWidth,
                int& storedHeight)
{
    const bool mipmapped = record == nullptr || record->UsesMipmaps();
    if (level == 0 && !mipmapped && width <= MaxTextureSize() && height <= MaxTextureSize())
    {
        storedWidth = width;
        storedHeight = height;
        return;
    }
    if (level == 0 || record == nullptr || record->width == 0)
    {
        storedWidth = std::min(PowerOfTwoAtLeast(width), MaxTextureSize());
        storedHeight = std::min(PowerOfTwoAtLeast(height), MaxTextureSize());
        return;
    }
    storedWidth = std::max(1, record->width >> level);
    storedHeight = std::max(1, record->height >> level);
}

// WebGL's wrap modes for the record: clamped at the edges while its size is no power of two (the
// shader repeats the coordinates instead).
void SendWrapModes(const TextureRecord& record)
{
    const bool odd = record.KeptOddSize();
    emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S,
                               odd ? GL_CLAMP_TO_EDGE : static_cast<GLint>(record.wrapS));
    emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T,
                               odd ? GL_CLAMP_TO_EDGE : static_cast<GLint>(record.wrapT));
}
}  // namespace

void glGenTextures(GLsizei count, GLuint* names)
{
    if (InsidePrimitive())
    {
        return;
    }
    if (count < 0)
    {
        RaiseError(GL_INVALID_VALUE);
        return;
    }
    emscripten_glGenTextures(count, names);
}

void glDeleteTextures(GLsizei count, const GLuint* names)
{
    if (InsidePrimitive() || count <= 0)
    {
        return;
    }
    FixedState& state = State();
    for (GLsizei i = 0; i < count; ++i)
    {
        state.textures.erase(names[i]);
        if (state.groups.texture.bound2D == names[i])
        {
            state.groups.texture.bound2D = 0;
        }
    }
    emscripten_glDeleteTextures(count, names);
}

GLboolean glIsTexture(GLuint name) { return emscripten_glIsTexture(name); }

void glBindTexture(GLenum target, GLuint name)
{
    if (InsidePrimitive())
    {
        return;
    }
    // WebGL 1 has no 1D or 3D textures; binding one leaves the 2D binding alone.
    if (target != GL_TEXTURE_2D)
    {
        return;
    }
    State().groups.texture.bound2D = name;
    if (name != 0)
    {
        State().textures[name];
    }
    emscripten_glBindTexture(GL_TEXTURE_2D, name);
}

void glTexParameteri(GLenum target, GLenum name, GLint value)
{
    if (InsidePrimitive() || target != GL_TEXTURE_2D)
    {
        return;
    }
    if ((name == GL_TEXTURE_WRAP_S || name == GL_TEXTURE_WRAP_T) &&
        (value == GL_CLAMP || value == GL_CLAMP_TO_BORDER))
    {
        value = GL_CLAMP_TO_EDGE;  // WebGL has no border colour
    }
    if (name == GL_GENERATE_MIPMAP || name == GL_TEXTURE_PRIORITY)
    {
        return;
    }
    TextureRecord* record = BoundRecord();
    if (record != nullptr)
    {
        if (name == GL_TEXTURE_WRAP_S || name == GL_TEXTURE_WRAP_T)
        {
            (name == GL_TEXTURE_WRAP_S ? record->wrapS : record->wrapT) =
                static_cast<GLenum>(value);
            SendWrapModes(*record);
            return;
        }
        if (name == GL_TEXTURE_MIN_FILTER)
        {
            record->minFilter = static_cast<GLenum>(value);
        }
    }
    emscripten_glTexParameteri(target, name, value);
}

void glTexParameterf(GLenum target, GLenum name, GLfloat value)
{
    glTexParameteri(target, name, static_cast<GLint>(value));
}

void glTexEnvfv(GLenum target, GLenum name, const GLfloat* values)
{
    if (InsidePrimitive())
    {
        return;
    }
    if (target != GL_TEXTURE_ENV)
    {
        RaiseError(GL_INVALID_ENUM);
        return;
    }
    TextureUnitState& unit = State().groups.texture;
    if (name == GL_TEXTURE_ENV_MODE)
    {
        const GLenum mode = static_cast<GLenum>(values[0]);
        if (mode != GL_MODULATE && mode != GL_REPLACE && mode != GL_DECAL && mode != GL_BLEND &&
            mode != GL_ADD)
        {
            RaiseError(GL_INVALID_ENUM);
            return;
        }
        unit.envMode = mode;
    }
    else if (name == GL_TEXTURE_ENV_COLOR)
    {
        std::copy(values, values + 4, unit.envColour);
    }
    else
    {
        RaiseError(GL_INVALID_ENUM);
    }
}

void glTexEnvf(GLenum target, GLenum name, GLfloat value) { glTexEnvfv(target, name, &value); }
void glTexEnvi(GLenum target, GLenum name, GLint value)
{
    const GLfloat asFloat = static_cast<GLfloat>(value);
    glTexEnvfv(target, name, &asFloat);
}

void glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                  GLint border, GLenum format, GLenum type, const GLvoid* pixels)
{
    if (InsidePrimitive() || target != GL_TEXTURE_2D)
    {
        return;  // proxy and other targets have no WebGL counterpart
    }
    const GLenum base = BaseFormatOf(internalFormat);
    if (base == 0 || BytesPerPixel(format) == 0 || type != GL_UNSIGNED_BYTE)
    {
        RaiseError(GL_INVALID_ENUM);
        return;
    }
    if (level < 0 || width < 0 || height < 0 || border != 0)
    {
        RaiseError(GL_INVALID_VALUE);
        return;
    }
    TextureRecord* record = BoundRecord();
    int storedWidth = 0;
    int storedHeight = 0;
    StoredSize(record, level, width, height, storedWidth, storedHeight);
    Pixels converted;
    if (pixels != nullptr && width > 0 && height > 0)
    {
        converted = ConvertPixels(pixels, width, height, format, State().unpackAlignment, base);
        if (storedWidth != width || storedHeight != height)
        {
            const int components = BytesPerPixel(base);
            converted =
                storedWidth >= width && storedHeight >= height
                    ? ScaleLinear(converted, width, height, components, storedWidth, storedHeight)
                    : ScaleBox(converted, width, height, components, storedWidth, storedHeight);
        }
    }
    if (record != nullptr)
    {
        record->baseFormat = base;
        if (level == 0)
        {
            record->width = storedWidth;
            record->height = storedHeight;
            record->sourceWidth = width;
            record->sourceHeight = height;
        }
    }
    emscripten_glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    emscripten_glTexImage2D(GL_TEXTURE_2D, level, static_cast<GLint>(base), storedWidth,
                            storedHeight, 0, base, GL_UNSIGNED_BYTE,
                            converted.empty() ? nullptr : converted.data());
    if (record != nullptr && level == 0)
    {
        SendWrapModes(*record);
    }
}

GLint gluBuild2DMipmaps(GLenum target, GLint internalFormat, GLsizei width, GLsizei height,
                        GLenum format, GLenum type, const void* data)
{
    if (width < 1 || height < 1)
    {
        return GLU_INVALID_VALUE;
    }
    const int components = BytesPerPixel(format);
    if (components == 0 || type != GL_UNSIGNED_BYTE || BaseFormatOf(internalFormat) == 0)
    {
        return GLU_INVALID_ENUM;
    }
    // The caller's rows, tightly packed and still in its format; scaled as GLU scales them.
    FixedState& state = State();
    Pixels level = ConvertPixels(data, width, height, format, state.unpackAlignment, format);
    int w = NearestPowerOfTwo(width);
    int h = NearestPowerOfTwo(height);
    while (w > MaxTextureSize() || h > MaxTextureSize())
    {
        w = std::max(1, w / 2);
        h = std::max(1, h / 2);
    }
    if (w != width || h != height)
    {
        level = ScaleBox(level, width, height, components, w, h);
    }
    const int savedAlignment = state.unpackAlignment;
    state.unpackAlignment = 1;
    for (GLint number = 0;; ++number)
    {
        glTexImage2D(target, number, internalFormat, w, h, 0, format, type, level.data());
        if (w == 1 && h == 1)
        {
            break;
        }
        int halfWidth = 0;
        int halfHeight = 0;
        level = HalveImage(level, w, h, components, halfWidth, halfHeight);
        w = halfWidth;
        h = halfHeight;
    }
    state.unpackAlignment = savedAlignment;
    return 0;
}

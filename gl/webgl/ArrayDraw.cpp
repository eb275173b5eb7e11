#include "gl/webgl/ArrayDraw.h"

#include "gl/webgl/FixedFunctionShader.h"
#include "gl/webgl/FixedState.h"
#include "gl/webgl/RecordedDraw.h"
#include "gl/webgl/WebGLCalls.h"

#include <emscripten/heap.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace
{
// WebGL 1 indices are 16 bits wide without an extension; attribute strides stop at 255.
const std::uint64_t kMaxIndexedVertices = 65536;
const GLsizei kMaxWebGLStride = 255;

struct Bounds
{
    std::uint32_t lowest;
    std::uint32_t highest;
};

Bounds BoundsOf(const ArrayRange& range)
{
    if (!range.IsIndexed())
    {
        return {range.At(0), range.At(range.Count() - 1)};
    }
    Bounds bounds = {UINT32_MAX, 0};
    for (std::uint32_t i = 0; i < range.Count(); ++i)
    {
        const std::uint32_t v = range.At(i);
        bounds.lowest = std::min(bounds.lowest, v);
        bounds.highest = std::max(bounds.highest, v);
    }
    return bounds;
}

std::uintptr_t Address(const void* pointer) { return reinterpret_cast<std::uintptr_t>(pointer); }

// Whether bytes bytes from pointer lie in the program's memory (address 0 is no array).
bool InMemory(const void* pointer, std::uint64_t bytes)
{
    return pointer != nullptr && Address(pointer) + bytes <= emscripten_get_heap_size();
}

// The first byte of vertex number v in array, and the bytes up to the end of vertex highest.
const char* ElementAt(const ClientArray& array, std::uint32_t v)
{
    return static_cast<const char*>(array.pointer) + std::uint64_t(v) * array.Step();
}
std::uint64_t SpanBytes(const ClientArray& array, const Bounds& bounds)
{
    return std::uint64_t(bounds.highest - bounds.lowest) * array.Step() + array.ElementBytes();
}

bool Readable(const ClientArray* arrays, const ArrayRange& range, const Bounds& bounds)
{
    if (range.IsIndexed() &&
        !InMemory(range.Indices(), std::uint64_t(range.Count()) * range.IndexBytes()))
    {
        return false;
    }
    for (int a = 0; a < 4; ++a)
    {
        const ClientArray& array = arrays[a];
        if (array.enabled && !InMemory(array.pointer, std::uint64_t(bounds.highest) * array.Step() +
                                                          std::uint64_t(array.ElementBytes())))
        {
            return false;
        }
    }
    return true;
}

// Whether WebGL can read the array where it lies: strides it accepts, floats on 4-byte marks.
bool WebGLReadable(const ClientArray& array)
{
    const bool floats = array.type == GL_FLOAT;
    return array.Step() <= kMaxWebGLStride &&
           (!floats || (array.Step() % 4 == 0 && Address(array.pointer) % 4 == 0));
}

// One vertex of the arrays as immediate mode records it.
RecordedVertex Gather(const ClientArray* arrays, const CurrentValues& current, std::uint32_t v)
{
    RecordedVertex out;
    float position[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    const ClientArray& p = arrays[kPositionAttribute];
    std::memcpy(position, ElementAt(p, v), static_cast<std::size_t>(p.size) * 4);
    std::copy(position, position + 4, out.position);
    std::copy(current.colour, current.colour + 4, out.colour);
    std::copy(current.normal, current.normal + 3, out.normal);
    std::copy(current.texCoord, current.texCoord + 2, out.texCoord);
    const ClientArray& c = arrays[kColourAttribute];
    if (c.enabled)
    {
        out.colour[3] = 1.0f;
        const char* at = ElementAt(c, v);
        for (int k = 0; k < c.size; ++k)
        {
            float value = 0.0f;
            if (c.type == GL_UNSIGNED_BYTE)
                value = static_cast<unsigned char>(at[k]) / 255.0f;
            else
                std::memcpy(&value, at + 4 * k, 4);
            out.colour[k] = value;
        }
    }
    if (arrays[kNormalAttribute].enabled)
    {
        std::memcpy(out.normal, ElementAt(arrays[kNormalAttribute], v), 12);
    }
    const ClientArray& t = arrays[kTexCoordAttribute];
    if (t.enabled)
    {
        out.texCoord[1] = 0.0f;
        std::memcpy(out.texCoord, ElementAt(t, v),
                    static_cast<std::size_t>(std::min(t.size, 2)) * 4);
    }
    return out;
}

void DrawGathered(GLenum mode, const ArrayRange& range, const FixedState& state)
{
    static std::vector<RecordedVertex> gathered;
    gathered.resize(range.Count());
    for (std::uint32_t i = 0; i < range.Count(); ++i)
    {
        gathered[i] = Gather(state.clientArrays.arrays, state.groups.current, range.At(i));
    }
    DrawRecorded(mode, gathered);
}

// Copies the vertices lowest .. highest of the enabled arrays into buffers and points the
// attributes at them; the arrays that are off take the current values. One copy when the arrays
// lie together (interleaved), one per array when they lie apart.
void UploadArrays(FixedState& state, const Bounds& bounds)
{
    const ClientArray* arrays = state.clientArrays.arrays;
    LayerObjects& objects = state.objects;
    if (objects.arrayBuffers[0] == 0)
    {
        emscripten_glGenBuffers(4, objects.arrayBuffers);
    }
    std::uintptr_t begin = UINTPTR_MAX;
    std::uintptr_t end = 0;
    std::uint64_t apart = 0;
    for (int a = 0; a < 4; ++a)
    {
        if (arrays[a].enabled)
        {
            const std::uintptr_t first = Address(ElementAt(arrays[a], bounds.lowest));
            begin = std::min(begin, first & ~std::uintptr_t(3));
            end = std::max(end, first + static_cast<std::uintptr_t>(SpanBytes(arrays[a], bounds)));
            apart += SpanBytes(arrays[a], bounds);
        }
    }
    const bool together = end - begin <= apart;
    if (together)
    {
        emscripten_glBindBuffer(GL_ARRAY_BUFFER, objects.arrayBuffers[0]);
        emscripten_glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(end - begin),
                                reinterpret_cast<const void*>(begin), GL_STREAM_DRAW);
    }
    const float* current[4] = {nullptr, state.groups.current.colour, state.groups.current.normal,
                               state.groups.current.texCoord};
    for (int a = 0; a < 4; ++a)
    {
        const ClientArray& array = arrays[a];
        if (!array.enabled)
        {
            float value[4] = {0.0f, 0.0f, 0.0f, 1.0f};
            std::copy(current[a], current[a] + (a == kNormalAttribute ? 3 : 4), value);
            emscripten_glDisableVertexAttribArray(static_cast<GLuint>(a));
            emscripten_glVertexAttrib4fv(static_cast<GLuint>(a), value);
            continue;
        }
        const char* first = ElementAt(array, bounds.lowest);
        std::uintptr_t offset = Address(first) - begin;
        if (!together)
        {
            emscripten_glBindBuffer(GL_ARRAY_BUFFER, objects.arrayBuffers[a]);
            emscripten_glBufferData(GL_ARRAY_BUFFER,
                                    static_cast<GLsizeiptr>(SpanBytes(array, bounds)), first,
                                    GL_STREAM_DRAW);
            offset = 0;
        }
        // The shader reads two texture coordinates: the first two of larger elements.
        const GLint size = a == kTexCoordAttribute ? std::min(array.size, 2) : array.size;
        emscripten_glVertexAttribPointer(static_cast<GLuint>(a), size, array.type,
                                         array.type == GL_UNSIGNED_BYTE, array.Step(),
                                         reinterpret_cast<const void*>(offset));
        emscripten_glEnableVertexAttribArray(static_cast<GLuint>(a));
    }
}

void DrawIndexed(GLenum mode, const ArrayRange& range, const Bounds& bounds, FixedState& state)
{
    static std::vector<GLushort> rebased;
    rebased.resize(range.Count());
    for (std::uint32_t i = 0; i < range.Count(); ++i)
    {
        rebased[i] = static_cast<GLushort>(range.At(i) - bounds.lowest);
    }
    emscripten_glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, state.objects.indexBuffer);
    emscripten_glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                            static_cast<GLsizeiptr>(rebased.size() * sizeof(GLushort)),
                            rebased.data(), GL_STREAM_DRAW);
    emscripten_glDrawElements(mode, static_cast<GLsizei>(rebased.size()), GL_UNSIGNED_SHORT,
                              nullptr);
}
}  // namespace

ArrayRange ArrayRange::Sequence(std::uint32_t first, std::uint32_t count)
{
    ArrayRange range;
    range.first = first;
    range.count = count;
    return range;
}

ArrayRange ArrayRange::Indexed(GLenum type, const void* indices, std::uint32_t count)
{
    ArrayRange range;
    range.type = type;
    range.indices = indices;
    range.count = count;
    return range;
}

std::uint32_t ArrayRange::IndexBytes() const
{
    if (indices == nullptr)
        return 0;
    return type == GL_UNSIGNED_BYTE ? 1 : type == GL_UNSIGNED_SHORT ? 2 : 4;
}

std::uint32_t ArrayRange::At(std::uint32_t i) const
{
    if (indices == nullptr)
        return first + i;
    const char* at = static_cast<const char*>(indices) + std::size_t(i) * IndexBytes();
    if (type == GL_UNSIGNED_BYTE)
        return static_cast<unsigned char>(*at);
    if (type == GL_UNSIGNED_SHORT)
    {
        GLushort value;
        std::memcpy(&value, at, sizeof value);
        return value;
    }
    std::uint32_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

void DrawClientArrays(GLenum mode, const ArrayRange& range)
{
    if (InsidePrimitive())
    {
        return;
    }
    if (mode > GL_POLYGON)
    {
        RaiseError(GL_INVALID_ENUM);
        return;
    }
    FixedState& state = State();
    const ClientArray* arrays = state.clientArrays.arrays;
    if (!arrays[kPositionAttribute].enabled || range.Count() == 0)
    {
        return;  // without positions there are no vertices
    }
    // A sequence past the last vertex number is as unreadable as an index past memory.
    if (!range.IsIndexed() && std::uint64_t(range.At(0)) + range.Count() - 1 > UINT32_MAX)
    {
        RaiseError(GL_INVALID_VALUE);
        return;
    }
    const Bounds bounds = BoundsOf(range);
    if (!Readable(arrays, range, bounds))
    {
        RaiseError(GL_INVALID_VALUE);
        return;
    }
    bool direct =
        state.groups.lighting.shadeModel != GL_FLAT && mode <= GL_TRIANGLE_FAN &&
        (!range.IsIndexed() || std::uint64_t(bounds.highest - bounds.lowest) < kMaxIndexedVertices);
    for (int a = 0; a < 4 && direct; ++a)
    {
        direct = !arrays[a].enabled || WebGLReadable(arrays[a]);
    }
    if (!direct)
    {
        DrawGathered(mode, range, state);
        return;
    }
    if (!PrepareFixedFunctionDraw(state))
    {
        return;
    }
    UploadArrays(state, bounds);
    if (range.IsIndexed())
    {
        DrawIndexed(mode, range, bounds, state);
    }
    else
    {
        emscripten_glDrawArrays(mode, 0, static_cast<GLsizei>(range.Count()));
    }
}

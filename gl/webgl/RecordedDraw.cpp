#include "gl/webgl/RecordedDraw.h"

#include "gl/webgl/FixedFunctionShader.h"
#include "gl/webgl/PrimitiveAssembly.h"
#include "gl/webgl/WebGLCalls.h"

#include <algorithm>
#include <cstddef>

namespace
{
// WebGL 1 indices are 16 bits wide without an extension.
const std::size_t kMaxIndexedVertices = 65536;
// Whole triangles and lines per draw when the corners are copied out.
const std::size_t kCopyChunk = 3 * 2 * 10000;

void Upload(const RecordedVertex* vertices, std::size_t count)
{
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, State().objects.vertexBuffer);
    emscripten_glBufferData(GL_ARRAY_BUFFER,
                            static_cast<GLsizeiptr>(count * sizeof(RecordedVertex)), vertices,
                            GL_STREAM_DRAW);
    const GLsizei stride = sizeof(RecordedVertex);
    emscripten_glVertexAttribPointer(kPositionAttribute, 4, GL_FLOAT, GL_FALSE, stride,
                                     reinterpret_cast<void*>(offsetof(RecordedVertex, position)));
    emscripten_glVertexAttribPointer(kColourAttribute, 4, GL_FLOAT, GL_FALSE, stride,
                                     reinterpret_cast<void*>(offsetof(RecordedVertex, colour)));
    emscripten_glVertexAttribPointer(kNormalAttribute, 3, GL_FLOAT, GL_FALSE, stride,
                                     reinterpret_cast<void*>(offsetof(RecordedVertex, normal)));
    emscripten_glVertexAttribPointer(kTexCoordAttribute, 2, GL_FLOAT, GL_FALSE, stride,
                                     reinterpret_cast<void*>(offsetof(RecordedVertex, texCoord)));
    for (GLuint a = kPositionAttribute; a <= kTexCoordAttribute; ++a)
    {
        emscripten_glEnableVertexAttribArray(a);
    }
}

// Every corner its own vertex; under flat shading each element's corners take the colour and
// normal of its last corner.
void DrawCopied(const AssembledPrimitive& assembled, const std::vector<RecordedVertex>& vertices,
                bool flat)
{
    const std::size_t corners = assembled.cornersPerElement;
    std::vector<RecordedVertex> copied;
    for (std::size_t start = 0; start < assembled.indices.size(); start += kCopyChunk)
    {
        copied.clear();
        const std::size_t end = std::min(assembled.indices.size(), start + kCopyChunk);
        for (std::size_t e = start; e + corners <= end; e += corners)
        {
            const RecordedVertex& provoking = vertices[assembled.indices[e + corners - 1]];
            for (std::size_t k = 0; k < corners; ++k)
            {
                RecordedVertex v = vertices[assembled.indices[e + k]];
                if (flat)
                {
                    std::copy(provoking.colour, provoking.colour + 4, v.colour);
                    std::copy(provoking.normal, provoking.normal + 3, v.normal);
                }
                copied.push_back(v);
            }
        }
        Upload(copied.data(), copied.size());
        emscripten_glDrawArrays(assembled.mode, 0, static_cast<GLsizei>(copied.size()));
    }
}
}  // namespace

void DrawRecorded(GLenum mode, const std::vector<RecordedVertex>& vertices)
{
    FixedState& state = State();
    const bool flat = state.groups.lighting.shadeModel == GL_FLAT;
    const AssembledPrimitive assembled = AssemblePrimitive(mode, vertices.size(), flat);
    if (assembled.mode == GL_INVALID_ENUM)
    {
        RaiseError(GL_INVALID_ENUM);
        return;
    }
    if (vertices.empty() || (!assembled.inOrder && assembled.indices.empty()))
    {
        return;
    }
    if (!PrepareFixedFunctionDraw(state))
    {
        return;
    }
    if (assembled.inOrder)
    {
        Upload(vertices.data(), vertices.size());
        emscripten_glDrawArrays(assembled.mode, 0, static_cast<GLsizei>(vertices.size()));
        return;
    }
    if (flat || vertices.size() > kMaxIndexedVertices)
    {
        DrawCopied(assembled, vertices, flat);
        return;
    }
    std::vector<GLushort> indices(assembled.indices.begin(), assembled.indices.end());
    Upload(vertices.data(), vertices.size());
    emscripten_glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, state.objects.indexBuffer);
    emscripten_glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                            static_cast<GLsizeiptr>(indices.size() * sizeof(GLushort)),
                            indices.data(), GL_STREAM_DRAW);
    emscripten_glDrawElements(assembled.mode, static_cast<GLsizei>(indices.size()),
                              GL_UNSIGNED_SHORT, nullptr);
}

#pragma once

#include <GL/gl.h>

#include <cstdint>

// The vertices a glDrawArrays or glDrawElements call names: count consecutive vertex numbers from
// first, or count indices of type (unsigned byte, short or int) read from the program's memory.
class ArrayRange
{
public:
    static ArrayRange Sequence(std::uint32_t first, std::uint32_t count);
    static ArrayRange Indexed(GLenum type, const void* indices, std::uint32_t count);

    std::uint32_t Count() const { return count; }
    bool IsIndexed() const { return indices != nullptr; }
    // Bytes of one index (0 for a sequence).
    std::uint32_t IndexBytes() const;
    const void* Indices() const { return indices; }
    // The vertex number of position i (below Count()).
    std::uint32_t At(std::uint32_t i) const;

private:
    std::uint32_t first = 0;
    std::uint32_t count = 0;
    GLenum type = GL_UNSIGNED_INT;
    const void* indices = nullptr;
};

// Draws the range as the OpenGL mode from the enabled client arrays with the fixed-function
// program and the current state (the current colour, normal and texture coordinate stand in for
// arrays that are off), as immediate mode would draw the same vertices. Usually one upload of the
// arrays' vertices and one draw; flat shading, quads, quad strips, polygons and index ranges
// beyond 16 bits go through immediate mode's drawing instead. Client arrays have no length, so an
// index past the end of an array reads what lies behind it, as OpenGL does; but a draw that would
// read outside the program's memory (a huge index, a null array) is skipped whole, with
// GL_INVALID_VALUE, where WebAssembly would otherwise stop the program.
void DrawClientArrays(GLenum mode, const ArrayRange& range);

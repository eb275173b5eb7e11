#include "gl/webgl/PrimitiveAssembly.h"

namespace
{
using Indices = std::vector<std::uint32_t>;

void Add(Indices& to, std::size_t a, std::size_t b, std::size_t c)
{
    to.push_back(static_cast<std::uint32_t>(a));
    to.push_back(static_cast<std::uint32_t>(b));
    to.push_back(static_cast<std::uint32_t>(c));
}

AssembledPrimitive InOrder(GLenum mode) { return {mode, true, {}, 0}; }

AssembledPrimitive Triangles(Indices indices)
{
    return {GL_TRIANGLES, false, std::move(indices), 3};
}

AssembledPrimitive Lines(GLenum mode, std::size_t count, bool separate)
{
    const std::size_t needed = 2;
    if (count < needed)
    {
        return {GL_LINES, false, {}, 2};
    }
    if (!separate)
    {
        return InOrder(mode);
    }
    Indices indices;
    if (mode == GL_LINES)
    {
        for (std::size_t i = 0; i + 1 < count; i += 2)
        {
            indices.insert(indices.end(), {std::uint32_t(i), std::uint32_t(i + 1)});
        }
    }
    else
    {
        for (std::size_t i = 0; i + 1 < count; ++i)
        {
            indices.insert(indices.end(), {std::uint32_t(i), std::uint32_t(i + 1)});
        }
        if (mode == GL_LINE_LOOP)
        {
            // The closing line's colour is the first vertex's under flat shading.
            indices.insert(indices.end(), {std::uint32_t(count - 1), 0u});
        }
    }
    return {GL_LINES, false, std::move(indices), 2};
}
}  // namespace

AssembledPrimitive AssemblePrimitive(GLenum mode, std::size_t count, bool separateElements)
{
    Indices indices;
    switch (mode)
    {
    case GL_POINTS:
        if (!separateElements)
        {
            return InOrder(GL_POINTS);
        }
        for (std::size_t i = 0; i < count; ++i)
        {
            indices.push_back(static_cast<std::uint32_t>(i));
        }
        return {GL_POINTS, false, std::move(indices), 1};
    case GL_LINES:
    case GL_LINE_STRIP:
    case GL_LINE_LOOP:
        return Lines(mode, count, separateElements);
    case GL_TRIANGLES:
        if (!separateElements)
        {
            return InOrder(GL_TRIANGLES);
        }
        for (std::size_t i = 0; i + 2 < count; i += 3)
        {
            Add(indices, i, i + 1, i + 2);
        }
        return Triangles(std::move(indices));
    case GL_TRIANGLE_STRIP:
        if (!separateElements)
        {
            return InOrder(GL_TRIANGLE_STRIP);
        }
        for (std::size_t i = 0; i + 2 < count; ++i)
        {
            if (i % 2 == 0)
            {
                Add(indices, i, i + 1, i + 2);
            }
            else
            {
                Add(indices, i + 1, i, i + 2);
            }
        }
        return Triangles(std::move(indices));
    case GL_TRIANGLE_FAN:
        if (!separateElements)
        {
            return InOrder(GL_TRIANGLE_FAN);
        }
        for (std::size_t i = 1; i + 1 < count; ++i)
        {
            Add(indices, 0, i, i + 1);
        }
        return Triangles(std::move(indices));
    case GL_QUADS:
        // Corners a b c d: triangles a b d and b c d, both ending at d.
        for (std::size_t i = 0; i + 3 < count; i += 4)
        {
            Add(indices, i, i + 1, i + 3);
            Add(indices, i + 1, i + 2, i + 3);
        }
        return Triangles(std::move(indices));
    case GL_QUAD_STRIP:
        // Quad i has the corners 2i, 2i+1, 2i+3, 2i+2 in this order of winding.
        for (std::size_t i = 0; i + 3 < count; i += 2)
        {
            Add(indices, i, i + 1, i + 3);
            Add(indices, i + 2, i, i + 3);
        }
        return Triangles(std::move(indices));
    case GL_POLYGON:
        // A fan whose triangles end at the first vertex, the polygon's flat-shading colour.
        for (std::size_t i = 1; i + 1 < count; ++i)
        {
            Add(indices, i, i + 1, 0);
        }
        return Triangles(std::move(indices));
    default:
        return {GL_INVALID_ENUM, false, {}, 0};
    }
}

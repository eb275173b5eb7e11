#pragma once

#include <GL/gl.h>

#include <cstddef>
#include <cstdint>
#include <vector>

// How WebGL draws what glBegin/glEnd recorded: a WebGL mode and, unless the vertices can be drawn
// in their order, the vertex numbers to draw. Quads, quad strips and polygons become triangles
// with the winding of the OpenGL primitive, and every triangle (line) ends with the vertex whose
// colour OpenGL takes under flat shading (the last one of each primitive, the first of a polygon),
// so a flat-shaded copy can take the attributes of that last corner.
struct AssembledPrimitive
{
    GLenum mode;                         // GL_POINTS, GL_LINES, ..., GL_TRIANGLES
    bool inOrder;                        // draw vertices 0 .. count - 1 as they are
    std::vector<std::uint32_t> indices;  // otherwise these
    std::size_t cornersPerElement;       // 1, 2 or 3 when indices list whole points/lines/triangles
};

// The drawing of count vertices recorded for the OpenGL mode. With separateElements every point,
// line and triangle gets its own corners in indices (for flat shading); otherwise strips, fans
// and loops that WebGL knows are drawn in order. Vertices that do not complete a primitive are
// dropped, as OpenGL drops them. An unknown mode gives GL_INVALID_ENUM as mode.
AssembledPrimitive AssemblePrimitive(GLenum mode, std::size_t count, bool separateElements);

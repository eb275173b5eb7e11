#pragma once

#include <cstddef>

// Bounds on what one model file may make the loader do. Model files are hostile input: counts,
// sizes and depths in them are claims, and a node graph can make a small file name a mesh many
// times over. Whatever passes a bound ends the load with a message and nothing loaded.
namespace model
{
// Vertices and triangles of the whole flattened mesh. A vertex takes 48 bytes in the mesh, so
// the vertex bound keeps the mesh below about 400 MB; both stay far below the int counts of the
// mesh's arrays.
const std::size_t kMaxVertices = std::size_t(1) << 23;
const std::size_t kMaxTriangles = std::size_t(1) << 23;
// Bytes of any one file read (the model, a buffer, a material library, an embedded image).
const std::size_t kMaxFileBytes = std::size_t(512) << 20;
// Depth of the node tree, and nesting of the JSON text (the JSON parser's value converter and
// the node walk recurse; glTF itself nests a handful of levels).
const int kMaxNodeDepth = 256;
const int kMaxJsonDepth = 64;
}  // namespace model

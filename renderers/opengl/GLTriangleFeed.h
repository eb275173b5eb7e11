#pragma once

#include <cstdint>
#include <vector>

class QVSGMesh;

// How a mesh's triangles reach OpenGL, one implementation per build: on the desktop the
// mesh's vertex array is handed over once (positions, normals and texture coordinates as vertex
// arrays) and each range is one indexed draw (arrays/); on the web, whose fixed-function layer
// takes the immediate-mode calls, vertex by vertex (immediate/). The pictures are the same.
// Lives while one mesh is drawn; the vertex array state is restored at its end.
class GLTriangleFeed
{
public:
    explicit GLTriangleFeed(QVSGMesh& mesh);
    ~GLTriangleFeed();
    GLTriangleFeed(const GLTriangleFeed&) = delete;
    GLTriangleFeed& operator=(const GLTriangleFeed&) = delete;

    // Draws the whole triangles at index positions first, first + 3, ... below end whose
    // positions lie in the index array and whose three indexes name vertices of the mesh.
    void DrawRange(std::int64_t first, std::int64_t end);

private:
    QVSGMesh& mesh;
    std::vector<std::int32_t> kept;  // the drawable triangles of a range that has others
    static constexpr int kPackedFloats = 8;
    std::vector<float> packed;
};

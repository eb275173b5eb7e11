#pragma once

#include <cstdint>
#include <vector>

class QVSGMesh;

// How a mesh's triangles reach OpenGL: the mesh's vertex array is handed over once (positions,
// normals and texture coordinates as vertex arrays) and each range is one indexed draw, on the
// desktop and through the web's fixed-function layer alike. Lives while one mesh is drawn; the
// vertex array state is restored at its end.
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

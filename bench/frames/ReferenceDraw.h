#pragma once

#include <cstdint>
#include <vector>

class QVColor;
class QVImage;
class QVSGMesh;

// The frame-rate benchmark's yardstick: the triangles of a scene's meshes drawn the plainest fast
// way OpenGL 1.1 offers, interleaved float texture coordinates, normals and positions handed over
// as vertex arrays and drawn with one call per frame. It draws in the context that is current
// (the renderer's, after the renderer drew the scene), lit by the lights the renderer loaded
// there, with one white material, and textured with a copy of the scene's image when it has one.
class ReferenceDraw
{
public:
    ReferenceDraw();
    ~ReferenceDraw();
    ReferenceDraw(const ReferenceDraw&) = delete;
    ReferenceDraw& operator=(const ReferenceDraw&) = delete;

    // Copies the whole triangles of meshes whose corners name vertices of their mesh. With
    // follow, meshes holds one mesh whose placement (position, rotations, scale) is read again
    // every frame; otherwise every mesh is placed once, now.
    void Build(const std::vector<QVSGMesh*>& meshes, bool follow);
    // A texture of the image's pixels (mipmapped, as the renderer makes it); needs the context.
    void SetTexture(QVImage& image);
    // The projection and the view (column-major, as glGetFloatv gives them) and the clear colour.
    void SetCamera(const float projection[16], const float view[16], const QVColor& background);
    // Clears and draws one frame into the back buffer; the caller shows it.
    void DrawFrame();

    int GetTriangleCount() const
    {
        return static_cast<int>(vertices.size() / kFloatsPerVertex / 3);
    }

private:
    static constexpr int kFloatsPerVertex = 8;  // u, v, normal, position

    std::vector<float> vertices;
    QVSGMesh* followed;  // the mesh placed every frame, or null
    std::uint32_t texture;
    float projection[16];
    float view[16];
    float clear[3];
};

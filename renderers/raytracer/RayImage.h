#pragma once

#include "renderers/raytracer/PixelRay.h"
#include "renderers/raytracer/RayVec.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class QVSGCamera;
class RayScene;

// The progressively refined image: one cached PixelRay per pixel, row-major from the top. While
// the camera stands still each frame raises the refinement level by one up to the limit
// (width / 10); a frame traces every (limit - level)-th ray, so the first frame after a move
// shows every limit-th pixel and the image is complete limit frames later. Traced rays keep
// their colour until the camera moves.
class RayImage
{
public:
    RayImage();

    // Makes width x height fresh rays, level 0, limit width / 10. False (no rays, size 0 x 0)
    // when the size is not positive or memory is not available.
    bool Allocate(int width, int height);
    // Drops the rays.
    void Release();

    // Camera change detection: a moved eye or target (x, y, z) regenerates the primary rays and
    // starts over at level 0; otherwise the level grows by one, up to the limit.
    void SetView(QVSGCamera& camera);
    // New primary rays from the camera, none traced.
    void Regenerate(QVSGCamera& camera);

    // The progressive pass of one frame: rays 0, stride, 2 stride, ... with stride = limit -
    // level, nothing once the level is at the limit. Returns how many rays were traced anew.
    std::size_t TracePass(const RayScene& scene, int depth);
    // Traces the first and last ray of every row but the last, which the drawing needs.
    void TraceRowEnds(const RayScene& scene, int depth);

    int GetWidth() const { return width; }
    int GetHeight() const { return height; }
    std::size_t GetCount() const { return rays.size(); }
    int GetLevel() const { return level; }
    int GetLimit() const { return limit; }
    PixelRay& GetRay(std::size_t index) { return rays[index]; }
    PixelRay& GetRay(int row, int column)
    {
        return rays[static_cast<std::size_t>(row) * width + column];
    }

private:
    std::vector<PixelRay> rays;
    int width;
    int height;
    int level;
    int limit;
    RayVec lastPosition;
    RayVec lastTarget;
};

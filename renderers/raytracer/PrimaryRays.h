#ifndef QV_RENDERERS_RAYTRACER_PRIMARYRAYS_H
#define QV_RENDERERS_RAYTRACER_PRIMARYRAYS_H

#include "renderers/raytracer/RayVec.h"

#include <cstdint>

class QVSGCamera;

// The primary rays of a camera for a width x height image: one per pixel from the eye, rows from
// the top, each direction forward * d + right * (aspect / width) * c + up * (1 / height) * r
// normalised, where d = 105 / fov - 1 is the eye distance (fov <= 0: practically infinite). The
// counter is as wide as the image, so every size up to the largest int gets all its rays; with an
// odd width or height one column or row fewer is generated than the image holds.
class PrimaryRays
{
public:
    // Reads the camera's eye, basis, field of view and aspect; the camera is not kept.
    PrimaryRays(QVSGCamera& camera, int width, int height);

    const RayVec& GetEye() const { return eye; }

    // Calls visit(index, direction) for every generated ray in order (index from 0).
    template <class Visit>
    void ForEach(Visit visit) const
    {
        const int half = height >> 1;
        std::int64_t index = 0;
        for (int r = half; r >= -half + 1; --r)
        {
            for (int c = -(width / 2); c <= width / 2 - 1; ++c)
            {
                visit(index, Direction(c, r));
                ++index;
            }
        }
    }

    // Unit direction of column c and row r, counted from the image centre (r upwards).
    RayVec Direction(int c, int r) const
    {
        RayVec direction = forward * eyeDistance + rightStep * static_cast<double>(c) +
                           upStep * static_cast<double>(r);
        direction.Normalize();
        return direction;
    }

private:
    int width;
    int height;
    RayVec eye;
    RayVec forward;
    RayVec rightStep;
    RayVec upStep;
    double eyeDistance;
};

#endif

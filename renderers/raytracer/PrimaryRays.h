#pragma once

#include "renderers/raytracer/RayVec.h"

#include <cstddef>
#include <cstdint>
#include <vector>

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

    // Number of generated rays: the width and the height each rounded down to an even number,
    // multiplied.
    std::int64_t GetCount() const
    {
        return static_cast<std::int64_t>(width / 2 * 2) * static_cast<std::int64_t>(height / 2 * 2);
    }

    // Calls visit(index, direction) for every generated ray in order (index from 0).
    template <class Visit>
    void ForEach(Visit visit) const
    {
        ForRange(0, GetCount(), visit);
    }

    // Calls visit(index, direction) in order for the generated rays with first <= index < last,
    // so that disjoint ranges can be generated independently.
    template <class Visit>
    void ForRange(std::int64_t first, std::int64_t last, Visit visit) const
    {
        const std::int64_t count = GetCount();
        if (last > count)
        {
            last = count;
        }
        if (first < 0)
        {
            first = 0;
        }
        if (first >= last)
        {
            return;
        }
        const int columns = width / 2 * 2;
        const int firstColumn = -(width / 2);
        int r = (height >> 1) - static_cast<int>(first / columns);
        int c = firstColumn + static_cast<int>(first % columns);
        RayVec rowPart = upStep * static_cast<double>(r);
        for (std::int64_t index = first; index < last; ++index)
        {
            // Direction(c, r), with the column's part worked out once per image.
            RayVec direction = columnParts[static_cast<std::size_t>(c - firstColumn)] + rowPart;
            direction.Normalize();
            visit(index, static_cast<const RayVec&>(direction));
            if (++c > width / 2 - 1)
            {
                c = firstColumn;
                --r;
                rowPart = upStep * static_cast<double>(r);
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
    // forward * eyeDistance + rightStep * c for every generated column c, from the leftmost.
    std::vector<RayVec> columnParts;
};

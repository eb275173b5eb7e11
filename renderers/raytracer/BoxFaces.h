#pragma once

#include "renderers/raytracer/RayVec.h"

#include <cstdint>

// The face table of the box test: bit in the box's face mask, outward normal axis and sign, the
// two bounded axes. Shared by the test and by the terms the scene works out for the eye.
struct BoxFace
{
    std::int32_t bit;
    int axis;
    double sign;
    int first;
    int second;
};

inline constexpr BoxFace kBoxFaces[6] = {
    {1, 1, -1.0, 0, 2}, {2, 1, 1.0, 0, 2},  {4, 0, -1.0, 1, 2},
    {8, 0, 1.0, 1, 2},  {16, 2, 1.0, 1, 0}, {32, 2, -1.0, 1, 0},
};

// The vector with value on axis (0 x, 1 y, 2 z) and zeros elsewhere.
inline RayVec AxisVector(int axis, double value)
{
    RayVec v{0.0, 0.0, 0.0};
    (axis == 0 ? v.x : (axis == 1 ? v.y : v.z)) = value;
    return v;
}

// The normal's sign on its axis (faces turned inwards when reversed).
inline double FaceSign(const BoxFace& face, bool reversed)
{
    return reversed ? -face.sign : face.sign;
}

// The coordinate of the face's plane on its axis.
inline double FacePlane(const BoxFace& face, const RayVec& centre, const RayVec& halfExtent)
{
    return face.sign > 0.0 ? centre.Get(face.axis) + halfExtent.Get(face.axis)
                           : centre.Get(face.axis) - halfExtent.Get(face.axis);
}

#include "renderers/raytracer/PrimaryRays.h"

#include "scene/QVSGCamera.h"

PrimaryRays::PrimaryRays(QVSGCamera& camera, int imageWidth, int imageHeight)
    : width(imageWidth), height(imageHeight)
{
    const double sx = camera.GetAspect() / static_cast<double>(width);
    const double sy = 1.0 / static_cast<double>(height);
    eye = RayVec::From(camera.GetPosition());
    forward = RayVec::From(camera.GetForward());
    rightStep = RayVec::From(camera.GetRight()) * sx;
    upStep = RayVec::From(camera.GetUp()) * sy;
    const double fov = camera.GetFieldOfView();
    eyeDistance = fov > 0.0 ? 105.0 / fov - 1.0 : 999999999999.0;
    const int columns = width > 0 ? width / 2 * 2 : 0;
    columnParts.reserve(static_cast<std::size_t>(columns));
    for (int c = -(width / 2); c < -(width / 2) + columns; ++c)
    {
        columnParts.push_back(forward * eyeDistance + rightStep * static_cast<double>(c));
    }
}

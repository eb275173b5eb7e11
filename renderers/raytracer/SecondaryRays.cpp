#include "renderers/raytracer/SecondaryRays.h"

#include "renderers/raytracer/PixelRay.h"

#include <cstdint>

SecondaryRays::SecondaryRays() = default;

SecondaryRays::~SecondaryRays() = default;

PixelRay& SecondaryRays::For(int level)
{
    const std::size_t index = static_cast<std::size_t>(level);
    while (rays.size() <= index)
    {
        rays.push_back(std::make_unique<PixelRay>());
        rays.back()->level = static_cast<std::int32_t>(rays.size() - 1) + 1;
    }
    PixelRay& ray = *rays[index];
    ray.Reset();
    return ray;
}

SecondaryRays& SecondaryRays::Shared()
{
    static SecondaryRays pool;
    return pool;
}

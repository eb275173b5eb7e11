#include "renderers/raytracer/RayImage.h"

#include "renderers/raytracer/PrimaryRays.h"
#include "renderers/raytracer/RayScene.h"
#include "scene/QVSGCamera.h"

#include <new>

RayImage::RayImage()
    : width(0), height(0), level(0),
      limit(0), lastPosition{0.0, 0.0, 0.0}, lastTarget{0.0, 0.0, 0.0}
{
}

bool RayImage::Allocate(int imageWidth, int imageHeight)
{
    Release();
    if (imageWidth <= 0 || imageHeight <= 0)
    {
        return false;
    }
    try
    {
        rays.resize(static_cast<std::size_t>(imageWidth) * static_cast<std::size_t>(imageHeight));
    }
    catch (const std::bad_alloc&)
    {
        Release();
        return false;
    }
    width = imageWidth;
    height = imageHeight;
    level = 0;
    limit = width / 10;
    return true;
}

void RayImage::Release()
{
    std::vector<PixelRay>().swap(rays);
    width = 0;
    height = 0;
    level = 0;
    limit = 0;
}

void RayImage::SetView(QVSGCamera& camera)
{
    const RayVec position = RayVec::From(camera.GetPosition());
    const RayVec target = RayVec::From(camera.GetTarget());
    const RayVec moved = lastPosition - position;
    const RayVec turned = lastTarget - target;
    if (moved.x != 0.0 || moved.y != 0.0 || moved.z != 0.0 || turned.x != 0.0 || turned.y != 0.0 ||
        turned.z != 0.0)
    {
        Regenerate(camera);
        level = 0;
    }
    else if (level < limit)
    {
        ++level;
    }
    lastPosition = position;
    lastTarget = target;
}

void RayImage::Regenerate(QVSGCamera& camera)
{
    if (rays.empty())
    {
        return;
    }
    const PrimaryRays primary(camera, width, height);
    const std::int64_t count = static_cast<std::int64_t>(rays.size());
    primary.ForEach(
        [&](std::int64_t index, const RayVec& direction)
        {
            if (index < count)
            {
                PixelRay& ray = rays[static_cast<std::size_t>(index)];
                ray.origin = primary.GetEye();
                ray.traced = false;
                ray.direction = direction;
            }
        });
}

std::size_t RayImage::TracePass(const RayScene& scene, int depth)
{
    std::size_t traced = 0;
    if (level == limit)
    {
        return traced;
    }
    const std::size_t stride = static_cast<std::size_t>(limit - level);
    for (std::size_t index = 0; index < rays.size(); index += stride)
    {
        if (!rays[index].traced)
        {
            ++traced;
        }
        rays[index].Trace(scene, depth);
    }
    return traced;
}

void RayImage::TraceRowEnds(const RayScene& scene, int depth)
{
    for (int i = 0; i + 1 < height; ++i)
    {
        GetRay(i, 0).Trace(scene, depth);
        GetRay(i, width - 1).Trace(scene, depth);
    }
}

#include "apps/qvrender/BandTracer.h"

#include "apps/qvrender/TenthsProgress.h"
#include "renderers/raytracer/PixelRay.h"
#include "renderers/raytracer/SecondaryRays.h"

#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>

namespace
{
std::uint8_t ToByte(double value)
{
    // The colour is already in [0, 1]; round to the nearest of 256 steps.
    return static_cast<std::uint8_t>(value * 255.0 + 0.5);
}

void Store(const PixelRay& ray, std::uint8_t* pixel)
{
    pixel[0] = ToByte(ray.colour.r);
    pixel[1] = ToByte(ray.colour.g);
    pixel[2] = ToByte(ray.colour.b);
}
}  // namespace

BandTracer::BandTracer(const RayScene& scene, const PrimaryRays& primary, int width, int height,
                       int depth)
    : scene(scene), primary(primary), width(width), height(height), depth(depth)
{
}

int BandTracer::BandRows(int height, int threads)
{
    const int rows = height / (threads * 8);
    return rows > 0 ? rows : 1;
}

void BandTracer::TraceRows(int firstRow, int lastRow, PixelRay& ray, SecondaryRays& secondaries,
                           std::uint8_t* rgb) const
{
    const std::int64_t first = static_cast<std::int64_t>(firstRow) * width;
    const std::int64_t last = static_cast<std::int64_t>(lastRow) * width;
    primary.ForRange(first, last,
                     [&](std::int64_t index, const RayVec& direction)
                     {
                         ray.traced = false;
                         ray.mode = RAY_PRIMARY;
                         ray.origin = primary.GetEye();
                         ray.direction = direction;
                         ray.Trace(scene, depth, secondaries);
                         Store(ray, rgb + index * 3);
                     });
    const std::int64_t generated = primary.GetCount();
    for (std::int64_t index = first > generated ? first : generated; index < last; ++index)
    {
        ray = PixelRay();
        ray.Trace(scene, depth, secondaries);
        Store(ray, rgb + index * 3);
    }
}

int BandTracer::Trace(int threads, std::vector<std::uint8_t>& rgb, TenthsProgress* progress)
{
    const int bandRows = BandRows(height, threads);
    const int bands = (height + bandRows - 1) / bandRows;
    std::atomic<int> nextBand{0};
    std::atomic<bool> failed{false};
    std::mutex failureLock;
    std::exception_ptr failure;

    auto work = [&]
    {
        try
        {
            PixelRay ray;
            SecondaryRays secondaries;
            while (!failed.load(std::memory_order_relaxed))
            {
                const int band = nextBand.fetch_add(1);
                if (band >= bands)
                {
                    break;
                }
                const int end = (band + 1) * bandRows < height ? (band + 1) * bandRows : height;
                for (int row = band * bandRows; row < end; ++row)
                {
                    TraceRows(row, row + 1, ray, secondaries, rgb.data());
                    if (progress != nullptr)
                    {
                        progress->Add(width);
                    }
                }
            }
        }
        catch (...)
        {
            const std::lock_guard<std::mutex> guard(failureLock);
            if (!failure)
            {
                failure = std::current_exception();
            }
            failed = true;
        }
    };

    const int wanted = threads < bands ? threads : bands;
    std::vector<std::thread> helpers;
    helpers.reserve(static_cast<std::size_t>(wanted));
    for (int i = 1; i < wanted; ++i)
    {
        try
        {
            helpers.emplace_back(work);
        }
        catch (const std::system_error&)
        {
            // The system has no more threads to give: the ones running share the bands.
            break;
        }
    }
    work();
    for (std::thread& helper : helpers)
    {
        helper.join();
    }
    if (failure)
    {
        std::rethrow_exception(failure);
    }
    return static_cast<int>(helpers.size()) + 1;
}

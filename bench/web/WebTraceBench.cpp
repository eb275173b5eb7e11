// The demonstration scene traced in a web page, single-threaded, exactly as qvrender traces it
// (the same primary rays, band tracer and depth), for bench/web/trace_bench.mjs. Arguments:
// <width> <height> <runs>. Prints one line "trace <width>x<height> <milliseconds> ms" per run and
// writes the last image to /trace.tga in the virtual file system.
#include "apps/demoscene/DemoScene.h"
#include "apps/qvrender/BandTracer.h"
#include "apps/qvrender/TgaWriter.h"
#include "renderers/raytracer/PrimaryRays.h"
#include "renderers/raytracer/RayScene.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace
{
// The depth the ray tracer module and qvrender give every primary ray.
const int MaximumDepth = 3;

int Argument(int argc, char** argv, int index, int fallback)
{
    if (index >= argc)
        return fallback;
    const int value = std::atoi(argv[index]);
    return value > 0 && value <= 16384 ? value : fallback;
}
}  // namespace

int main(int argc, char** argv)
{
    const int width = Argument(argc, argv, 1, 800);
    const int height = Argument(argc, argv, 2, 600);
    const int runs = Argument(argc, argv, 3, 3);

    DemoScene demo;
    demo.Build();
    RayScene scene;
    scene.Capture(&demo.world);
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * 3);
    for (int run = 0; run < runs; ++run)
    {
        // Timed as qvrender times it: the primary rays and the trace.
        const auto start = std::chrono::steady_clock::now();
        const PrimaryRays primary(*demo.world.GetCamera(), width, height);
        BandTracer tracer(scene, primary, width, height, MaximumDepth);
        tracer.Trace(1, pixels, nullptr);
        const double milliseconds =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        std::printf("trace %dx%d %.1f ms\n", width, height, milliseconds);
    }
    if (!TgaWriter::Write("/trace.tga", width, height, pixels))
        std::fprintf(stderr, "cannot write /trace.tga\n");
    return 0;
}

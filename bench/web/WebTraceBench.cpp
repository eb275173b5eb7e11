// The demonstration scene traced in a web page, single-threaded, exactly as qvrender traces it
// (the same primary rays, band tracer and depth), for bench/web/trace_bench.mjs. The page calls
// QVBenchTrace(width, height) once per run, taking turns with the native qvrender; each call
// returns its time in milliseconds and writes the image to /trace.tga in the virtual file system.
#include "apps/common/DemoScene.h"
#include "apps/qvrender/BandTracer.h"
#include "loaders/tga/TgaWriter.h"
#include "renderers/raytracer/PrimaryRays.h"
#include "renderers/raytracer/RayScene.h"

#include <emscripten.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace
{
// The depth the ray tracer module and qvrender give every primary ray.
const int MaximumDepth = 3;
}  // namespace

// The scene is built once; a run traces it anew. Not thread-safe (the page has one thread).
extern "C" EMSCRIPTEN_KEEPALIVE double QVBenchTrace(int width, int height)
{
    if (width < 1 || height < 1 || width > 16384 || height > 16384)
        return -1.0;
    static DemoScene* demo = nullptr;
    static RayScene scene;
    if (demo == nullptr)
    {
        demo = new DemoScene();
        demo->Build();
        scene.Capture(&demo->world);
    }
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * 3);
    // Timed as qvrender times it: the primary rays and the trace.
    const auto start = std::chrono::steady_clock::now();
    const PrimaryRays primary(*demo->world.GetCamera(), width, height);
    BandTracer tracer(scene, primary, width, height, MaximumDepth);
    tracer.Trace(1, pixels, nullptr);
    const double milliseconds =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (!tga::WriteFile("/trace.tga", width, height, 24, pixels.data(), tga::kRgbRowsFromTop))
        std::fprintf(stderr, "cannot write /trace.tga\n");
    return milliseconds;
}

// Nothing to do until the page calls QVBenchTrace.
int main() { return 0; }

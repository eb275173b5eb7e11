#include "apps/qvrender/QVRenderApp.h"

#include "apps/demoscene/DemoScene.h"
#include "apps/qvrender/TgaWriter.h"
#include "renderers/raytracer/PixelRay.h"
#include "renderers/raytracer/PrimaryRays.h"
#include "renderers/raytracer/RayScene.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

// The process-wide application.
QVRenderApp renderApplication;

namespace
{
const int maximumSide = 16384;
// Renders of at least this many pixels report their progress.
const std::int64_t progressThreshold = 1000000;
// The depth the ray tracer module gives every primary ray.
const int maximumDepth = 3;

void PrintUsage()
{
    std::printf(
        "usage: qvrender [--size WxH] [--output FILE]\n"
        "Traces the demonstration scene and writes it as an uncompressed 24-bit TGA image.\n"
        "  --size WxH     image size in pixels, 1 to %d each (default 200x150)\n"
        "  --output FILE  image file to write (default render.tga)\n"
        "  --help         this text\n",
        maximumSide);
}

bool ParseSize(const char* text, int& width, int& height)
{
    char* end = nullptr;
    const long w = std::strtol(text, &end, 10);
    if (end == text || (*end != 'x' && *end != 'X'))
        return false;
    const char* second = end + 1;
    const long h = std::strtol(second, &end, 10);
    if (end == second || *end != '\0')
        return false;
    if (w < 1 || h < 1 || w > maximumSide || h > maximumSide)
        return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

std::uint8_t ToByte(double value)
{
    // The colour is already in [0, 1]; round to the nearest of 256 steps.
    return static_cast<std::uint8_t>(value * 255.0 + 0.5);
}
}  // namespace

int QVRenderApp::Run() { return -1; }

int QVRenderApp::RunArgs(QVArray<QVString>& words)
{
    int width = 200;
    int height = 150;
    std::string output = "render.tga";
    std::vector<std::string> args;
    for (int i = 0; i < words.GetSize(); ++i)
    {
        // Consecutive blanks leave empty words behind.
        if (words[i].GetLength() > 0 && words[i].GetBuffer() != nullptr)
            args.emplace_back(words[i].GetBuffer());
    }
    for (std::size_t i = 0; i < args.size(); ++i)
    {
        if (args[i] == "--help" || args[i] == "-h")
        {
            PrintUsage();
            return 0;
        }
        if (args[i] == "--size" && i + 1 < args.size())
        {
            if (!ParseSize(args[++i].c_str(), width, height))
            {
                std::fprintf(stderr, "qvrender: bad size '%s' (expected WxH, 1 to %d each)\n",
                             args[i].c_str(), maximumSide);
                return 2;
            }
            continue;
        }
        if (args[i] == "--output" && i + 1 < args.size())
        {
            output = args[++i];
            continue;
        }
        std::fprintf(stderr, "qvrender: unknown or incomplete argument '%s'\n", args[i].c_str());
        PrintUsage();
        return 2;
    }

    DemoScene demo;
    demo.Build();
    RayScene scene;
    scene.Capture(&demo.world);

    const std::int64_t count = static_cast<std::int64_t>(width) * height;
    std::vector<std::uint8_t> pixels;
    try
    {
        pixels.assign(static_cast<std::size_t>(count) * 3, 0);
    }
    catch (const std::bad_alloc&)
    {
        std::fprintf(stderr, "qvrender: not enough memory for a %dx%d image\n", width, height);
        return 1;
    }

    const auto start = std::chrono::steady_clock::now();
    const bool report = count >= progressThreshold;
    int tenths = 1;
    std::int64_t nextReport = count / 10;
    const PrimaryRays primary(*demo.world.GetCamera(), width, height);
    PixelRay ray;
    auto trace = [&](std::int64_t index)
    {
        ray.Trace(scene, maximumDepth);
        std::uint8_t* pixel = &pixels[static_cast<std::size_t>(index) * 3];
        pixel[0] = ToByte(ray.colour.r);
        pixel[1] = ToByte(ray.colour.g);
        pixel[2] = ToByte(ray.colour.b);
        if (report && index + 1 >= nextReport)
        {
            std::printf("qvrender: %d%%\n", tenths * 10);
            std::fflush(stdout);
            ++tenths;
            nextReport = count * tenths / 10;
        }
    };
    std::int64_t generated = 0;
    primary.ForEach(
        [&](std::int64_t index, const RayVec& direction)
        {
            ray.traced = false;
            ray.mode = RAY_PRIMARY;
            ray.origin = primary.GetEye();
            ray.direction = direction;
            trace(index);
            generated = index + 1;
        });
    // With an odd width or height the last pixels get no primary ray: as in the viewer, they
    // keep the zero ray of a fresh image.
    for (std::int64_t index = generated; index < count; ++index)
    {
        ray = PixelRay();
        trace(index);
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    if (!TgaWriter::Write(output.c_str(), width, height, pixels))
    {
        std::fprintf(stderr, "qvrender: cannot write '%s'\n", output.c_str());
        return 1;
    }
    std::printf("qvrender: %dx%d traced in %.3f s (%.0f primary rays per second), written to %s\n",
                width, height, seconds, seconds > 0.0 ? static_cast<double>(count) / seconds : 0.0,
                output.c_str());
    return 0;
}

#include "apps/qvrender/QVRenderApp.h"

#include "apps/common/DemoScene.h"
#include "apps/qvrender/BandTracer.h"
#include "apps/qvrender/TenthsProgress.h"
#include "loaders/tga/TgaWriter.h"
#include "renderers/raytracer/PrimaryRays.h"
#include "renderers/raytracer/RayScene.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

// The process-wide application.
QVRenderApp renderApplication;

namespace
{
const int maximumSide = 16384;
// More threads than this only cost memory and start-up time on any machine in sight.
const int maximumThreads = 256;
// Renders of at least this many pixels report their progress.
const std::int64_t progressThreshold = 1000000;
// The depth the ray tracer module gives every primary ray.
const int maximumDepth = 3;

// One thread per processor; 1 when the system does not say how many there are.
int DefaultThreads()
{
    const unsigned processors = std::thread::hardware_concurrency();
    if (processors == 0)
    {
        return 1;
    }
    return processors < static_cast<unsigned>(maximumThreads) ? static_cast<int>(processors)
                                                              : maximumThreads;
}

void PrintUsage()
{
    std::printf(
        "usage: qvrender [--size WxH] [--output FILE] [--threads N]\n"
        "Traces the demonstration scene and writes it as an uncompressed 24-bit TGA image.\n"
        "  --size WxH     image size in pixels, 1 to %d each (default 200x150)\n"
        "  --output FILE  image file to write (default render.tga)\n"
        "  --threads N    threads that trace, 1 to %d (default: one per processor, here %d);\n"
        "                 the image is the same whatever the number\n"
        "  --help         this text\n",
        maximumSide, maximumThreads, DefaultThreads());
}

bool ParseThreads(const char* text, int& threads)
{
    char* end = nullptr;
    const long n = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || n < 1 || n > maximumThreads)
        return false;
    threads = static_cast<int>(n);
    return true;
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
}  // namespace

int QVRenderApp::Run() { return -1; }

int QVRenderApp::RunArgs(QVArray<QVString>& words)
{
    int width = 200;
    int height = 150;
    int threads = DefaultThreads();
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
        if (args[i] == "--threads" && i + 1 < args.size())
        {
            if (!ParseThreads(args[++i].c_str(), threads))
            {
                std::fprintf(stderr, "qvrender: bad thread count '%s' (expected 1 to %d)\n",
                             args[i].c_str(), maximumThreads);
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
    std::unique_ptr<TenthsProgress> progress;
    if (count >= progressThreshold)
    {
        progress = std::make_unique<TenthsProgress>(count);
    }
    const PrimaryRays primary(*demo.world.GetCamera(), width, height);
    scene.SetEye(primary.GetEye());
    BandTracer tracer(scene, primary, width, height, maximumDepth);
    const int used = tracer.Trace(threads, pixels, progress.get());
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    if (!tga::WriteFile(output.c_str(), width, height, 24, pixels.data(), tga::kRgbRowsFromTop))
    {
        std::fprintf(stderr, "qvrender: cannot write '%s'\n", output.c_str());
        return 1;
    }
    std::printf("qvrender: %dx%d traced in %.3f s on %d thread%s (%.0f primary rays per second), "
                "written to %s\n",
                width, height, seconds, used, used == 1 ? "" : "s",
                seconds > 0.0 ? static_cast<double>(count) / seconds : 0.0, output.c_str());
    return 0;
}

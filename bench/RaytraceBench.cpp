// Speed of the ray tracer on the demonstration scene, single-threaded, at 200 x 150, 800 x 600 and
// 1600 x 1200: the trace alone in this process, the whole qvrender program, and POV-Ray
// (+WT1 -A) on the same scene (demo-scene.pov), with the ratios printed at the end. The goal is
// a qvrender run in at most a third of POV-Ray's time.
#include "apps/demoscene/DemoScene.h"
#include "renderers/raytracer/PixelRay.h"
#include "renderers/raytracer/PrimaryRays.h"
#include "renderers/raytracer/RayScene.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <utility>

namespace
{
using Size = std::pair<int, int>;
std::map<Size, double> traceSeconds;
std::map<Size, double> qvrenderSeconds;
std::map<Size, double> povraySeconds;
// Processor time (user + system) of the programs: on a shared machine the wall clock mostly
// measures the neighbours.
std::map<Size, double> qvrenderCpu;
std::map<Size, double> povrayCpu;

double ChildrenCpu()
{
    rusage usage = {};
    getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

void KeepBest(std::map<Size, double>& best, const Size& size, double value)
{
    auto& slot = best[size];
    slot = slot == 0.0 || value < slot ? value : slot;
}

double Seconds(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::string Output(const char* name)
{
    return (std::filesystem::temp_directory_path() / name).string();
}

// Runs a command line and returns its wall time, or a negative value when it failed; cpu gets
// the processor time it took.
double Run(const std::string& command, double& cpu)
{
    const double cpuBefore = ChildrenCpu();
    const auto start = std::chrono::steady_clock::now();
    const int status = std::system((command + " >/dev/null 2>&1").c_str());
    const double seconds = Seconds(start);
    cpu = ChildrenCpu() - cpuBefore;
    return status == 0 ? seconds : -1.0;
}

void BM_Trace(benchmark::State& state)
{
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    DemoScene demo;
    demo.Build();
    RayScene scene;
    scene.Capture(&demo.world);
    double checksum = 0.0;
    for (auto _ : state)
    {
        const auto start = std::chrono::steady_clock::now();
        const PrimaryRays primary(demo.camera, width, height);
        PixelRay ray;
        primary.ForEach(
            [&](std::int64_t, const RayVec& direction)
            {
                ray.traced = false;
                ray.origin = primary.GetEye();
                ray.direction = direction;
                ray.Trace(scene, 3);
                checksum += ray.colour.r;
            });
        const double seconds = Seconds(start);
        auto& best = traceSeconds[{width, height}];
        best = best == 0.0 || seconds < best ? seconds : best;
    }
    benchmark::DoNotOptimize(checksum);
    state.SetItemsProcessed(state.iterations() * width * height);
    state.counters["primary_rays_per_s"] = benchmark::Counter(
        static_cast<double>(width) * height, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_QVRender(benchmark::State& state)
{
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const std::string command = std::string(QV_QVRENDER) + " --size " + std::to_string(width) +
                                "x" + std::to_string(height) + " --output " +
                                Output("qv-bench.tga");
    for (auto _ : state)
    {
        double cpu = 0.0;
        const double seconds = Run(command, cpu);
        if (seconds < 0.0)
        {
            state.SkipWithError("qvrender failed");
            return;
        }
        state.SetIterationTime(seconds);
        KeepBest(qvrenderSeconds, {width, height}, seconds);
        KeepBest(qvrenderCpu, {width, height}, cpu);
    }
}

void BM_PovRay(benchmark::State& state)
{
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const std::string command = "povray +I" + std::string(QV_POV_SCENE) + " +O" +
                                Output("pov-bench.png") + " +W" + std::to_string(width) + " +H" +
                                std::to_string(height) + " +WT1 -A -D -GA";
    for (auto _ : state)
    {
        double cpu = 0.0;
        const double seconds = Run(command, cpu);
        if (seconds < 0.0)
        {
            state.SkipWithError("povray failed or is not installed (Debian package povray)");
            return;
        }
        state.SetIterationTime(seconds);
        KeepBest(povraySeconds, {width, height}, seconds);
        KeepBest(povrayCpu, {width, height}, cpu);
    }
}

void Sizes(benchmark::internal::Benchmark* b)
{
    b->Args({200, 150})->Args({800, 600})->Args({1600, 1200})->Unit(benchmark::kMillisecond);
}
}  // namespace

BENCHMARK(BM_Trace)->Apply(Sizes)->MinTime(1.0);
BENCHMARK(BM_QVRender)->Apply(Sizes)->UseManualTime()->Iterations(3);
BENCHMARK(BM_PovRay)->Apply(Sizes)->UseManualTime()->Iterations(3);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    std::printf(
        "\nBest of each (single-threaded; wall clock and processor time of the whole program):\n");
    std::printf("%-10s %9s %13s %11s %11s %10s %10s %11s %11s\n", "size", "trace s",
                "primary ray/s", "qvrender s", "povray s", "wall ratio", "qvrender", "povray",
                "cpu ratio");
    std::printf("%-10s %9s %13s %11s %11s %10s %10s %11s %11s\n", "", "", "", "(wall)", "(wall)",
                "", "cpu s", "cpu s", "");
    for (const auto& [size, trace] : traceSeconds)
    {
        const auto value = [&](std::map<Size, double>& m) { return m.count(size) ? m[size] : 0.0; };
        const double qv = value(qvrenderSeconds), pov = value(povraySeconds);
        const double qvCpu = value(qvrenderCpu), povCpu = value(povrayCpu);
        const std::string name = std::to_string(size.first) + "x" + std::to_string(size.second);
        std::printf("%-10s %9.3f %13.0f %11.3f %11.3f %10.3f %10.3f %11.3f %11.3f\n", name.c_str(),
                    trace, static_cast<double>(size.first) * size.second / trace, qv, pov,
                    pov > 0.0 ? qv / pov : 0.0, qvCpu, povCpu, povCpu > 0.0 ? qvCpu / povCpu : 0.0);
    }
    std::printf(
        "Goal: qvrender at 1600x1200 in at most a third of POV-Ray's time (ratio <= 0.333).\n");
    return 0;
}

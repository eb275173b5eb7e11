// Decoding a 4096 x 4096 PNG and JPEG through the image loader (into a QVImage, rows bottom-up,
// BGR), against ImageMagick's convert decoding the same file to raw RGB, in one run. Goal: the
// loader at most as slow as convert, compared by processor time (cpu_ms; convert's includes its
// start, about 40 ms).
//
// The pictures are made once by convert (a plasma fractal, so that neither format meets an
// unusually easy picture) in the temporary folder, and removed at the end.
#include "loaders/QVImage.h"
#include "loaders/image/QVImgLoader.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace
{
namespace fs = std::filesystem;

fs::path Folder() { return fs::temp_directory_path() / "qv-image-decode-bench"; }

// The picture of that format, made on first use; empty when convert could not make it.
std::string Picture(const std::string& extension)
{
    const fs::path file = Folder() / ("plasma-4096." + extension);
    if (!fs::exists(file))
    {
        fs::create_directories(Folder());
        const std::string command =
            "convert -seed 7 -size 4096x4096 plasma:fractal -depth 8 -quality 90 '" +
            file.string() + "' 2>/dev/null";
        if (std::system(command.c_str()) != 0)
            return std::string();
    }
    return file.string();
}

// Processor time (user + system) of the finished child processes: on a shared machine the wall
// clock mostly measures the neighbours, so the two sides are compared by this.
double ChildrenCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

double OwnCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

void LoaderDecodes(benchmark::State& state, const std::string& extension)
{
    const std::string file = Picture(extension);
    if (file.empty())
    {
        state.SkipWithError("convert could not make the picture");
        return;
    }
    QVImgLoader loader;
    QVImage image;
    const double before = OwnCpuSeconds();
    for (auto _ : state)
    {
        if (!loader.Load(&image.GetLoaders(), file.c_str()))
        {
            state.SkipWithError("the loader refused the picture");
            return;
        }
        benchmark::DoNotOptimize(image.GetPixels());
    }
    state.counters["cpu_ms"] = benchmark::Counter((OwnCpuSeconds() - before) * 1e3 /
                                                  static_cast<double>(state.iterations()));
}

void ConvertDecodes(benchmark::State& state, const std::string& extension)
{
    const std::string file = Picture(extension);
    if (file.empty())
    {
        state.SkipWithError("convert could not make the picture");
        return;
    }
    const std::string command = "convert '" + file + "' -depth 8 rgb:/dev/null 2>/dev/null";
    const double before = ChildrenCpuSeconds();
    for (auto _ : state)
    {
        if (std::system(command.c_str()) != 0)
        {
            state.SkipWithError("convert failed");
            return;
        }
    }
    state.counters["cpu_ms"] = benchmark::Counter((ChildrenCpuSeconds() - before) * 1e3 /
                                                  static_cast<double>(state.iterations()));
}

void Png(benchmark::State& state) { LoaderDecodes(state, "png"); }
void Jpeg(benchmark::State& state) { LoaderDecodes(state, "jpg"); }
void ConvertPng(benchmark::State& state) { ConvertDecodes(state, "png"); }
void ConvertJpeg(benchmark::State& state) { ConvertDecodes(state, "jpg"); }

// Wall time, and each side's processor time as cpu_ms: convert works in a process of its own.
BENCHMARK(Png)->Name("ImageLoader/png")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ConvertPng)->Name("ImageMagick/png")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Jpeg)->Name("ImageLoader/jpeg")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ConvertJpeg)->Name("ImageMagick/jpeg")->Unit(benchmark::kMillisecond)->UseRealTime();

struct RemoveFolder
{
    ~RemoveFolder()
    {
        std::error_code ignored;
        fs::remove_all(Folder(), ignored);
    }
} removeFolder;
}  // namespace

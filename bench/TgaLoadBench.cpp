// Loading a 4096 x 4096 32-bit TGA (64 MiB of pixels) through QVImage::Load, against reading the
// same file once from the page cache and against ImageMagick converting it to raw RGBA, in one
// run: the time of each, and how far each raises the resident set at its peak, measured in a
// child process (Linux: the peak is reset through /proc/self/clear_refs, then read as VmHWM).
// Origins: bottom-left (one block copy), top-left (row copies), top-right (every pixel moved).
// Goal: a load in at most 0.10 s, with a peak of at most 2.1 times the file.
//
// Run from anywhere: the program works in its own folder, where the image finds
// "qvtgaloader.qvm"; the test files go to the temporary folder and are removed.
#include "loaders/QVImage.h"
#include "loaders/tga/TgaWriter.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace
{
const int kSide = 4096;
const std::uint64_t kFileSize = 18 + std::uint64_t{kSide} * kSide * 4 + 26;

struct Figures
{
    double bestSeconds = 0.0;
    // Processor time (user + system, page faults included): on a shared machine the wall clock
    // mostly measures the neighbours.
    double bestCpu = 0.0;
    double peakGrowth = -1.0;  // bytes
};
std::map<std::string, Figures> figures;  // by row name, in name order

void KeepBest(double& best, double value) { best = best == 0.0 || value < best ? value : best; }

void KeepBest(const std::string& row, double seconds, double cpu)
{
    KeepBest(figures[row].bestSeconds, seconds);
    KeepBest(figures[row].bestCpu, cpu);
}

double Seconds(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double CpuSeconds(const rusage& usage)
{
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

// This process's processor time so far.
double OwnCpu()
{
    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return CpuSeconds(usage);
}

const char* OriginName(int origin)
{
    static const char* const names[] = {"bottom-left", "bottom-right", "top-left", "top-right"};
    return names[origin & 3];
}

std::string TestFile(int origin)
{
    return (std::filesystem::temp_directory_path() /
            ("qv-bench-" + std::to_string(kSide) + "-" + OriginName(origin) + ".tga"))
        .string();
}

// A 4096 x 4096 32-bit picture with 8 alpha bits stored from the given origin, with a TGA 2.0
// footer; written once, then left in the page cache.
bool WriteTestFile(const std::string& name, int origin)
{
    const std::size_t rowSize = std::size_t{kSide} * 4;
    std::vector<std::uint8_t> pixels(rowSize * kSide);
    for (std::size_t r = 0; r < kSide; ++r)
    {
        for (std::size_t i = 0; i < rowSize; ++i)
        {
            pixels[r * rowSize + i] = static_cast<std::uint8_t>(r + i);
        }
    }
    tga::WriteOptions options;
    options.origin = origin;
    return tga::WriteFile(name.c_str(), kSide, kSide, 32, pixels.data(), options);
}

// One field of /proc/self/status in bytes ("VmRSS:", "VmHWM:"); -1 when absent.
long long StatusBytes(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
    {
        if (line.compare(0, std::strlen(field), field) == 0)
        {
            return std::stoll(line.substr(std::strlen(field))) * 1024;
        }
    }
    return -1;
}

// Runs prepare, then operation in a forked child and returns how far the child's resident set
// rose above its level before the operation, at the peak; -1 when that could not be measured.
template <typename Prepare, typename Operation>
double PeakGrowth(Prepare prepare, Operation operation)
{
    int channel[2];
    if (pipe(channel) != 0)
    {
        return -1.0;
    }
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0)
    {
        close(channel[0]);
        prepare();
        long long growth = -1;
        std::ofstream reset("/proc/self/clear_refs");
        reset << "5" << std::flush;  // the peak starts again from the present resident set
        const long long before = StatusBytes("VmRSS:");
        if (reset && before > 0 && operation())
        {
            growth = StatusBytes("VmHWM:") - before;
        }
        const ssize_t written = write(channel[1], &growth, sizeof growth);
        _exit(written == sizeof growth ? 0 : 1);
    }
    close(channel[1]);
    long long growth = -1;
    if (child < 0 || read(channel[0], &growth, sizeof growth) != sizeof growth)
    {
        growth = -1;
    }
    close(channel[0]);
    if (child > 0)
    {
        waitpid(child, nullptr, 0);
    }
    return static_cast<double>(growth);
}

// The loader's data-size line on every load would interleave with the report.
class QuietStandardOutput
{
public:
    QuietStandardOutput() : m_saved(dup(1))
    {
        std::fflush(stdout);
        std::FILE* null = std::fopen("/dev/null", "w");
        if (null != nullptr)
        {
            dup2(fileno(null), 1);
            std::fclose(null);
        }
    }
    ~QuietStandardOutput()
    {
        std::fflush(stdout);
        dup2(m_saved, 1);
        close(m_saved);
    }

private:
    int m_saved;
};

void BM_ImageLoad(benchmark::State& state)
{
    const int origin = static_cast<int>(state.range(0));
    const std::string name = TestFile(origin);
    if (!WriteTestFile(name, origin))
    {
        state.SkipWithError("cannot write the test file");
        return;
    }
    const std::string row = std::string("QVImage::Load, ") + OriginName(origin);
    QVImage image;
    const QVString fileName(name.c_str());
    QuietStandardOutput quiet;
    for (auto _ : state)
    {
        // Each load starts from an empty image, as a first load would: the time of giving the
        // previous picture's memory back belongs to the picture, not to the load.
        state.PauseTiming();
        image.SetSize(0, 0, 0);
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        const double cpu = OwnCpu();
        if (!image.Load(fileName))
        {
            state.SkipWithError("the load failed (is qvtgaloader.qvm beside the program?)");
            break;
        }
        KeepBest(row, Seconds(start), OwnCpu() - cpu);
    }
    // From an empty image, as a first load would be.
    figures[row].peakGrowth =
        PeakGrowth([&] { image.SetSize(0, 0, 0); }, [&] { return image.Load(fileName); });
    state.counters["peak_MiB"] = figures[row].peakGrowth / (1 << 20);
    state.counters["peak_per_file"] = figures[row].peakGrowth / static_cast<double>(kFileSize);
    std::remove(name.c_str());
}

// The floor: the file's bytes into a fresh buffer, with one read.
bool ReadOnce(const std::string& name)
{
    std::FILE* file = std::fopen(name.c_str(), "rb");
    if (file == nullptr)
    {
        return false;
    }
    std::unique_ptr<char[]> buffer(new char[kFileSize]);
    const bool read = std::fread(buffer.get(), 1, kFileSize, file) == kFileSize;
    std::fclose(file);
    benchmark::DoNotOptimize(buffer.get());
    return read;
}

void BM_ReadFromPageCache(benchmark::State& state)
{
    const std::string name = TestFile(0);
    if (!WriteTestFile(name, 0))
    {
        state.SkipWithError("cannot write the test file");
        return;
    }
    const std::string row = "read the file once";
    for (auto _ : state)
    {
        const auto start = std::chrono::steady_clock::now();
        const double cpu = OwnCpu();
        if (!ReadOnce(name))
        {
            state.SkipWithError("read failed");
            break;
        }
        KeepBest(row, Seconds(start), OwnCpu() - cpu);
    }
    figures[row].peakGrowth = PeakGrowth([] {}, [&] { return ReadOnce(name); });
    state.counters["peak_MiB"] = figures[row].peakGrowth / (1 << 20);
    std::remove(name.c_str());
}

// convert FILE rgba:/dev/null in a child; returns the wall time (negative on failure), the
// child's processor time and its peak resident set in bytes.
double Convert(const std::string& name, double& cpu, double& peak)
{
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0)
    {
        execlp("convert", "convert", name.c_str(), "rgba:/dev/null", static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage = {};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
    {
        return -1.0;
    }
    cpu = CpuSeconds(usage);
    peak = static_cast<double>(usage.ru_maxrss) * 1024;
    return Seconds(start);
}

void BM_ImageMagickConvert(benchmark::State& state)
{
    const std::string name = TestFile(0);
    const std::string tiny = (std::filesystem::temp_directory_path() / "qv-bench-1x1.tga").string();
    {
        // A 1 x 1 picture: what convert holds whatever the picture.
        const std::uint8_t pixel[4] = {};
        tga::WriteOptions options;
        options.footer = false;
        tga::WriteFile(tiny.c_str(), 1, 1, 32, pixel, options);
    }
    if (!WriteTestFile(name, 0))
    {
        state.SkipWithError("cannot write the test file");
        return;
    }
    const std::string row = "ImageMagick convert to RGBA";
    double base = 0.0;
    double peak = 0.0;
    double cpu = 0.0;
    if (Convert(tiny, cpu, base) < 0.0)
    {
        state.SkipWithError("convert failed or is not installed (Debian package imagemagick)");
        return;
    }
    for (auto _ : state)
    {
        const double seconds = Convert(name, cpu, peak);
        if (seconds < 0.0)
        {
            state.SkipWithError("convert failed");
            break;
        }
        state.SetIterationTime(seconds);
        KeepBest(row, seconds, cpu);
    }
    figures[row].peakGrowth = peak - base;
    state.counters["peak_MiB"] = figures[row].peakGrowth / (1 << 20);
    state.counters["peak_per_file"] = figures[row].peakGrowth / static_cast<double>(kFileSize);
    std::remove(name.c_str());
    std::remove(tiny.c_str());
}
}  // namespace

BENCHMARK(BM_ImageLoad)->Arg(0)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_ReadFromPageCache)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_ImageMagickConvert)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

int main(int argc, char** argv)
{
    // The image finds its loader module in the working folder: this program's own.
    std::error_code error;
    std::filesystem::current_path(std::filesystem::read_symlink("/proc/self/exe").parent_path(),
                                  error);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
    {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    const double file = static_cast<double>(kFileSize);
    std::printf("\n%d x %d x 32 TGA, %.1f MiB; best wall and processor time, and the rise of the "
                "resident set at the peak:\n",
                kSide, kSide, file / (1 << 20));
    std::printf("%-30s %8s %8s %10s %12s\n", "", "wall s", "cpu s", "peak MiB", "peak / file");
    for (const auto& [row, f] : figures)
    {
        std::printf("%-30s %8.3f %8.3f %10.1f %12.2f\n", row.c_str(), f.bestSeconds, f.bestCpu,
                    f.peakGrowth / (1 << 20), f.peakGrowth / file);
    }
    std::printf("Goal: QVImage::Load in at most 0.10 s, peak at most 2.1 times the file.\n");
    return 0;
}

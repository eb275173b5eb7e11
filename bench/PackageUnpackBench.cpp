// Unpacking an applet package of 50 MB in 2,000 entries (stored and deflated files of many
// sizes, some directories, half of the files with extended timestamps) through the package
// layer, against Info-ZIP's "unzip -o -q" on the same file in the same run. The two take turns,
// each unpacking into an empty folder (removing the previous tree is not timed). Reported: best
// wall and processor time of each (unzip's is its own, as a child process's) and the median.
// Goal: the package layer takes at most unzip's time. Also: confining stored names of up to
// 32,768 drive prefixes, in time linear in their length.
//
// The package and the trees go to the temporary folder and are removed.
#include "plugin/package/EntryName.h"
#include "plugin/package/QVPackageExtractor.h"

#include "../tests/plugin/ZipBuilder.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace
{
const int kEntries = 2000;
const int kDirectories = 40;
const std::uint64_t kTotalBytes = 50'000'000;

struct Figures
{
    double bestSeconds = 0.0;
    double bestCpu = 0.0;
    std::vector<double> seconds;
};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}
std::map<std::string, Figures> figures;

void KeepBest(double& best, double value) { best = best == 0.0 || value < best ? value : best; }

double CpuSeconds(const rusage& usage)
{
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

double OwnCpu()
{
    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return CpuSeconds(usage);
}

// Named once, by this process's id; in QV_BENCH_DIR when set (a memory file system, say), else
// in the temporary folder.
fs::path WorkFolder()
{
    static const fs::path folder =
        (std::getenv("QV_BENCH_DIR") != nullptr ? fs::path(std::getenv("QV_BENCH_DIR"))
                                                : fs::temp_directory_path()) /
        ("qv-unpack-bench-" + std::to_string(getpid()));
    return folder;
}
fs::path PackagePath() { return WorkFolder() / "bench.qva"; }
fs::path TreePath() { return WorkFolder() / "tree"; }

// Text that deflates about as well as source code does.
std::string TextBytes(std::size_t size, unsigned seed)
{
    static const char* const words[] = {
        "applet", "window", "module", "return", "const", "QVString", "package", "render", "if",
        "for",    "{",      "}",      "(",      ")",     ";",        "\n",      "int",    "void"};
    std::string text;
    unsigned long state = seed;
    while (text.size() < size)
    {
        state = state * 1103515245ul + 12345ul;
        text += words[(state >> 16) % (sizeof words / sizeof *words)];
        text += ' ';
    }
    text.resize(size);
    return text;
}

std::string NoiseBytes(std::size_t size, unsigned seed)
{
    std::string bytes(size, '\0');
    unsigned long state = seed;
    for (char& c : bytes)
    {
        state = state * 1103515245ul + 12345ul;
        c = static_cast<char>((state >> 16) & 0xFF);
    }
    return bytes;
}

// 2,000 entries: 40 directories, then files whose sizes spread from 100 bytes to 150 kB and add
// up to 50 MB; a third stored (already compressed data such as images), the rest deflated, of
// which half text and half noise.
bool MakePackage()
{
    std::vector<ZipEntry> entries;
    for (int d = 0; d < kDirectories; ++d)
        entries.push_back(
            Directory("dir" + std::to_string(d / 8) + "/sub" + std::to_string(d) + "/"));
    const int files = kEntries - kDirectories;
    std::vector<std::size_t> sizes;
    std::uint64_t weights = 0;
    for (int i = 0; i < files; ++i)
    {
        const std::size_t weight =
            100 + static_cast<std::size_t>((i * 7919) % 1000) * ((i % 13) + 1);
        sizes.push_back(weight);
        weights += weight;
    }
    for (int i = 0; i < files; ++i)
    {
        const std::size_t size = static_cast<std::size_t>(sizes[i] * kTotalBytes / weights);
        const std::string name = "dir" + std::to_string((i % kDirectories) / 8) + "/sub" +
                                 std::to_string(i % kDirectories) + "/file" + std::to_string(i);
        ZipEntry entry;
        entry.name = name;
        entry.externalAttributes = 0100644ul << 16;
        if (i % 3 == 0)
        {
            entry.deflate = false;
            entry.data = NoiseBytes(size, static_cast<unsigned>(i) + 1);
        }
        else
        {
            entry.data = i % 3 == 1 ? TextBytes(size, static_cast<unsigned>(i))
                                    : NoiseBytes(size, static_cast<unsigned>(i) + 1);
        }
        if (i % 2 == 0)
        {
            entry.localExtra = ExtendedTimestamp(3, 1600000000 + i, 1600000000 + i);
            entry.centralExtra = ExtendedTimestamp(1, 1600000000 + i);
        }
        entries.push_back(entry);
    }
    return WriteZip(PackagePath().string(), entries);
}

void FreshTree()
{
    std::error_code error;
    fs::remove_all(TreePath(), error);
    fs::create_directories(TreePath());
}

// The package layer: its wall and processor time, or -1 when the package did not unpack whole.
double RunPackageLayer(double& cpu)
{
    const double cpuBefore = OwnCpu();
    const auto start = std::chrono::steady_clock::now();
    const QVUnpackReport report =
        QVPackageExtractor().Unpack(PackagePath().string().c_str(), TreePath().string().c_str());
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    cpu = OwnCpu() - cpuBefore;
    return report.entries == static_cast<unsigned long>(kEntries) && report.skipped == 0 ? seconds
                                                                                         : -1.0;
}

// unzip in a child process: its wall time and its own processor time, or -1 when it fails.
double RunUnzip(double& cpu)
{
    const std::string package = PackagePath().string();
    const std::string tree = TreePath().string();
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0)
    {
        execlp("unzip", "unzip", "-o", "-q", package.c_str(), "-d", tree.c_str(),
               static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage = {};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return -1.0;
    cpu = CpuSeconds(usage);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The two take turns, each into an empty folder, so that the state of the file system (which
// weighs more than either program: creating 2,000 files after removing 2,000) falls on both
// alike. Each iteration's time is that of the argument's program.
void BM_Unpack(benchmark::State& state)
{
    const bool ours = state.range(0) == 0;
    const char* row = ours ? "package layer" : "unzip -o -q";
    for (auto _ : state)
    {
        double seconds = 0.0;
        double cpu = 0.0;
        for (int turn = 0; turn < 2; ++turn)
        {
            FreshTree();
            const bool runOurs = (turn == 0) == ours;
            double turnCpu = 0.0;
            const double turnSeconds = runOurs ? RunPackageLayer(turnCpu) : RunUnzip(turnCpu);
            if (turnSeconds < 0.0)
            {
                state.SkipWithError(runOurs ? "the package did not unpack whole"
                                            : "unzip is missing or failed");
                return;
            }
            if (runOurs == ours)
            {
                seconds = turnSeconds;
                cpu = turnCpu;
            }
        }
        state.SetIterationTime(seconds);
        KeepBest(figures[row].bestSeconds, seconds);
        KeepBest(figures[row].bestCpu, cpu);
        figures[row].seconds.push_back(seconds);
    }
}

// Confining a stored name of n drive prefixes ("C:C:...d/"), the hostile name family that made
// the confinement quadratic. Goal: time linear in n (Google Benchmark fits the complexity).
void BM_ConfineDrivePrefixes(benchmark::State& state)
{
    std::string name;
    for (std::int64_t i = 0; i < state.range(0); ++i)
        name += "C:";
    name += "d/";
    for (auto _ : state)
        benchmark::DoNotOptimize(ConfineEntryName(name));
    state.SetComplexityN(state.range(0));
}
}  // namespace

BENCHMARK(BM_ConfineDrivePrefixes)
    ->RangeMultiplier(4)
    ->Range(1 << 9, 1 << 15)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);

BENCHMARK(BM_Unpack)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("unzip")
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(8);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    fs::create_directories(WorkFolder());
    if (!MakePackage())
    {
        std::fprintf(stderr, "could not write the package\n");
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    std::printf("\n%d entries, %.1f MB unpacked, package of %.1f MB, in %s; best wall and "
                "processor time, median wall time:\n",
                kEntries, static_cast<double>(kTotalBytes) / 1e6,
                static_cast<double>(fs::file_size(PackagePath())) / 1e6,
                WorkFolder().parent_path().string().c_str());
    std::printf("%-16s %8s %8s %10s\n", "", "wall s", "cpu s", "median s");
    for (const auto& [row, f] : figures)
        std::printf("%-16s %8.3f %8.3f %10.3f\n", row.c_str(), f.bestSeconds, f.bestCpu,
                    Median(f.seconds));
    std::printf("Goal: the package layer in at most unzip's time.\n");
    std::error_code error;
    fs::remove_all(WorkFolder(), error);
    return 0;
}

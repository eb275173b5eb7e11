// How long the module manager takes to scan: listing a directory of many files, and a whole
// LoadModules pass over the test modules (each library loaded, filtered out and freed again).
// Run from the output directory (bin/), where the test modules live in testmods/.
#include "core/containers/QVList.h"
#include "core/string/QVString.h"
#include "modules/QVModManager.h"
#include "modules/RunTimePath.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace
{

// A directory with `count` files, half of them "*.qvm"; removed when the benchmark ends.
class ScratchDirectory
{
public:
    explicit ScratchDirectory(int count)
        : path(std::filesystem::temp_directory_path() / ("qv-scan-bench-" + std::to_string(count)))
    {
        std::filesystem::create_directories(path);
        for (int i = 0; i < count; ++i)
        {
            const std::string name = "file" + std::to_string(i) + (i % 2 == 0 ? ".qvm" : ".txt");
            std::FILE* file = std::fopen((path / name).string().c_str(), "w");
            if (file != nullptr)
                std::fclose(file);
        }
    }
    ~ScratchDirectory() { std::filesystem::remove_all(path); }
    std::string Name() const { return path.string(); }

private:
    std::filesystem::path path;
};

void BM_FindFilesIn(benchmark::State& state)
{
    ScratchDirectory directory(static_cast<int>(state.range(0)));
    QVList<QVString> names;
    for (auto _ : state)
    {
        FindFilesIn(directory.Name().c_str(), names, "*.qvm");
        benchmark::DoNotOptimize(names.GetCount());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FindFilesIn)->Arg(16)->Arg(256)->Arg(4096);

void BM_LoadModulesFiltered(benchmark::State& state)
{
    QVString start;
    GetWorkingDirectory(start);
    if (!ChangeDirectory("testmods"))
    {
        state.SkipWithError("run from the output directory: testmods/ not found");
        return;
    }
    for (auto _ : state)
    {
        QVModManager manager;
        // No module has this type: every library is loaded, created, released and freed.
        benchmark::DoNotOptimize(manager.LoadModules("Benchmark Type", nullptr));
    }
    ChangeDirectory(start);
}
BENCHMARK(BM_LoadModulesFiltered)->Unit(benchmark::kMillisecond);

}  // namespace

// Loading large property files: the time of a load and the depth of the map afterwards.
//
// BM_LoadHashedKeys: 100,000 records with ordinary keys, whose hashes arrive in no order.
// BM_LoadSequentialHexKeys: hexadecimal keys in increasing order, which hash to increasing
//   values and would make the map one long chain while the file is read.
// BM_RebalanceMap: the rebuild of the map alone, by entry count (should grow linearly).
#include "loaders/QVProperties.h"
#include "loaders/detail/MapTree.h"
#include "loaders/props/QVPropLoader.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace
{
enum KeyKind
{
    HashedKeys,
    SequentialHexKeys
};

// Writes a property file of `records` records into the working directory and returns its name.
std::string WriteFile(KeyKind kind, int records)
{
    const std::string name = std::string("bench-props-") +
                             (kind == HashedKeys ? "hashed-" : "hex-") + std::to_string(records) +
                             ".cfg";
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    char line[96];
    for (int i = 1; i <= records; ++i)
    {
        const int n =
            kind == HashedKeys
                ? std::snprintf(line, sizeof line, "setting.%d = value number %d\r\n", i, i)
                : std::snprintf(line, sizeof line, "%X=value number %d\n", i, i);
        out.write(line, n);
    }
    return name;
}

void Load(benchmark::State& state, KeyKind kind)
{
    const int records = static_cast<int>(state.range(0));
    const std::string name = WriteFile(kind, records);
    QVPropLoader loader;
    QVProperties properties(0);
    for (auto _ : state)
    {
        state.PauseTiming();
        properties.Clear();
        state.ResumeTiming();
        if (!loader.Load(properties.GetModCollection(), name.c_str()))
        {
            state.SkipWithError("load failed");
            break;
        }
    }
    state.counters["entries"] = properties.GetCount();
    state.counters["depth"] = qv_map_tree::Depth(properties.GetMap());
    state.SetComplexityN(records);
    std::remove(name.c_str());
}

void BM_LoadHashedKeys(benchmark::State& state) { Load(state, HashedKeys); }

void BM_LoadSequentialHexKeys(benchmark::State& state) { Load(state, SequentialHexKeys); }

void BM_RebalanceMap(benchmark::State& state)
{
    const int records = static_cast<int>(state.range(0));
    const std::string name = WriteFile(HashedKeys, records);
    QVPropLoader loader;
    QVProperties properties(0);
    loader.Load(properties.GetModCollection(), name.c_str());
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(properties.RebalanceMap());
    }
    state.counters["depth"] = qv_map_tree::Depth(properties.GetMap());
    state.SetComplexityN(records);
    std::remove(name.c_str());
}
}  // namespace

BENCHMARK(BM_LoadHashedKeys)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();
BENCHMARK(BM_LoadSequentialHexKeys)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();
BENCHMARK(BM_RebalanceMap)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity();

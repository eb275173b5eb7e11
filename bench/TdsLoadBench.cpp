// Loading 3D Studio meshes: the time of a whole load (reading the file, walking its chunks,
// filling the mesh, computing normals) per load and per face, and the share of it that
// ComputeNormals takes.
//
// BM_LoadGenerated/N: a file of N vertices and N faces that the benchmark writes, N up to 65,535,
//   the most one list can hold; smaller N at a quarter and a sixteenth of it, to see that loading
//   grows linearly with the file.
// BM_LoadSample: the largest sample file made by another program (skipped when the sample folder,
//   QV_SAMPLE_DATA_DIR, is absent).
//
// The counters per face and the share of ComputeNormals are taken in processor time of the
// process, which other programs running on the machine do not inflate.
#include "bench/common/SheetModel.h"
#include "loaders/3ds/QV3dsLoader.h"
#include "scene/QVSGMesh.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>

namespace
{
double Seconds(std::clock_t ticks) { return static_cast<double>(ticks) / CLOCKS_PER_SEC; }

// Loads the file again and again; counters: faces, time per face, file size, and the share of a
// load's time that ComputeNormals alone takes on the loaded mesh.
void MeasureLoad(benchmark::State& state, const std::string& path)
{
    QV3dsLoader loader;
    QVSGMesh mesh;
    std::clock_t loading = 0;
    std::int64_t loads = 0;
    for (auto _ : state)
    {
        const std::clock_t start = std::clock();
        if (!loader.Load(&mesh.GetLoaders(), path.c_str()))
        {
            state.SkipWithError("load failed");
            return;
        }
        loading += std::clock() - start;
        ++loads;
    }
    // ComputeNormals on its own, as often, on the mesh as loaded.
    std::clock_t normals = 0;
    for (std::int64_t i = 0; i < loads; ++i)
    {
        for (int v = 0; v < mesh.GetVertexCount(); ++v)
        {
            mesh.GetVertex(v).SetNormal(0.0f, 0.0f, 0.0f);
        }
        const std::clock_t start = std::clock();
        mesh.ComputeNormals();
        normals += std::clock() - start;
    }
    const double faces = mesh.GetIndexCount() / 3.0;
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    const double bytes = static_cast<double>(file.tellg());
    state.counters["faces"] = faces;
    state.counters["file_kB"] = bytes / 1024.0;
    state.counters["us_per_face"] = 1e6 * Seconds(loading) / (static_cast<double>(loads) * faces);
    state.counters["normals_share"] = Seconds(normals) / Seconds(loading);
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * loads);
    state.SetComplexityN(static_cast<std::int64_t>(bytes));
}

void BM_LoadGenerated(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const std::string path = "bench-mesh-" + std::to_string(n) + ".3ds";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        const std::string bytes = SheetModelFile(n);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    MeasureLoad(state, path);
    std::remove(path.c_str());
}

void BM_LoadSample(benchmark::State& state)
{
    const char* chosen = std::getenv("QV_SAMPLE_DATA_DIR");
    const std::string path =
        std::string(chosen != nullptr && *chosen != '\0' ? chosen : QV_SAMPLE_DATA_DIR) +
        "/3ds/testFormatDetection";
    if (!std::ifstream(path).good())
    {
        state.SkipWithError("no sample files");
        return;
    }
    MeasureLoad(state, path);
}
}  // namespace

BENCHMARK(BM_LoadGenerated)
    ->Arg(65535 / 16)
    ->Arg(65535 / 4)
    ->Arg(65535)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_LoadSample)->Unit(benchmark::kMicrosecond);

// What building scene objects costs: every world and mesh gathers its loader modules when it is
// constructed, which makes the module manager scan the working and runtime directories and load,
// check and free every module library there. Programs build their scenes during static
// initialisation, so this is start-up time. Run it from anywhere: it changes to its own
// directory (bin/), where the system's modules are built.
#include "modules/QVModCollection.h"
#include "modules/QVModManager.h"
#include "scene/QVSGBox.h"
#include "scene/QVSGMesh.h"
#include "scene/QVSGSphere.h"
#include "scene/QVSGWorld.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <system_error>

namespace
{
// Number of module libraries a scan meets in the working directory.
double ModulesPresent()
{
    std::error_code error;
    double count = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::current_path(), error))
    {
        if (entry.path().extension() == ".qvm")
        {
            ++count;
        }
    }
    return count;
}

bool EnterOutputDirectory()
{
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
    {
        return false;
    }
    std::filesystem::current_path(self.parent_path(), error);
    return !error;
}

template <typename Build>
void MeasureScan(benchmark::State& state, Build build)
{
    if (!EnterOutputDirectory())
    {
        state.SkipWithError("cannot change to the benchmark's own directory");
        return;
    }
    for (auto _ : state)
    {
        build();
    }
    state.counters["modules"] = ModulesPresent();
}

void BM_MeshConstruction(benchmark::State& state)
{
    MeasureScan(state,
                []
                {
                    QVSGMesh mesh;
                    benchmark::DoNotOptimize(mesh.GetLoaders().GetCount());
                });
}
BENCHMARK(BM_MeshConstruction)->Unit(benchmark::kMillisecond);

void BM_WorldConstruction(benchmark::State& state)
{
    MeasureScan(state,
                []
                {
                    QVSGWorld world;
                    benchmark::DoNotOptimize(world.GetLoaders().GetCount());
                });
}
BENCHMARK(BM_WorldConstruction)->Unit(benchmark::kMillisecond);

// The scene of the ray tracer viewer: a world, a sphere and two boxes, built and meshed.
void BM_ViewerSceneConstruction(benchmark::State& state)
{
    MeasureScan(state,
                []
                {
                    QVSGWorld world;
                    QVSGSphere sphere(1.0, 10);
                    QVSGBox room(0x3F, 1);
                    QVSGBox block(0x3F, 0);
                    sphere.BuildSphere();
                    room.BuildBox();
                    block.BuildBox();
                    benchmark::DoNotOptimize(world.GetLoaders().GetCount());
                });
}
BENCHMARK(BM_ViewerSceneConstruction)->Unit(benchmark::kMillisecond);

// The collection alone, for comparison with the node constructions above.
void BM_CollectionQuery(benchmark::State& state)
{
    MeasureScan(state,
                []
                {
                    QVModCollection collection(0x4009, "Object Loader");
                    benchmark::DoNotOptimize(collection.GetCount());
                });
}
BENCHMARK(BM_CollectionQuery)->Unit(benchmark::kMillisecond);
}  // namespace

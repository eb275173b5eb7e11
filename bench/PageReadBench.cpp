// Reading hostile pages with the player's page reader, by size (each should grow linearly):
//
// BM_AttributesPerTag: one <div> with N distinct attributes, each name then given again in
//   another case (N = 40,000 took half a minute while each name was compared with all before it).
// BM_ParametersPerObject: an applet object with N <param> elements, each name then given again.
// BM_Ampersands: an attribute value of N '&' without a ';'.
#include "apps/qvaplayer/PageReader.h"

#include <benchmark/benchmark.h>

#include <string>

namespace
{
std::string AttributesPage(int count)
{
    std::string page = "<div", again;
    for (int i = 0; i < count; ++i)
    {
        page += " a" + std::to_string(i) + "=1";
        again += " A" + std::to_string(i) + "=2";
    }
    return page + again + "><embed src=a.qva>";
}

std::string ParametersPage(int count)
{
    std::string page = "<object data=a.qva>", again;
    for (int i = 0; i < count; ++i)
    {
        page += "<param name=p" + std::to_string(i) + " value=1>";
        again += "<param name=P" + std::to_string(i) + " value=2>";
    }
    return page + again + "</object>";
}

std::string AmpersandsPage(int count)
{
    return "<embed src=a.qva title=\"" + std::string(static_cast<std::size_t>(count), '&') + "\">";
}

template <std::string (*MakePage)(int)>
void Read(benchmark::State& state)
{
    const std::string page = MakePage(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadAppletElements(page));
    state.SetBytesProcessed(static_cast<long long>(state.iterations()) *
                            static_cast<long long>(page.size()));
    state.SetComplexityN(state.range(0));
}
}  // namespace

BENCHMARK_TEMPLATE(Read, AttributesPage)
    ->Name("BM_AttributesPerTag")
    ->RangeMultiplier(4)
    ->Range(2500, 160000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();
BENCHMARK_TEMPLATE(Read, ParametersPage)
    ->Name("BM_ParametersPerObject")
    ->RangeMultiplier(4)
    ->Range(2500, 160000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();
BENCHMARK_TEMPLATE(Read, AmpersandsPage)
    ->Name("BM_Ampersands")
    ->RangeMultiplier(4)
    ->Range(62500, 4000000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

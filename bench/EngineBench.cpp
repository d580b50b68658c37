// Time of one whole computation for a one-point and a ten-point structure.

#include "ProjectModel.h"
#include "WindResponse.h"

#include <benchmark/benchmark.h>

namespace {

tamsor::ProjectModel towerModel(int points) {
    tamsor::ProjectModel m;
    m.nFreedom = static_cast<std::int16_t>(points);
    m.terrainType = 3;
    for (tamsor::List* list : {&m.zCoord, &m.windArea, &m.shapeCoef, &m.mass, &m.modeShape})
        list->assign(static_cast<std::size_t>(points), 0.0);
    for (int i = 0; i < points; ++i) {
        const double share = static_cast<double>(i + 1) / points;
        m.zCoord[i] = 12.0 * (i + 1);
        m.windArea[i] = 36.0;
        m.shapeCoef[i] = 1.3;
        m.mass[i] = 80.0;
        m.modeShape[i] = share * share;
    }
    m.freq = {0.6};
    m.dampRatio = {0.04};
    m.structWidth = 30.0;
    m.w0 = 550.0;
    return m;
}

void computeWindResponseBench(benchmark::State& state) {
    tamsor::ProjectModel m = towerModel(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto fault = tamsor::computeWindResponse(m);
        benchmark::DoNotOptimize(fault);
        benchmark::DoNotOptimize(m.corrC);
    }
    if (!m.resultsComplete)
        state.SkipWithError("computation faulted");
}

} // namespace

BENCHMARK(computeWindResponseBench)->Arg(1)->Arg(10)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();

// Time of one whole computation for a one-point and a ten-point structure:
// the computation alone, and the immutable results with what is read off
// them.

#include "ParsedInput.h"
#include "Results.h"
#include "WindResponse.h"

#include <benchmark/benchmark.h>

#include <variant>

namespace {

tamsor::ParsedInput towerNumbers(int points) {
    tamsor::ParsedInput in;
    in.nFreedom = points;
    in.terrainType = 3;
    for (int i = 0; i < points; ++i) {
        const double share = static_cast<double>(i + 1) / points;
        in.zCoord.push_back(12.0 * (i + 1));
        in.windArea.push_back(36.0);
        in.shapeCoef.push_back(1.3);
        in.mass.push_back(80.0);
        in.modeShapes[0].push_back(share * share);
    }
    in.freq = {0.6};
    in.dampRatio = {0.04};
    in.structWidth = 30.0;
    in.w0 = 550.0;
    return in;
}

void computeWindResponseBench(benchmark::State& state) {
    const tamsor::ParsedInput in = towerNumbers(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto raw = tamsor::computeWindResponse(in, tamsor::Edition::GB201X);
        benchmark::DoNotOptimize(raw);
        if (!std::holds_alternative<tamsor::RawResults>(raw))
            state.SkipWithError("computation faulted");
    }
}

void computeResultsBench(benchmark::State& state) {
    const tamsor::ParsedInput in = towerNumbers(static_cast<int>(state.range(0)));
    const tamsor::ProjectInput input;
    for (auto _ : state) {
        auto results = tamsor::compute(input, in, tamsor::Edition::GB201X);
        benchmark::DoNotOptimize(results);
        if (!std::holds_alternative<tamsor::ResultsPtr>(results))
            state.SkipWithError("computation faulted");
    }
}

} // namespace

BENCHMARK(computeWindResponseBench)->Arg(1)->Arg(10)->Unit(benchmark::kMicrosecond);
BENCHMARK(computeResultsBench)->Arg(1)->Arg(10)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();

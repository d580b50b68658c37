// The batch command's whole path for many projects: reading each project
// file, the input sweep and gate, the computation, the checks and the
// output form, as runBatch does it for `tamsor-batch --format F PROJECT...`
// with its default threads. Reported as processor time per project, summed
// over every thread of the process ("per_project"; "CPU" is the same for
// the whole run of 1,000 projects).
//
//   build/bench/tamsor_bench_batch --benchmark_min_time=2

#include "Batch.h"

#include <QStringList>

#include <benchmark/benchmark.h>

#include <ostream>
#include <sstream>
#include <streambuf>

namespace {

constexpr int kProjects = 1000;

// Takes everything and keeps nothing, like a fast terminal or /dev/null.
class Discard : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

void batch(benchmark::State& state, const char* format, const char* project) {
    QStringList args{QStringLiteral("tamsor-batch"), QStringLiteral("--format"),
                     QString::fromLatin1(format)};
    for (int i = 0; i < kProjects; ++i)
        args << QString::fromUtf8(project);
    Discard discard;
    std::ostream out(&discard);
    for (auto _ : state) {
        std::ostringstream err;
        const int status = tamsor::runBatch(args, out, err);
        if (status != 0)
            state.SkipWithError("tamsor-batch did not compute every project");
    }
    state.SetItemsProcessed(state.iterations() * kProjects);
    // Processor seconds per project (printed as e.g. "21u" for 21 µs).
    state.counters["per_project"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kProjects,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// A 10-point tower: the examples' largest project.
constexpr const char* kTower = TAMSOR_EXAMPLES_DIR "/steel_tower.wvd";
// A 10-point building whose file's tail gives its structure type and the
// 10-year pressure, so that the checks beside the along-wind results run.
constexpr const char* kBuilding = TAMSOR_FILES_DIR "/code_formula_building.wvd";

void BM_BatchJson(benchmark::State& state) {
    batch(state, "json", kTower);
}
void BM_BatchText(benchmark::State& state) {
    batch(state, "text", kTower);
}
void BM_BatchCsv(benchmark::State& state) {
    batch(state, "csv", kTower);
}
void BM_BatchJsonBuilding(benchmark::State& state) {
    batch(state, "json", kBuilding);
}

} // namespace

BENCHMARK(BM_BatchJson)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BatchText)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BatchCsv)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BatchJsonBuilding)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

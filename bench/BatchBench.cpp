// The batch command's whole path for many projects: reading each project
// file, the input sweep and gate, the computation and the output form, as
// runBatch does it for `tamsor-batch --format F PROJECT...`. Reported per
// project (wall time, every core the machine has).
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

void batch(benchmark::State& state, const char* format) {
    QStringList args{QStringLiteral("tamsor-batch"), QStringLiteral("--format"),
                     QString::fromLatin1(format)};
    for (int i = 0; i < kProjects; ++i)
        args << QStringLiteral(TAMSOR_EXAMPLES_DIR "/steel_tower.wvd");
    Discard discard;
    std::ostream out(&discard);
    for (auto _ : state) {
        std::ostringstream err;
        const int status = tamsor::runBatch(args, out, err);
        if (status != 0)
            state.SkipWithError("tamsor-batch did not compute every project");
    }
    state.SetItemsProcessed(state.iterations() * kProjects);
    // Seconds per project (printed as e.g. "37u" for 37 microseconds).
    state.counters["per_project"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kProjects,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_BatchJson(benchmark::State& state) {
    batch(state, "json");
}
void BM_BatchText(benchmark::State& state) {
    batch(state, "text");
}
void BM_BatchCsv(benchmark::State& state) {
    batch(state, "csv");
}

} // namespace

BENCHMARK(BM_BatchJson)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BatchText)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BatchCsv)->UseRealTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

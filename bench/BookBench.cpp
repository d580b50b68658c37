// The calculation book of a ten-point project (examples/steel_tower.wvd):
// laying out the report's description with the title block and the six plots, and
// painting every page into an A4 PDF in memory, with its text maps put
// right, as `tamsor-batch --pdf` and the results menu make it. Writing the
// bytes to disk is not included.
//
//   build/bench/tamsor_bench_book --benchmark_min_time=2

#include "Batch.h"
#include "CalculationBook.h"
#include "ProjectSession.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

namespace {

void BM_CalculationBookPdf(benchmark::State& state) {
    tamsor::MessageRecorder messages;
    tamsor::ProjectSession session(messages);
    if (tamsor::runProject(session, QStringLiteral(TAMSOR_EXAMPLES_DIR "/steel_tower.wvd"), 0) !=
        tamsor::kBatchOk) {
        state.SkipWithError("the example did not compute");
        return;
    }
    const tamsor::TitleBlock block{QStringLiteral("江边电视塔"), QStringLiteral("张工"),
                                   QStringLiteral("李工"), QStringLiteral("2026-03-01")};
    qsizetype bytes = 0;
    for (auto _ : state) {
        const QByteArray pdf = tamsor::calculationBookPdf(*session.results(), block);
        if (pdf.isEmpty())
            state.SkipWithError("no PDF was made");
        bytes = pdf.size();
        benchmark::DoNotOptimize(pdf.data());
    }
    state.counters["pdf_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_CalculationBookPdf)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // Fonts need a QGuiApplication; the offscreen platform needs no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// Timings of printing: the four documents of a ten-door order written as a PDF, as "Сохранить в
// PDF" and tavrolab-cli --pdf do it. Run from a Release build: build-rel/bench/bench_print.

#include "ui/PrintTestSupport.h"

#include "ui/printing/DocumentPrinter.h"
#include "ui/printing/PrintedDocument.h"

#include <benchmark/benchmark.h>

namespace {

// Ten doors, 30 inserts with 30 pictures of their own, the price table over two pages; the
// shipped logo and conditions. The picture caches are emptied by every job, as in the program.
void BM_FourDocumentsOfATenDoorOrderAsPdf(benchmark::State& state) {
    printtest::PrintWorld world;
    world.buildTenDoorOrder();
    world.useShippedConfig();
    DocumentPrinter printer(*world.project);
    qint64 bytes = 0;
    for (auto _ : state) {
        const QByteArray pdf = printer.pdf(PrintedDocument::everything());
        bytes = pdf.size();
        benchmark::DoNotOptimize(pdf.constData());
    }
    state.counters["pdf_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_FourDocumentsOfATenDoorOrderAsPdf)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

// Timing of the production pack of a ten-door order (printed documents, filling cut sheet, ten
// assembly sheets, label sheets) as tavrolab-cli --pack and "Производство" write it. Run from a
// Release build: build-rel/bench/bench_pack.

#include "ui/PrintTestSupport.h"

#include "output/ProductionLabel.h"
#include "ui/printing/ProductionPack.h"

#include <benchmark/benchmark.h>

namespace {

void BM_ProductionPackOfATenDoorOrder(benchmark::State& state) {
    printtest::PrintWorld world;
    world.buildTenDoorOrder();
    world.useShippedConfig();
    ProductionPack pack(*world.project);
    qint64 bytes = 0;
    for (auto _ : state) {
        const QByteArray pdf = pack.pdf();
        bytes = pdf.size();
        benchmark::DoNotOptimize(pdf.constData());
    }
    state.counters["pdf_bytes"] = static_cast<double>(bytes);
    state.counters["labels"] = static_cast<double>(ProductionLabel::listFor(*world.project).size());
}
BENCHMARK(BM_ProductionPackOfATenDoorOrder)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

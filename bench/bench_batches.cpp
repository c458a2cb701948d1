// What cutting orders together saves, on a realistic month of a shop's orders (60 orders, fixed
// seed): the new bars per article and the new sheet area bought when (a) each order is cut
// alone, (b) one batch is cut a week, (c) the weekly batches also use the offcut store, whose
// offcuts come from the batches before. Also the offcuts the store holds at the end and the time
// of each batch plan.
//
// bench_batches [SEED] [DATA_FOLDER]

#include "BenchPercentile.h"
#include "MonthOfOrders.h"

#include "calc/SystemFactory.h"
#include "catalog/Catalog.h"
#include "journal/BatchOffcuts.h"
#include "journal/Journal.h"
#include "journal/OrderPlacing.h"
#include "model/OrderNumberFile.h"
#include "model/Project.h"
#include "plan/BatchPlan.h"
#include "plan/OffcutStock.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>

namespace {

constexpr int kWeeks = 4;
constexpr double kMsPerPlan = 1000.0;

struct Bought {
    std::map<std::string, int> bars; // per article
    int64_t sheetArea = 0;           // 0.01 mm²
    int totalBars() const {
        int n = 0;
        for (const auto& [code, count] : bars)
            n += count;
        return n;
    }
};

void addPlan(Bought& b, const BatchPlan& p) {
    for (const ArticleCut& a : p.cuts.articles)
        b.bars[a.code] += a.plan.newBars;
    b.sheetArea += p.newSheetArea();
}

} // namespace

int main(int argc, char** argv) {
    const unsigned seed = argc > 1 ? static_cast<unsigned>(std::atoi(argv[1])) : 2026u;
    const std::string data = argc > 2 ? argv[2] : Catalog::executableFolder() + "/../bin";
    Catalog catalog(data, makeAllSystems);
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("tavrolab-bench-batches-" + std::to_string(seed));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "config");
    JournalAddress address;
    address.backend = JournalAddress::Backend::Sqlite;
    address.file = dir / "journal.sqlite";
    Journal journal(address);
    OffcutStore store = journal.offcuts();

    // The month's orders, placed as the salespeople would, with their own plans.
    std::mt19937 random(seed);
    std::vector<BatchOrder> orders;
    for (int i = 0; i < monthoforders::kOrders; ++i) {
        Project project(catalog);
        monthoforders::makeOrder(project, random);
        BatchOrder o;
        o.number = orderplacing::place(journal, project, OrderNumberFile(dir, {}), "Продавец");
        o.colour = project.color != nullptr ? project.color->code : std::string();
        o.plan = CuttingPlan::build(project, PlanSettings(), OffcutStock{});
        orders.push_back(std::move(o));
    }

    Bought alone, weekly, withStore;
    std::vector<double> weeklyMs, storeMs;
    // Alone: each order's own plan as its pages show it, not planned again.
    for (const BatchOrder& o : orders) {
        for (const ArticleCut& a : o.plan.articles)
            alone.bars[a.code] += a.plan.newBars;
        for (const MaterialCut& m : o.plan.materials)
            alone.sheetArea +=
                static_cast<int64_t>(m.plan.sheets.size()) * m.sheetWidth * m.sheetHeight;
    }
    bool overspent = false;
    const size_t perWeek = orders.size() / kWeeks;
    for (int w = 0; w < kWeeks; ++w) {
        const auto first = orders.begin() + static_cast<long>(w * perWeek);
        const auto last = w + 1 == kWeeks ? orders.end() : first + static_cast<long>(perWeek);
        const std::vector<BatchOrder> week(first, last);
        using Clock = std::chrono::steady_clock;
        auto t0 = Clock::now();
        const BatchPlan together = BatchPlan::build(week, {}, PlanSettings(), kMsPerPlan);
        weeklyMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        addPlan(weekly, together);
        overspent = overspent || together.newBars() > together.ownBars ||
                    together.newSheetArea() > together.ownSheetArea;

        t0 = Clock::now();
        const BatchPlan stored =
            BatchPlan::build(week, batchoffcuts::onStock(store), PlanSettings(), kMsPerPlan);
        storeMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        addPlan(withStore, stored);
        BatchStart start;
        for (const BatchOrder& o : week)
            start.orders.push_back(o.number);
        start.planJson = "{}";
        start.usedOffcuts = stored.usedOffcuts;
        for (const KeptOffcut& k : stored.kept)
            start.kept.push_back(batchoffcuts::recordOf(k));
        journal.batches().start(start, "Мастер");
    }

    std::printf("seed %u: %zu orders, %d weekly batches, %.0f ms per article or material\n", seed,
                orders.size(), kWeeks, kMsPerPlan);
    std::printf("| article | (a) alone | (b) weekly | (c) weekly + store |\n|---|---|---|---|\n");
    for (const auto& [code, n] : alone.bars)
        std::printf("| %s | %d | %d | %d |\n", code.c_str(), n, weekly.bars[code],
                    withStore.bars[code]);
    std::printf("| all bars | %d | %d | %d |\n", alone.totalBars(), weekly.totalBars(),
                withStore.totalBars());
    std::printf("| sheets, m² | %.2f | %.2f | %.2f |\n", static_cast<double>(alone.sheetArea) / 1e8,
                static_cast<double>(weekly.sheetArea) / 1e8,
                static_cast<double>(withStore.sheetArea) / 1e8);
    OffcutFilter kept;
    kept.state = std::string(offcutstate::kOnStock);
    const OffcutTotals t = journal.offcuts().totals(kept);
    int64_t bars = 0, sheets = 0, metres = 0, area = 0;
    for (const OffcutTotals::Line& l : t.bars)
        bars += l.count, metres += l.amount;
    for (const OffcutTotals::Line& l : t.sheets)
        sheets += l.count, area += l.amount;
    std::printf("store at the end: %lld bar offcuts (%.1f m), %lld sheet offcuts (%.2f m²)\n",
                static_cast<long long>(bars), static_cast<double>(metres) / 10000.0,
                static_cast<long long>(sheets), static_cast<double>(area) / 1e8);
    std::printf("batch plan ms: weekly median %.0f, worst %.0f; with the store median %.0f, "
                "worst %.0f\n",
                percentile(weeklyMs, 0.5), percentile(weeklyMs, 1.0), percentile(storeMs, 0.5),
                percentile(storeMs, 1.0));
    if (overspent)
        std::printf("A BATCH BOUGHT MORE THAN ITS ORDERS ALONE\n");
    std::filesystem::remove_all(dir);
    return overspent ? 1 : 0;
}

// Cutting plans on 100 random orders over all nine systems (1 to 10 doors, splitters, fillings)
// with the shipped data folder: bars of the bill's rule, first fit decreasing, the plan and the
// lower bound; sheets of first fit, the plan and the bound; median and worst times.
//   bench_cutting_plans [DATA_FOLDER] [ORDERS]
#include "BenchPercentile.h"
#include "support/RandomOrder.h"

#include "calc/CalcResult.h"
#include "calc/SystemFactory.h"
#include "catalog/Article.h"
#include "catalog/Catalog.h"
#include "model/Project.h"
#include "plan/CuttingPlan.h"
#include "plan/OffcutStock.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

struct Totals {
    int64_t bars[4] = {0, 0, 0, 0}; // bill, first fit decreasing, plan, bound
    int64_t cost[4] = {0, 0, 0, 0}; // kopecks, same order
    int64_t sheets[3] = {0, 0, 0};  // first fit, plan, bound
    int articles = 0, proven = 0, materials = 0, withinOne = 0, atBound = 0, overBill = 0;
    std::vector<double> articleMs, materialMs, orderMs;
};

void run(Catalog& catalog, int orders, const PlanSettings& settings, Totals& t) {
    using Clock = std::chrono::steady_clock;
    for (int seed = 0; seed < orders; ++seed) {
        Project project(catalog);
        makeRandomOrder(project, static_cast<uint32_t>(seed));
        const Clock::time_point start = Clock::now();
        const CuttingPlan plan = CuttingPlan::build(project, settings, OffcutStock());
        t.orderMs.push_back(
            std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        // The bill's own stock length per article, for first fit decreasing.
        std::map<std::string, const Article*> articles;
        for (const BarGroup& g : project.result.barGroups)
            articles[g.article->code] = g.article;
        BarPlanner::Options o;
        o.kerf = settings.kerf;
        o.trim = settings.trim;
        for (const ArticleCut& a : plan.articles) {
            const Article& article = *articles[a.code];
            const int32_t length = article.stockLength();
            const BarStock stock{length, static_cast<int32_t>(a.pricePerMetre * (length / 10000.0)),
                                 -1, false};
            const BarPlan ffd = BarPlanner::firstFitDecreasing(a.pieces, stock, o);
            t.bars[0] += a.billBars;
            t.bars[1] += ffd.newBars;
            t.bars[2] += a.plan.newBars;
            t.bars[3] += a.plan.lowerBound;
            t.cost[0] += a.billCost;
            t.cost[1] += ffd.cost;
            t.cost[2] += a.plan.cost;
            t.cost[3] += a.plan.costLowerBound;
            ++t.articles;
            t.proven += a.plan.proven ? 1 : 0;
            t.overBill += !a.billError && a.plan.newBars > a.billBars ? 1 : 0;
            t.articleMs.push_back(a.plan.millis);
        }
        for (const MaterialCut& m : plan.materials) {
            if (m.sheetWidth == 0 || m.sheetHeight == 0)
                continue;
            const int sheets = static_cast<int>(m.plan.sheets.size());
            t.sheets[0] += static_cast<int64_t>(m.firstFit.sheets.size());
            t.sheets[1] += sheets;
            t.sheets[2] += m.plan.lowerBound;
            ++t.materials;
            t.withinOne += sheets <= m.plan.lowerBound + 1 ? 1 : 0;
            t.atBound += sheets == m.plan.lowerBound ? 1 : 0;
            t.materialMs.push_back(m.plan.millis);
        }
    }
}

void print(const char* title, const Totals& t) {
    std::printf("\n%s\n", title);
    std::printf("| bars | bill rule | first fit decr. | plan | lower bound |\n");
    std::printf("|---|---|---|---|---|\n");
    std::printf("| count | %lld | %lld | %lld | %lld |\n", static_cast<long long>(t.bars[0]),
                static_cast<long long>(t.bars[1]), static_cast<long long>(t.bars[2]),
                static_cast<long long>(t.bars[3]));
    std::printf("| cost, руб. | %.2f | %.2f | %.2f | %.2f |\n", t.cost[0] / 100.0,
                t.cost[1] / 100.0, t.cost[2] / 100.0, t.cost[3] / 100.0);
    std::printf("article plans: %d, proven optimal: %d, more bars than the bill: %d\n", t.articles,
                t.proven, t.overBill);
    std::printf("plan time per article, ms: median %.3f, 95%% %.3f, worst %.3f\n",
                percentile(t.articleMs, 0.5), percentile(t.articleMs, 0.95),
                percentile(t.articleMs, 1.0));
    std::printf("| sheets | first fit | plan | lower bound |\n|---|---|---|---|\n");
    std::printf("| count | %lld | %lld | %lld |\n", static_cast<long long>(t.sheets[0]),
                static_cast<long long>(t.sheets[1]), static_cast<long long>(t.sheets[2]));
    std::printf("material plans: %d, at the bound: %d, within one sheet: %d\n", t.materials,
                t.atBound, t.withinOne);
    std::printf("plan time per material, ms: median %.3f, 95%% %.3f, worst %.3f\n",
                percentile(t.materialMs, 0.5), percentile(t.materialMs, 0.95),
                percentile(t.materialMs, 1.0));
    std::printf("whole order (all articles and materials), ms: median %.3f, worst %.3f\n",
                percentile(t.orderMs, 0.5), percentile(t.orderMs, 1.0));
}

} // namespace

int main(int argc, char** argv) {
    const std::string data = argc > 1 ? argv[1] : Catalog::executableFolder() + "/../bin";
    const int orders = argc > 2 ? std::max(1, std::atoi(argv[2])) : 100;
    Catalog catalog(data, makeAllSystems);
    std::printf("orders: %d, systems: %zu, material groups: %zu\n", orders,
                catalog.systems().size(), catalog.materialGroups().size());
    Totals standard, exact;
    run(catalog, orders, PlanSettings(), standard);
    PlanSettings noCuts;
    noCuts.kerf = 0;
    noCuts.trim = 0;
    run(catalog, orders, noCuts, exact);
    print("kerf 4 mm, trim 10 mm (bill rule: no kerf, no trim)", standard);
    print("kerf 0, trim 0", exact);
    return 0;
}

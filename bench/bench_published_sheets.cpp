// The sheet planner on published two-dimensional bin-packing instances (equal sheets, pieces
// may be turned, no kerf): per class, the instances at or below the best-known count of 3-stage
// guillotine packing, those at the best-known count without the guillotine restriction, those
// proven at their lower bound, the extra sheets over the best-known, the median and slowest time.
//   bench_published_sheets SHEETS.json [MILLISECONDS_PER_INSTANCE] [NAME_FILTER]
#include "BenchPercentile.h"
#include "plan/SheetPlanner.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

struct ClassTotals {
    int instances = 0, atBest3 = 0, atBestAny = 0, proven = 0;
    int extra = 0, fewer = 0;
    std::vector<double> ms;
};

void print(const char* name, const ClassTotals& t) {
    std::printf("%-10s %5d %8d %8d %7d %6d %6d %9.1f %9.1f\n", name, t.instances, t.atBest3,
                t.atBestAny, t.proven, t.extra, t.fewer, percentile(t.ms, 0.5),
                percentile(t.ms, 1.0));
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s SHEETS.json [MS] [FILTER]\n", argv[0]);
        return 64;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 2;
    }
    const double limitMs = argc > 2 ? std::atof(argv[2]) : 1000.0;
    const std::string filter = argc > 3 ? argv[3] : "";
    const nlohmann::json all = nlohmann::json::parse(in);
    std::map<int, ClassTotals> classes;
    ClassTotals total;
    for (const auto& [name, inst] : all.items()) {
        if (!filter.empty() && name.find(filter) == std::string::npos)
            continue;
        const int32_t W = inst["sheet"][0], H = inst["sheet"][1];
        std::vector<SheetPlanPiece> pieces;
        for (const auto& item : inst["items"])
            pieces.push_back({item[0].get<int32_t>(), item[1].get<int32_t>(), -1, 0, true});
        const SheetPlan plan = SheetPlanner::plan(pieces, W, H, 0, limitMs);
        const int sheets = static_cast<int>(plan.sheets.size());
        const int best3 = inst["best3StageGuillotine"], bestAny = inst["bestAny"];
        for (ClassTotals* t : {&classes[inst["class"].get<int>()], &total}) {
            ++t->instances;
            t->atBest3 += sheets <= best3 ? 1 : 0;
            t->atBestAny += sheets <= bestAny ? 1 : 0;
            t->proven += sheets == plan.lowerBound ? 1 : 0;
            t->extra += std::max(0, sheets - best3);
            t->fewer += std::max(0, best3 - sheets);
            t->ms.push_back(plan.millis);
        }
        if (!plan.unplaced.empty() || sheets > best3)
            std::printf("  %s: %d sheets, best known %d (any %d), bound %d\n", name.c_str(), sheets,
                        best3, bestAny, plan.lowerBound);
    }
    std::printf("%-10s %5s %8s %8s %7s %6s %6s %9s %9s\n", "class", "inst", "<=best3", "<=any",
                "proven", "extra", "fewer", "median ms", "max ms");
    for (const auto& [c, t] : classes)
        print(("class " + std::to_string(c)).c_str(), t);
    print("all", total);
    return 0;
}

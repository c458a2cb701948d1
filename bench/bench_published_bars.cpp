// Bar plans on published one-dimensional bin-packing instances: how many reach the known
// optimum, how many are proven, and how long they take. Reads a JSON file of
// { "NAME": { "set": ..., "capacity": C, "items": [...], "optimum": K } } (lengths in 0.1 mm,
// no kerf or trim, one stock length C at one kopeck a bar).
//
// bench_published_bars FILE [time limit per instance, ms] [name filter]

#include "BenchPercentile.h"
#include "plan/BarPlanner.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

struct SetTotals {
    int instances = 0;
    int atOptimum = 0;
    int proven = 0;
    int64_t extraBars = 0;
    std::vector<double> ms;
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE [time limit ms] [name filter]\n", argv[0]);
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    const double limit = argc > 2 ? std::atof(argv[2]) : 1000.0;
    const std::string filter = argc > 3 ? argv[3] : "";
    const nlohmann::json all = nlohmann::json::parse(in);

    std::map<std::string, SetTotals> sets;
    for (const auto& [name, instance] : all.items()) {
        if (!filter.empty() && name.find(filter) == std::string::npos)
            continue;
        std::vector<BarPlanPiece> pieces;
        for (const auto& length : instance.at("items"))
            pieces.push_back({length.get<int32_t>(), 0, static_cast<int32_t>(pieces.size())});
        const BarStock stock{instance.at("capacity").get<int32_t>(), 1, -1, false};
        BarPlanner::Options options;
        options.timeLimitMs = limit;
        const BarPlan plan = BarPlanner::plan(pieces, {stock}, options);
        const int optimum = instance.at("optimum").get<int>();
        SetTotals& t = sets[instance.at("set").get<std::string>()];
        ++t.instances;
        t.atOptimum += plan.newBars == optimum && plan.unplaced.empty() ? 1 : 0;
        t.proven += plan.proven ? 1 : 0;
        t.extraBars += plan.newBars - optimum;
        t.ms.push_back(plan.millis);
        if (plan.newBars > optimum || !plan.proven)
            std::fprintf(stderr, "%s: %d bars, bound %d, known optimum %d, %.1f ms\n", name.c_str(),
                         plan.newBars, plan.lowerBound, optimum, plan.millis);
        if (plan.newBars < optimum || plan.lowerBound > optimum || !plan.unplaced.empty())
            std::printf("%s: %d bars, bound %d, known optimum %d: wrong\n", name.c_str(),
                        plan.newBars, plan.lowerBound, optimum);
    }
    std::printf("time limit %.0f ms per instance\n", limit);
    std::printf("| set | instances | at optimum | proven | extra bars | median ms | slowest ms |\n"
                "|---|---|---|---|---|---|---|\n");
    for (const auto& [set, t] : sets)
        std::printf("| %s | %d | %d | %d | %lld | %.1f | %.1f |\n", set.c_str(), t.instances,
                    t.atOptimum, t.proven, static_cast<long long>(t.extraBars),
                    percentile(t.ms, 0.5), percentile(t.ms, 1.0));
    return 0;
}

#include "plan/PatternDive.h"

#include <algorithm>
#include <cmath>

namespace {

// Cuts one bar to the pattern, without the pieces no longer needed. False when it cuts nothing
// or its kind has run out.
bool take(const PatternLp::Pattern& p, std::vector<int>& demand, std::vector<int>& available,
          std::vector<PatternLp::Pattern>& bars) {
    const auto s = static_cast<size_t>(p.stock);
    if (available[s] == 0)
        return false;
    PatternLp::Pattern bar{p.stock, std::vector<int>(demand.size(), 0)};
    bool any = false;
    for (size_t i = 0; i < demand.size(); ++i) {
        bar.counts[i] = std::min(p.counts[i], demand[i]);
        any = any || bar.counts[i] > 0;
    }
    if (!any)
        return false;
    for (size_t i = 0; i < demand.size(); ++i)
        demand[i] -= bar.counts[i];
    if (available[s] > 0)
        --available[s];
    bars.push_back(std::move(bar));
    return true;
}

} // namespace

std::vector<PatternLp::Pattern> PatternDive::run(PatternLp& lp, Step step, std::vector<int>& demand,
                                                 std::vector<int>& available, double incumbent,
                                                 PatternLp::Clock::time_point deadline,
                                                 const std::atomic<bool>* stop) {
    std::vector<PatternLp::Pattern> bars;
    while (std::any_of(demand.begin(), demand.end(), [](int d) { return d > 0; })) {
        if (PatternLp::Clock::now() > deadline || (stop != nullptr && stop->load()))
            break;
        const PatternLp::Result r = lp.solve(demand, available, incumbent, deadline, stop);
        if (!r.solved)
            break;
        // Copies, as the pattern list grows while bars are taken.
        const std::vector<PatternLp::Pattern> patterns = lp.patterns();
        bool fixed = false;
        if (step == Step::OneBar) {
            // The largest count, and of equal counts the fullest bar.
            size_t chosen = patterns.size();
            int64_t chosenFill = 0;
            for (size_t p = 0; p < r.x.size(); ++p) {
                if (r.x[p] <= 1e-6)
                    continue;
                const int64_t fill = lp.fill(patterns[p]);
                if (chosen == patterns.size() || r.x[p] > r.x[chosen] + 1e-6 ||
                    (r.x[p] > r.x[chosen] - 1e-6 && fill > chosenFill)) {
                    chosen = p;
                    chosenFill = fill;
                }
            }
            if (chosen == patterns.size() || !take(patterns[chosen], demand, available, bars))
                break;
            continue;
        }
        size_t largest = patterns.size();
        double largestFraction = 1e-6;
        for (size_t p = 0; p < r.x.size(); ++p) {
            const double whole = std::floor(r.x[p] + 1e-6);
            for (int c = 0; c < static_cast<int>(whole); ++c)
                fixed = take(patterns[p], demand, available, bars) || fixed;
            const double fraction = r.x[p] - whole;
            if (fraction > largestFraction) {
                largestFraction = fraction;
                largest = p;
            }
        }
        if (!fixed &&
            (largest == patterns.size() || !take(patterns[largest], demand, available, bars)))
            break;
    }
    return bars;
}

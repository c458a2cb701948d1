// The linear programmes under the bar plans: the CLP solver's optimum and duals, the knapsack
// that prices new patterns against brute force, the pattern relaxation on hand-worked cases and
// against every pattern at once, and the dives that backtrack through it.

#include "plan/PatternLp.h"
#include "plan/BoundedKnapsack.h"
#include "plan/LpSolver.h"
#include "plan/PatternBacktrack.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>
#include <random>

namespace {

TEST(PatternLp, SolverFindsTheVertexAndItsDualsAndResolvesAfterABoundChanges) {
    // min x + y with x + 2y >= b, 3x + y >= 6: both rows bind, duals 0.4 and 0.2.
    std::unique_ptr<LpSolver> lp = makeLpSolver();
    const int r0 = lp->addRow(4.0, LpSolver::kInfinity);
    const int r1 = lp->addRow(6.0, LpSolver::kInfinity);
    lp->addColumn(1.0, {{r0, 1.0}, {r1, 3.0}});
    lp->addColumn(1.0, {{r0, 2.0}, {r1, 1.0}});
    for (double b : {4.0, 8.0}) {
        lp->setRowBounds(r0, b, LpSolver::kInfinity);
        ASSERT_TRUE(lp->solve()) << b;
        const double x = (2.0 * 6.0 - b) / 5.0, y = (3.0 * b - 6.0) / 5.0;
        EXPECT_NEAR(lp->primal()[0], x, 1e-7) << b;
        EXPECT_NEAR(lp->primal()[1], y, 1e-7) << b;
        EXPECT_NEAR(lp->objective(), x + y, 1e-7) << b;
        EXPECT_NEAR(lp->duals()[0], 0.4, 1e-7) << b;
        EXPECT_NEAR(lp->duals()[1], 0.2, 1e-7) << b;
    }
    // A row no column reaches cannot hold.
    lp->addRow(1.0, LpSolver::kInfinity);
    EXPECT_FALSE(lp->solve());
}

TEST(PatternLp, KnapsackMatchesBruteForceOnRandomBars) {
    std::mt19937 random(5);
    for (int round = 0; round < 200; ++round) {
        const size_t n = 1 + random() % 5;
        const int64_t unit = round % 2 == 0 ? 1 : 10; // a common divisor of the sizes
        std::vector<int64_t> size;
        std::vector<double> value;
        std::vector<int> bound;
        for (size_t i = 0; i < n; ++i) {
            size.push_back(unit * (1 + static_cast<int64_t>(random() % 12)));
            value.push_back(static_cast<double>(random() % 100) / 10.0);
            bound.push_back(static_cast<int>(random() % 4));
        }
        const int64_t capacity = unit * (5 + static_cast<int64_t>(random() % 30)) + round % 7;
        double best = 0.0;
        std::vector<int> c(n, 0);
        std::function<void(size_t, int64_t, double)> go = [&](size_t i, int64_t room, double v) {
            if (i == n) {
                best = std::max(best, v);
                return;
            }
            for (int k = 0; k <= bound[i] && k * size[i] <= room; ++k)
                go(i + 1, room - k * size[i], v + k * value[i]);
        };
        go(0, capacity, 0.0);
        const BoundedKnapsack::Result r = BoundedKnapsack::solve(size, value, bound, capacity);
        EXPECT_NEAR(r.value, best, 1e-9) << "round " << round;
        int64_t used = 0;
        double worth = 0.0;
        for (size_t i = 0; i < n; ++i) {
            EXPECT_GE(r.counts[i], 0);
            EXPECT_LE(r.counts[i], bound[i]) << "round " << round;
            used += r.counts[i] * size[i];
            worth += r.counts[i] * value[i];
        }
        EXPECT_LE(used, capacity) << "round " << round;
        EXPECT_NEAR(worth, r.value, 1e-9) << "round " << round;
    }
}

TEST(PatternLp, RelaxationOfHalvesWithAndWithoutFreeOffcuts) {
    // Seven halves of a 100 bar; offcuts of 50 (free) hold one each.
    struct Row {
        int offcuts;
        double bars;
    };
    const Row rows[] = {{0, 3.5}, {3, 2.0}, {7, 0.0}, {9, 0.0}};
    for (const Row& row : rows) {
        PatternLp lp({50}, {{100, 1.0, -1}, {50, 0.0, row.offcuts}});
        lp.addPattern({0, {1}}); // a poor start: one half per new bar
        const PatternLp::Result r =
            lp.solve({7}, {-1, row.offcuts}, 7.0, PatternLp::Clock::now() + std::chrono::seconds(5),
                     nullptr);
        ASSERT_TRUE(r.solved) << row.offcuts;
        EXPECT_NEAR(r.value, row.bars, 1e-7) << row.offcuts;
        EXPECT_NEAR(r.bound, row.bars, 1e-7) << row.offcuts;
        double offcuts = 0.0;
        for (size_t p = 0; p < r.x.size(); ++p)
            offcuts += lp.patterns()[p].stock == 1 ? r.x[p] : 0.0;
        EXPECT_LE(offcuts, row.offcuts + 1e-7) << row.offcuts;
    }
}

// Every filling of one bar with at most the demand of each size.
void everyPattern(const std::vector<int64_t>& sizes, const std::vector<int>& demand, int64_t room,
                  size_t i, std::vector<int>& counts, std::vector<std::vector<int>>& out) {
    if (i == sizes.size()) {
        if (std::any_of(counts.begin(), counts.end(), [](int c) { return c > 0; }))
            out.push_back(counts);
        return;
    }
    for (int c = 0; c <= demand[i] && c * sizes[i] <= room; ++c) {
        counts[i] = c;
        everyPattern(sizes, demand, room - c * sizes[i], i + 1, counts, out);
    }
    counts[i] = 0;
}

TEST(PatternLp, GeneratedRelaxationMatchesTheProgrammeOfEveryPatternAndCoversEachLength) {
    std::mt19937 random(17);
    for (int round = 0; round < 40; ++round) {
        const int64_t capacity = 20 + static_cast<int64_t>(random() % 30);
        std::vector<int64_t> sizes;
        for (int64_t s = capacity - 1; s > 2 && sizes.size() < 5; s -= 1 + random() % 9)
            sizes.push_back(s / (1 + round % 3));
        std::sort(sizes.begin(), sizes.end(), std::greater<>());
        sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
        std::vector<int> demand;
        for (size_t i = 0; i < sizes.size(); ++i)
            demand.push_back(1 + static_cast<int>(random() % 4));
        // The programme of every pattern, each item's demand met by its own pieces.
        std::vector<std::vector<int>> all;
        std::vector<int> counts(sizes.size(), 0);
        everyPattern(sizes, demand, capacity, 0, counts, all);
        std::unique_ptr<LpSolver> full = makeLpSolver();
        for (int d : demand)
            full->addRow(d, LpSolver::kInfinity);
        for (const std::vector<int>& p : all) {
            std::vector<std::pair<int, double>> entries;
            for (size_t i = 0; i < p.size(); ++i)
                if (p[i] > 0)
                    entries.emplace_back(static_cast<int>(i), p[i]);
            full->addColumn(1.0, entries);
        }
        ASSERT_TRUE(full->solve()) << round;

        PatternLp lp(sizes, {{capacity, 1.0, -1}});
        for (size_t i = 0; i < sizes.size(); ++i) {
            PatternLp::Pattern single{0, std::vector<int>(sizes.size(), 0)};
            single.counts[i] = 1;
            lp.addPattern(single);
        }
        const PatternLp::Result r =
            lp.solve(demand, {-1}, LpSolver::kInfinity,
                     PatternLp::Clock::now() + std::chrono::seconds(5), nullptr);
        ASSERT_TRUE(r.solved) << round;
        // Generation may stop once the bound and the value round up alike.
        const double optimum = full->objective();
        EXPECT_LE(r.bound, optimum + 1e-6) << "round " << round;
        EXPECT_GE(r.value, optimum - 1e-6) << "round " << round;
        EXPECT_EQ(std::ceil(r.value - 1e-6), std::ceil(optimum - 1e-6)) << "round " << round;
        // A longer piece may stand for a shorter one: the pieces of each length and longer
        // cover the demand of each length and longer.
        double cut = 0.0;
        int needed = 0;
        for (size_t i = 0; i < sizes.size(); ++i) {
            for (size_t p = 0; p < r.x.size(); ++p)
                cut += r.x[p] * lp.patterns()[p].counts[i];
            needed += demand[i];
            EXPECT_GE(cut, needed - 1e-6) << "round " << round << " size " << sizes[i];
        }
    }
}

TEST(PatternLp, BacktrackingDiveReachesTheTargetOrTriesEveryBranchOrStops) {
    // 60 + 40 and 40 + 30 + 30 fill a bar exactly; the relaxation is 5 2/3 bars, a plan 6.
    const std::vector<int64_t> sizes = {60, 40, 30};
    const std::vector<int> demand = {3, 5, 6};
    auto fresh = [&] {
        PatternLp lp(sizes, {{100, 1.0, -1}});
        for (int i = 0; i < 3; ++i) {
            PatternLp::Pattern single{0, {0, 0, 0}};
            single.counts[static_cast<size_t>(i)] = 1;
            lp.addPattern(single);
        }
        return lp;
    };
    const auto later = PatternLp::Clock::now() + std::chrono::seconds(5);
    for (double target : {6.0, 5.0}) {
        PatternLp lp = fresh();
        int finishes = 0;
        const PatternBacktrack::Result r =
            PatternBacktrack::run(lp, demand, {-1}, target, later, nullptr,
                                  [&](const std::vector<int>&, const std::vector<int>&, double,
                                      std::vector<PatternLp::Pattern>&) { return ++finishes < 0; });
        const bool found = target == 6.0;
        EXPECT_EQ(r.found, found) << target;
        EXPECT_EQ(r.exhausted, !found) << target;
        // Below the rounded relaxation nothing is tried, not even the caller's finish.
        EXPECT_EQ(finishes > 0, found) << target;
        // The bars cut the demand exactly, each within its 100.
        std::vector<int> cut(demand.size(), 0);
        for (const PatternLp::Pattern& bar : r.bars) {
            int64_t fill = 0;
            for (size_t i = 0; i < sizes.size(); ++i) {
                cut[i] += bar.counts[i];
                fill += bar.counts[i] * sizes[i];
            }
            EXPECT_LE(fill, 100);
        }
        EXPECT_EQ(cut, found ? demand : std::vector<int>(demand.size(), 0));
        EXPECT_LE(static_cast<double>(r.bars.size()), target);
    }
    // Stopped, or out of time, it neither finds nor claims to have tried everything.
    const std::atomic<bool> stop{true};
    for (bool stopped : {true, false}) {
        PatternLp lp = fresh();
        const PatternBacktrack::Result r =
            PatternBacktrack::run(lp, demand, {-1}, 6.0, stopped ? later : PatternLp::Clock::now(),
                                  stopped ? &stop : nullptr, nullptr);
        EXPECT_FALSE(r.found);
        EXPECT_FALSE(r.exhausted);
        EXPECT_EQ(r.nodes, 0);
    }
}

} // namespace

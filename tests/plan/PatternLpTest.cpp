// The linear programmes under the bar plans: the CLP solver's optimum and duals, the knapsack
// that prices new patterns against brute force, and the pattern relaxation on hand-worked cases.

#include "plan/PatternLp.h"
#include "plan/BoundedKnapsack.h"
#include "plan/LpSolver.h"

#include <gtest/gtest.h>

#include <functional>
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

} // namespace

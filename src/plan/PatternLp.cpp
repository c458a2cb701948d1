#include "plan/PatternLp.h"

#include "plan/BoundedKnapsack.h"

#include <algorithm>
#include <cmath>

PatternLp::PatternLp(std::vector<int64_t> sizes, std::vector<Stock> stock)
    : sizes_(std::move(sizes)), stock_(std::move(stock)), lp_(makeLpSolver()) {
    for (size_t i = 0; i < sizes_.size(); ++i)
        lp_->addRow(0.0, LpSolver::kInfinity);
    for (const Stock& s : stock_)
        stockRow_.push_back(s.available < 0 ? -1 : lp_->addRow(0.0, s.available));
}

void PatternLp::addPattern(const Pattern& pattern) {
    std::vector<std::pair<int, double>> entries;
    for (size_t i = 0; i < pattern.counts.size(); ++i)
        if (pattern.counts[i] > 0)
            entries.emplace_back(static_cast<int>(i), pattern.counts[i]);
    const int row = stockRow_[static_cast<size_t>(pattern.stock)];
    if (row >= 0)
        entries.emplace_back(row, 1.0);
    lp_->addColumn(stock_[static_cast<size_t>(pattern.stock)].cost, entries);
    patterns_.push_back(pattern);
}

int64_t PatternLp::fill(const Pattern& pattern) const {
    int64_t total = 0;
    for (size_t i = 0; i < pattern.counts.size(); ++i)
        total += sizes_[i] * pattern.counts[i];
    return total;
}

PatternLp::Result PatternLp::solve(const std::vector<int>& demand,
                                   const std::vector<int>& available, double incumbent,
                                   Clock::time_point deadline, const std::atomic<bool>* stop) {
    Result out;
    for (size_t i = 0; i < sizes_.size(); ++i)
        lp_->setRowBounds(static_cast<int>(i), demand[i], LpSolver::kInfinity);
    for (size_t s = 0; s < stock_.size(); ++s)
        if (stockRow_[s] >= 0)
            lp_->setRowBounds(stockRow_[s], 0.0, std::max(0, available[s]));
    // Costs are not negative: nothing is cheaper than nothing.
    double lagrangian = 0.0;
    for (;;) {
        if (!lp_->solve())
            return out;
        out.solved = true;
        out.value = lp_->objective();
        out.x = lp_->primal();
        const std::vector<double> y = lp_->duals();
        const std::vector<double> value(y.begin(), y.begin() + static_cast<long>(sizes_.size()));
        const double tolerance = 1e-9 * std::max(1.0, std::abs(out.value)) + 1e-9;
        // Every solution costs at least the duals' value plus, per kind, its most negative
        // reduced cost times the most bars of that kind a solution no dearer than the
        // incumbent can use.
        double bound = out.value;
        bool added = false;
        bool exact = true;
        for (size_t s = 0; s < stock_.size(); ++s) {
            const BoundedKnapsack::Result k =
                BoundedKnapsack::solve(sizes_, value, demand, stock_[s].capacity);
            double reduced = stock_[s].cost - k.value;
            if (stockRow_[s] >= 0)
                reduced -= y[static_cast<size_t>(stockRow_[s])];
            if (reduced < -tolerance) {
                double most = LpSolver::kInfinity;
                if (stock_[s].available >= 0)
                    most = std::max(0, available[s]);
                else if (stock_[s].cost > 0.0)
                    most = std::floor(incumbent / stock_[s].cost + 1e-9);
                if (most >= LpSolver::kInfinity)
                    exact = false;
                else
                    bound += most * reduced;
                addPattern({static_cast<int>(s), k.counts});
                added = true;
            }
        }
        if (exact)
            lagrangian = std::max(lagrangian, bound);
        out.bound = lagrangian;
        if (!added) {
            out.bound = out.value;
            break;
        }
        // Stop early once the rounded bounds meet.
        const double eps = 1e-6 * std::max(1.0, std::abs(out.value));
        if (std::ceil(lagrangian - eps) >= std::ceil(out.value - eps))
            break;
        if (Clock::now() > deadline || (stop != nullptr && stop->load()))
            break;
    }
    out.x.resize(patterns_.size(), 0.0);
    return out;
}

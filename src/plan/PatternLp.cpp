#include "plan/PatternLp.h"

#include "plan/BoundedKnapsack.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// Columns priced from the pieces the best filling leaves, per kind and round.
constexpr int kMoreColumns = 3;
// ... when the knapsack's table is no larger than this.
constexpr size_t kCheapCells = size_t{1} << 20;

} // namespace

PatternLp::PatternLp(std::vector<int64_t> sizes, std::vector<Stock> stock)
    : sizes_(std::move(sizes)), stock_(std::move(stock)), lp_(makeLpSolver()) {
    for (size_t i = 0; i < sizes_.size(); ++i)
        lp_->addRow(0.0, LpSolver::kInfinity);
    for (const Stock& s : stock_)
        stockRow_.push_back(s.available < 0 ? -1 : lp_->addRow(0.0, s.available));
    // A piece may be cut where a shorter one is needed: the value of a piece never falls below
    // that of a shorter one, which the duals learn at once instead of pattern by pattern.
    std::vector<size_t> bySize(sizes_.size());
    std::iota(bySize.begin(), bySize.end(), size_t{0});
    std::stable_sort(bySize.begin(), bySize.end(),
                     [&](size_t a, size_t b) { return sizes_[a] > sizes_[b]; });
    for (size_t k = 1; k < bySize.size(); ++k) {
        lp_->addColumn(
            0.0, {{static_cast<int>(bySize[k - 1]), -1.0}, {static_cast<int>(bySize[k]), 1.0}});
        ++exchanges_;
    }
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
        const std::vector<double> x = lp_->primal();
        out.x.assign(x.begin() + exchanges_, x.end());
        const std::vector<double> y = lp_->duals();
        const std::vector<double> value(y.begin(), y.begin() + static_cast<long>(sizes_.size()));
        const double tolerance = 1e-9 * std::max(1.0, std::abs(out.value)) + 1e-9;
        // Every solution costs at least the duals' value plus, per kind, its most negative
        // reduced cost times the most bars of that kind a solution no dearer than the
        // incumbent can use.
        double bound = out.value;
        bool added = false;
        bool exact = true;
        // With every kind unlimited and paid for, the duals scaled down by their largest worth
        // per cost of a bar are feasible, and so is their value (Farley's bound).
        bool scalable = true;
        double worth = 1.0;
        for (size_t s = 0; s < stock_.size(); ++s) {
            const BoundedKnapsack::Result k =
                BoundedKnapsack::solve(sizes_, value, demand, stock_[s].capacity);
            scalable = scalable && stockRow_[s] < 0 && stock_[s].cost > 0.0;
            if (scalable)
                worth = std::max(worth, k.value / stock_[s].cost);
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
                // More columns of the kind from the pieces the first leaves, while they pay:
                // fewer rounds of solving.
                std::vector<int> left = demand;
                std::vector<int> last = k.counts;
                const int more = k.cells <= kCheapCells ? kMoreColumns : 0;
                for (int extra = 0; extra < more; ++extra) {
                    for (size_t i = 0; i < left.size(); ++i)
                        left[i] = std::max(0, left[i] - last[i]);
                    const BoundedKnapsack::Result e =
                        BoundedKnapsack::solve(sizes_, value, left, stock_[s].capacity);
                    double r = stock_[s].cost - e.value;
                    if (stockRow_[s] >= 0)
                        r -= y[static_cast<size_t>(stockRow_[s])];
                    if (r >= -tolerance)
                        break;
                    addPattern({static_cast<int>(s), e.counts});
                    last = e.counts;
                }
            }
        }
        if (exact)
            lagrangian = std::max(lagrangian, bound);
        if (scalable)
            lagrangian = std::max(lagrangian, out.value / worth);
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

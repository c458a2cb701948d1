#include "plan/PatternBacktrack.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

class Dive {
public:
    Dive(PatternLp& lp, std::vector<int> demand, std::vector<int> available, double target,
         PatternLp::Clock::time_point deadline, const std::atomic<bool>* stop,
         const PatternBacktrack::Finish& finish)
        : lp_(lp), demand_(std::move(demand)), available_(std::move(available)), target_(target),
          deadline_(deadline), stop_(stop), finish_(finish) {}

    PatternBacktrack::Result run() {
        PatternBacktrack::Result out;
        for (int discrepancies = 0;; ++discrepancies) {
            limited_ = false;
            if (node(discrepancies)) {
                out.found = true;
                out.bars = bars_;
                break;
            }
            if (stopped_)
                break;
            if (!limited_) {
                out.exhausted = true;
                break;
            }
        }
        out.nodes = nodes_;
        return out;
    }

private:
    bool timeUp() {
        if (!stopped_ && ((stop_ != nullptr && stop_->load(std::memory_order_relaxed)) ||
                          PatternLp::Clock::now() > deadline_))
            stopped_ = true;
        return stopped_;
    }

    // Cuts one bar to the pattern, without the pieces no longer needed. False when it cuts
    // nothing or its kind has run out.
    bool take(const PatternLp::Pattern& p) {
        const auto s = static_cast<size_t>(p.stock);
        if (available_[s] == 0)
            return false;
        PatternLp::Pattern bar{p.stock, std::vector<int>(demand_.size(), 0)};
        bool any = false;
        std::vector<int> excess;
        for (size_t i = 0; i < demand_.size(); ++i) {
            bar.counts[i] = std::min(p.counts[i], std::max(0, demand_[i]));
            for (int c = bar.counts[i]; c < p.counts[i]; ++c)
                excess.push_back(static_cast<int>(i));
        }
        // A piece no longer needed leaves its room to the longest needed piece no longer than it.
        const std::vector<int64_t>& size = lp_.sizes();
        for (int i : excess) {
            size_t chosen = demand_.size();
            for (size_t j = 0; j < demand_.size(); ++j) {
                if (size[j] <= size[static_cast<size_t>(i)] && bar.counts[j] < demand_[j] &&
                    (chosen == demand_.size() || size[j] > size[chosen]))
                    chosen = j;
            }
            if (chosen < demand_.size())
                ++bar.counts[chosen];
        }
        for (int c : bar.counts)
            any = any || c > 0;
        if (!any)
            return false;
        for (size_t i = 0; i < demand_.size(); ++i)
            demand_[i] -= bar.counts[i];
        if (available_[s] > 0)
            --available_[s];
        paid_ += lp_.cost(bar);
        bars_.push_back(std::move(bar));
        return true;
    }

    // Puts the bars cut since `mark` back.
    void undo(size_t mark) {
        while (bars_.size() > mark) {
            const PatternLp::Pattern& bar = bars_.back();
            for (size_t i = 0; i < demand_.size(); ++i)
                demand_[i] += bar.counts[i];
            if (available_[static_cast<size_t>(bar.stock)] >= 0)
                ++available_[static_cast<size_t>(bar.stock)];
            paid_ -= lp_.cost(bar);
            bars_.pop_back();
        }
    }

    bool done() const {
        return std::all_of(demand_.begin(), demand_.end(), [](int d) { return d <= 0; });
    }

    bool within(double cost) const { return cost <= target_ + 1e-6 * std::max(1.0, target_); }

    bool node(int discrepancies) {
        if (timeUp())
            return false;
        ++nodes_;
        // Only plans within the target matter: what is left may cost the rest of it.
        const PatternLp::Result r =
            lp_.solve(demand_, available_, std::max(0.0, target_ - paid_), deadline_, stop_);
        if (!r.solved || stopped_)
            return false;
        const double eps = 1e-6 * std::max(1.0, std::abs(r.value));
        if (!within(paid_ + std::ceil(r.value - eps)))
            return false;
        const size_t mark = bars_.size();
        // Copies, as the pattern list grows while the pieces left are solved again.
        const std::vector<PatternLp::Pattern> patterns = lp_.patterns();
        std::vector<std::pair<double, size_t>> fractions;
        for (size_t p = 0; p < r.x.size(); ++p) {
            const double whole = std::floor(r.x[p] + 1e-6);
            for (int c = 0; c < static_cast<int>(whole); ++c)
                take(patterns[p]);
            if (r.x[p] - whole > 1e-6)
                fractions.emplace_back(r.x[p] - whole, p);
        }
        if (done() && within(paid_))
            return true;
        std::vector<PatternLp::Pattern> rest;
        if (finish_ && finish_(demand_, available_, target_ - paid_, rest)) {
            bars_.insert(bars_.end(), rest.begin(), rest.end());
            return true;
        }
        // The largest fraction first, of equal ones the fullest bar.
        std::stable_sort(fractions.begin(), fractions.end(), [&](const auto& a, const auto& b) {
            if (std::abs(a.first - b.first) > 1e-6)
                return a.first > b.first;
            return lp_.fill(patterns[a.second]) > lp_.fill(patterns[b.second]);
        });
        int tried = 0;
        for (const auto& [fraction, p] : fractions) {
            if (tried > discrepancies) {
                limited_ = true;
                break;
            }
            const size_t before = bars_.size();
            if (!take(patterns[p]))
                continue;
            if (node(discrepancies - tried))
                return true;
            undo(before);
            ++tried;
            if (stopped_)
                break;
        }
        undo(mark);
        return false;
    }

    PatternLp& lp_;
    std::vector<int> demand_;
    std::vector<int> available_;
    double target_;
    PatternLp::Clock::time_point deadline_;
    const std::atomic<bool>* stop_;
    const PatternBacktrack::Finish& finish_;
    std::vector<PatternLp::Pattern> bars_;
    double paid_ = 0.0;
    int nodes_ = 0;
    bool limited_ = false;
    bool stopped_ = false;
};

} // namespace

PatternBacktrack::Result PatternBacktrack::run(PatternLp& lp, const std::vector<int>& demand,
                                               const std::vector<int>& available, double target,
                                               PatternLp::Clock::time_point deadline,
                                               const std::atomic<bool>* stop,
                                               const Finish& finish) {
    return Dive(lp, demand, available, target, deadline, stop, finish).run();
}

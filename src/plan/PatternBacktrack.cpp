#include "plan/PatternBacktrack.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

class Dive {
public:
    Dive(PatternLp& lp, std::vector<int> demand, std::vector<int> available, double target,
         double incumbent, PatternLp::Clock::time_point deadline, const std::atomic<bool>* stop,
         const PatternBacktrack::Finish& finish)
        : lp_(lp), demand_(std::move(demand)), available_(std::move(available)), target_(target),
          incumbent_(incumbent), deadline_(deadline), stop_(stop), finish_(finish) {}

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
        for (size_t i = 0; i < demand_.size(); ++i) {
            bar.counts[i] = std::min(p.counts[i], demand_[i]);
            any = any || bar.counts[i] > 0;
        }
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
        const PatternLp::Result r = lp_.solve(demand_, available_, incumbent_, deadline_, stop_);
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
    double incumbent_;
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
                                               double incumbent,
                                               PatternLp::Clock::time_point deadline,
                                               const std::atomic<bool>* stop,
                                               const Finish& finish) {
    return Dive(lp, demand, available, target, incumbent, deadline, stop, finish).run();
}

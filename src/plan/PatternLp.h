#pragma once

#include "plan/LpSolver.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

// The relaxation of cutting by patterns: how many bars of each stock kind to cut to each
// filling (pattern) so that every item's demand is covered, at least cost. Offcut kinds are
// limited in number. Patterns are generated as needed: the filling of most dual value of each
// kind enters while it costs less than it is worth.
class PatternLp {
public:
    struct Stock {
        int64_t capacity = 0;
        double cost = 0.0;
        int available = -1; // -1: unlimited
    };
    struct Pattern {
        int stock = 0;
        std::vector<int> counts; // per item
    };
    struct Result {
        bool solved = false;   // an optimum of the patterns so far was found
        double value = 0.0;    // its objective
        double bound = 0.0;    // no solution is cheaper (the optimum when generation converged)
        std::vector<double> x; // per pattern
    };
    using Clock = std::chrono::steady_clock;

    PatternLp(std::vector<int64_t> sizes, std::vector<Stock> stock);

    void addPattern(const Pattern& pattern);
    const std::vector<Pattern>& patterns() const { return patterns_; }
    const std::vector<int64_t>& sizes() const { return sizes_; }
    // Total size of the pattern's pieces.
    int64_t fill(const Pattern& pattern) const;
    // What one bar of the pattern costs in the objective.
    double cost(const Pattern& pattern) const {
        return stock_[static_cast<size_t>(pattern.stock)].cost;
    }

    // Demand per item and kinds left per stock (-1 unlimited). `incumbent` is the cost of a
    // known solution (it bounds the number of bars of each kind for the early bound).
    Result solve(const std::vector<int>& demand, const std::vector<int>& available,
                 double incumbent, Clock::time_point deadline, const std::atomic<bool>* stop);

private:
    std::vector<int64_t> sizes_;
    std::vector<Stock> stock_;
    std::vector<Pattern> patterns_;
    std::unique_ptr<LpSolver> lp_;
    std::vector<int> stockRow_; // -1 when unlimited
    long exchanges_ = 0;        // the first columns: a longer piece cut for a shorter one
};

#pragma once

#include "plan/PatternLp.h"

#include <atomic>
#include <functional>
#include <vector>

// Looks for whole bars at a target cost by diving through the pattern relaxation with
// backtracking. At each step the relaxation of the pieces left is solved again; a step whose
// relaxation, rounded up, cannot reach the target is undone. Whole parts of the counts are cut
// at once (they keep the relaxation's value); then one bar of a fractional pattern, the largest
// first. Other patterns are tried with limited discrepancy: first the dive alone, then dives
// that leave the first choice once, twice, ... until one reaches the target, the tree is
// exhausted or time is up. At every step the caller may finish the pieces left its own way.
class PatternBacktrack {
public:
    // Fits the demand left into bars of total cost at most `budget`; true and the bars when it
    // does.
    using Finish =
        std::function<bool(const std::vector<int>& demand, const std::vector<int>& available,
                           double budget, std::vector<PatternLp::Pattern>& bars)>;

    struct Result {
        bool found = false;     // the bars cost at most the target
        bool exhausted = false; // every branch was tried (no plan at the target through them)
        std::vector<PatternLp::Pattern> bars;
        int nodes = 0;
    };

    static Result run(PatternLp& lp, const std::vector<int>& demand,
                      const std::vector<int>& available, double target,
                      PatternLp::Clock::time_point deadline, const std::atomic<bool>* stop,
                      const Finish& finish);
};

#pragma once

#include "plan/PatternLp.h"

#include <atomic>
#include <vector>

// Rounds the pattern relaxation to whole bars: takes the whole part of every pattern's count,
// or when none is whole the pattern of the largest fraction, and solves the relaxation again
// for what is left, until every piece is cut or time is up. The pieces still left (`demand`
// on return) are for the caller to fit.
class PatternDive {
public:
    static std::vector<PatternLp::Pattern> run(PatternLp& lp, std::vector<int>& demand,
                                               std::vector<int>& available, double incumbent,
                                               PatternLp::Clock::time_point deadline,
                                               const std::atomic<bool>* stop);
};

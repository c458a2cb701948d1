#pragma once

#include "plan/PatternLp.h"

#include <atomic>
#include <vector>

// Rounds the pattern relaxation to whole bars and solves it again for what is left, until
// every piece is cut or time is up. In steps of whole parts it takes the whole part of every
// pattern's count, or when none is whole the pattern of the largest fraction; in steps of one
// bar, one bar of the pattern of the largest count. The pieces still left (`demand` on return)
// are for the caller to fit.
class PatternDive {
public:
    enum class Step { WholeParts, OneBar };

    static std::vector<PatternLp::Pattern> run(PatternLp& lp, Step step, std::vector<int>& demand,
                                               std::vector<int>& available, double incumbent,
                                               PatternLp::Clock::time_point deadline,
                                               const std::atomic<bool>* stop);
};

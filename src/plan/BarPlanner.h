#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

// One piece to cut from a bar. Lengths in 0.1 mm.
struct BarPlanPiece {
    int32_t length = 0;
    int32_t doorIndex = -1;
    int32_t mark = 0;
};

// A kind of bar the pieces may come from: a stock length bought new (cost per bar in kopecks,
// unlimited) or an offcut the shop already has (free, a limited count).
struct BarStock {
    int32_t length = 0;
    int32_t cost = 0;
    int32_t available = -1; // -1: as many as needed
    bool offcut = false;
};

// One bar of a plan: its pieces (indices into the piece list, longest first) and what is left.
struct PlannedBar {
    int stock = 0; // index into the stock list
    int32_t length = 0;
    bool fromOffcut = false;
    int32_t cost = 0;
    std::vector<int> pieces;
    int32_t offcut = 0; // length left after the last cut, 0 when nothing usable remains
};

struct BarPlan {
    std::vector<PlannedBar> bars;
    std::vector<int> unplaced; // pieces longer than every bar (or of no length): not cut
    int64_t cost = 0;          // of the new bars
    int newBars = 0;
    int offcutsUsed = 0;
    int64_t newLength = 0; // total length of the new bars
    int lowerBound = 0;    // no plan needs fewer new bars
    int64_t costLowerBound = 0;
    bool proven = false; // no plan is cheaper (with at most maxNewBars new bars)
    double millis = 0.0;
};

// Cuts pieces from stock bars with a saw kerf and an end trim. A bar of length L holds pieces
// whose lengths plus a kerf between neighbours fit into L - 2 × trim. Offcuts come first (they
// cost nothing); among plans of equal cost, fewer new bars and then less new length win.
class BarPlanner {
public:
    struct Options {
        int32_t kerf = 0;
        int32_t trim = 0;
        int maxNewBars = -1; // plans with more new bars are not taken; -1: no limit
        double timeLimitMs = 50.0;
        const std::atomic<bool>* stop = nullptr; // when it turns true, the best plan so far
    };

    // The cheapest plan, proven optimal by the lower bound (the pattern relaxation rounded up)
    // or by an exhaustive search when that finishes within the time limit; else the best plan
    // found, with proven false. When no plan keeps within maxNewBars, the limit is dropped.
    static BarPlan plan(const std::vector<BarPlanPiece>& pieces, const std::vector<BarStock>& stock,
                        const Options& options);

    // Longest piece first into the first bar with room, new bars of stock[0] only.
    static BarPlan firstFitDecreasing(const std::vector<BarPlanPiece>& pieces,
                                      const BarStock& stock, const Options& options);

    // Length left on a bar of the given length after the pieces (0 when less than a kerf remains).
    static int32_t leftover(int32_t barLength, const std::vector<int32_t>& pieceLengths,
                            const Options& options);
};

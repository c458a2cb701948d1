#pragma once

#include "plan/SheetPlanner.h"

#include <atomic>
#include <cstdint>
#include <vector>

// A sheet size a material may be cut from: bought new (cost per sheet in kopecks, available -1
// for as many as needed or a count) or an offcut sheet the shop has (free, a count).
struct SheetStock {
    int32_t width = 0;  // across the grain, 0.1 mm
    int32_t height = 0; // along it
    int64_t cost = 0;
    int available = -1;
    bool offcut = false;
};

// The sheets of one stock size in a plan: the pieces put on them and their plan, whose piece
// indices point into `pieces`.
struct SheetStockPart {
    int stock = 0;           // index into the stock list
    std::vector<int> pieces; // indices into the piece list
    SheetPlan plan;
};

struct SheetStockPlan {
    std::vector<SheetStockPart> parts; // offcut sheets first
    std::vector<int> unplaced;         // pieces larger than every sheet, or left when stock ran out
    int64_t cost = 0;                  // of the new sheets
    int newSheets = 0;
    int offcutSheets = 0;
    int lowerBound = 0; // no plan needs fewer new sheets
    int64_t costLowerBound = 0;
    bool proven = false; // no plan is cheaper
    double millis = 0.0;
};

// Plans pieces onto several sheet sizes with the one-size SheetPlanner: first what fits onto the
// offcut sheets, one sheet at a time, then the rest with each new size alone and in the cheap
// combinations of sizes (each size first, the others after it for what is left; a plan's least
// used sheet moved to a cheaper size when its pieces fit there), the cheapest taken: least
// cost, then fewest sheets.
class SheetStockPlanner {
public:
    // Stop cuts the time short: the offcut sheets and one order of the new sizes are still
    // filled, each with what the one-size planner has at the stop.
    static SheetStockPlan plan(const std::vector<SheetPlanPiece>& pieces,
                               const std::vector<SheetStock>& stock, int32_t kerf,
                               double timeLimitMs, const std::atomic<bool>* stop = nullptr);

    // Whether the piece fits onto a sheet of the size, turned when it may be.
    static bool fits(const SheetPlanPiece& piece, const SheetStock& sheet);
};

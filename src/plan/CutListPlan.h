#pragma once

#include "plan/CutList.h"
#include "plan/CuttingPlan.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// What the plan of one material comes to.
struct CutListTotal {
    std::string material;
    bool sheets = false;
    int newCount = 0; // new bars or sheets
    int offcutsUsed = 0;
    int64_t cost = 0; // kopecks
    int lowerBound = 0;
    bool proven = false;
    double millis = 0.0;
    int notCut = 0;       // pieces larger than every stock of the material
    bool stopped = false; // the stop came before the planner finished: the best plan so far
};

// Where the sheets of one planned sheet size come from.
struct SheetSource {
    bool offcut = false;
    int64_t cost = 0; // per sheet
};

// How a caller on another thread follows and ends the planning of a cut list.
struct CutListControl {
    // When it turns true, the material being planned keeps its best plan so far and the rest get
    // their quick first plans.
    const std::atomic<bool>* stop = nullptr;
    // Before each material (done of total planned so far) and once at the end.
    std::function<void(int done, int total, const std::string& material)> progress;
};

// The cutting plan of a cut list, in the structures of an order's plan: every bar material is an
// article (its code the material, its pieces named), every sheet size a sheet material is cut
// from is a material of its own (the same code for every size of one material).
class CutListPlan {
public:
    CuttingPlan cuts;
    std::vector<SheetSource> sources; // one per cuts.materials entry
    std::vector<CutListTotal> totals; // one per material, in the order of the list

    static CutListPlan build(const CutList& list, const CutListControl& control = {});
};

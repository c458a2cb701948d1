#pragma once

#include "plan/CuttingPlan.h"

#include <cstdint>
#include <string>
#include <vector>

// One order of a batch with its own cutting plan (which gives its pieces and its bill).
struct BatchOrder {
    int64_t number = 0;
    std::string colour; // the profile colour of the order
    CuttingPlan plan;
};

// An offcut of the store that a batch may cut: a bar of an article in a colour, or a sheet of
// a material (its height along the grain; canTurn when it has no grain).
struct StoreOffcut {
    int64_t id = 0;
    bool sheet = false;
    std::string code; // article code, or the material's key
    std::string colour;
    std::string group; // of a sheet material
    int32_t length = 0;
    int32_t width = 0, height = 0;
    bool canTurn = false;
};

// What a batch keeps for the store: the offcuts its plans leave that are worth keeping.
struct KeptOffcut {
    bool sheet = false;
    std::string code, colour, group;
    int32_t length = 0;
    int32_t width = 0, height = 0;
    bool canTurn = false;
};

// The orders of a batch cut together: one plan per article and colour and one per sheet
// material, every piece named with its order, the store's matching offcuts used before new bars
// and sheets.
class BatchPlan {
public:
    CuttingPlan cuts;
    std::vector<std::string> articleColours; // per cuts.articles entry
    std::vector<bool> materialFromOffcut;    // per cuts.materials entry: cut from the store
    std::vector<int64_t> usedOffcuts;        // store ids the plans cut
    std::vector<KeptOffcut> kept;

    // The bars and sheets bought, and what the orders' own plans would buy.
    int newBars() const;
    int64_t newSheetArea() const; // 0.01 mm²
    int ownBars = 0;
    int64_t ownSheetArea = 0;

    // timeLimitMs is for each article and material.
    static BatchPlan build(const std::vector<BatchOrder>& orders,
                           const std::vector<StoreOffcut>& store, const PlanSettings& settings,
                           double timeLimitMs);

    // What the store could give one order, taking nothing: the order is planned as a batch of
    // its own on the store's offcuts, and each article and material of its plan is told how many
    // offcuts that plan cuts (fromStore).
    static void countFromStore(CuttingPlan& own, const std::string& colour,
                               const std::vector<StoreOffcut>& store, double timeLimitMs);
};

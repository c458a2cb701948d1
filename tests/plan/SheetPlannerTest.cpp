// Filling pieces on sheets: every piece inside its sheet, none overlapping, kerf between them,
// guillotine cuts only (checked here independently of the planner), grain kept, sizes that fit
// no sheet reported.

#include "plan/SheetPlanner.h"

#include "SheetChecks.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using namespace plantest;

constexpr int32_t mm(int32_t v) {
    return v * 10;
}

TEST(SheetPlannerCuts, RandomOrdersGiveSoundGuillotinePlans) {
    std::mt19937 random(11);
    const int32_t kerf = mm(4);
    for (int round = 0; round < 100; ++round) {
        std::vector<SheetPlanPiece> in;
        const int n = 1 + static_cast<int>(random() % 40);
        const bool turn = round % 2 == 0;
        for (int i = 0; i < n; ++i) {
            in.push_back({mm(150 + static_cast<int32_t>(random() % 1000)),
                          mm(150 + static_cast<int32_t>(random() % 2500)), i % 10, i, turn});
        }
        const SheetPlan plan = SheetPlanner::plan(in, mm(2070), mm(2800), kerf, 10.0);
        expectSoundSheets(plan, in, kerf);
        EXPECT_GE(static_cast<int>(plan.sheets.size()), plan.lowerBound);
        expectSoundSheets(SheetPlanner::firstFit(in, mm(2070), mm(2800), kerf), in, kerf);
    }
}

TEST(SheetPlannerCuts, GrainIsKeptUnlessRotationIsAllowed) {
    // 2600 high does not fit the sheet's 2070 width, and 2100 wide does not fit unturned.
    std::vector<SheetPlanPiece> in = {{mm(500), mm(2600), 0, 1, false},
                                      {mm(2100), mm(400), 0, 2, false}};
    SheetPlan plan = SheetPlanner::plan(in, mm(2070), mm(2800), mm(4));
    expectSoundSheets(plan, in, mm(4));
    EXPECT_EQ(plan.unplaced, std::vector<int>{1});
    in[1].canRotate = true;
    plan = SheetPlanner::plan(in, mm(2070), mm(2800), mm(4));
    expectSoundSheets(plan, in, mm(4));
    EXPECT_TRUE(plan.unplaced.empty());
    ASSERT_EQ(plan.sheets.size(), 1u);
    for (const PlacedPiece& p : plan.sheets[0].pieces)
        EXPECT_EQ(p.rotated, p.piece == 1);
}

TEST(SheetPlannerCuts, LowerBoundCountsPiecesThatCannotShareASheet) {
    // Three pieces of more than half the sheet each way: one sheet each, though their area
    // would fit two sheets.
    std::vector<SheetPlanPiece> in(3, {mm(1100), mm(1500), 0, 1, false});
    EXPECT_EQ(SheetPlanner::lowerBound(in, mm(2070), mm(2800), mm(4)), 3);
    const SheetPlan plan = SheetPlanner::plan(in, mm(2070), mm(2800), mm(4));
    EXPECT_EQ(plan.sheets.size(), 3u);
    // Narrow enough for two side by side (2 × 1030 + 4 ≤ 2070): the bound falls to the area's
    // one sheet, the plan needs two.
    std::vector<SheetPlanPiece> narrow(3, {mm(1030), mm(1500), 0, 1, false});
    EXPECT_EQ(SheetPlanner::lowerBound(narrow, mm(2070), mm(2800), mm(4)), 1);
    EXPECT_EQ(SheetPlanner::plan(narrow, mm(2070), mm(2800), mm(4)).sheets.size(), 2u);
}

} // namespace

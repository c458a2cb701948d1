// Filling pieces on sheets: every piece inside its sheet, none overlapping, kerf between them,
// guillotine cuts only (checked here independently of the planner), grain kept, sizes that fit
// no sheet reported.

#include "plan/SheetPlanner.h"
#include "plan/StripFiller.h"

#include "SheetChecks.h"

#include <gtest/gtest.h>

#include <numeric>
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

TEST(SheetPlannerCuts, LowerBoundCountsTheAreaAndPiecesThatCannotShareASheet) {
    // Sheets of 2070 × 2800 mm, 4 mm kerf; pieces that may not be turned.
    struct Row {
        int count;
        int32_t width, height;
        int bound;
        bool turn = false;
    };
    const Row rows[] = {
        {14, mm(500), mm(1000), 2},       // 1.21 sheets of area round up
        {3, mm(1100), mm(1500), 3},       // more than half the sheet each way: one sheet each
        {3, mm(1033), mm(1500), 2},       // 2 × 1033 + 4 = 2070: two side by side, none above
        {3, mm(1100), mm(1500), 2, true}, // turned, two stand one above the other in 2800
        {4, mm(1033), mm(1398), 1},       // four in a 2 × 2 grid to the millimetre
        {4, mm(1033), mm(1399), 2},       // a millimetre higher: two rows no longer fit
        {3, mm(1034), mm(1500), 3},       // a millimetre wider and no two share a sheet
        {1, mm(2070), mm(2800), 1},       // exactly the sheet
        {1, mm(2070) + 1, mm(2800), 0},   // larger than the sheet: not planned
    };
    for (const Row& row : rows) {
        const std::vector<SheetPlanPiece> in(static_cast<size_t>(row.count),
                                             {row.width, row.height, 0, 1, row.turn});
        EXPECT_EQ(SheetPlanner::lowerBound(in, mm(2070), mm(2800), mm(4)), row.bound)
            << row.count << " × " << row.width << " × " << row.height;
        // Each of these has a plan at its bound, and the planner must find it.
        const SheetPlan plan = SheetPlanner::plan(in, mm(2070), mm(2800), mm(4));
        expectSoundSheets(plan, in, mm(4));
        EXPECT_EQ(static_cast<int>(plan.sheets.size()), row.bound)
            << row.count << " × " << row.width;
    }
    // Two sheets of the 1033 wide pieces: the plan and the bound agree.
    std::vector<SheetPlanPiece> narrow(3, {mm(1033), mm(1500), 0, 1, false});
    const SheetPlan plan = SheetPlanner::plan(narrow, mm(2070), mm(2800), mm(4));
    expectSoundSheets(plan, narrow, mm(4));
    EXPECT_EQ(plan.sheets.size(), 2u);
}

} // namespace

namespace {

using namespace plantest;

TEST(StripFillerCuts, StripsAcrossOrAlongAreSoundAndAnExactRowFillsTheSheet) {
    // Random lists, turned or kept, strips either way: sound three-stage cuts, the rest left.
    std::mt19937 random(5);
    for (int round = 0; round < 60; ++round) {
        const int32_t kerf = round % 3 == 0 ? 0 : 40;
        std::vector<SheetPlanPiece> in;
        std::vector<int> candidates;
        const int n = 1 + static_cast<int>(random() % 50);
        for (int i = 0; i < n; ++i) {
            in.push_back({1 + static_cast<int32_t>(random() % 12000),
                          1 + static_cast<int32_t>(random() % 9000), -1, i, random() % 2 == 0});
            candidates.push_back(i);
        }
        const bool across = round % 2 == 0;
        const StripFiller::Filling f =
            StripFiller::fill(in, candidates, 20700, 28000, kerf, across);
        SheetPlan plan;
        plan.sheetWidth = 20700;
        plan.sheetHeight = 28000;
        plan.sheets.push_back(f.sheet);
        plan.unplaced = f.left;
        expectSoundSheets(plan, in, kerf);
        int64_t area = 0;
        for (const PlacedPiece& p : f.sheet.pieces)
            area += int64_t{p.width} * p.height;
        EXPECT_EQ(area, f.sheet.usedArea);
    }
    // Twenty 25 × 20 pieces make four strips of five across (or along, turned): no waste.
    for (bool across : {true, false}) {
        std::vector<SheetPlanPiece> in(20, {25, 20, -1, 0, !across});
        std::vector<int> candidates(20);
        std::iota(candidates.begin(), candidates.end(), 0);
        const StripFiller::Filling f = StripFiller::fill(in, candidates, 100, 100, 0, across);
        EXPECT_TRUE(f.left.empty()) << across;
        EXPECT_EQ(f.sheet.usedArea, 10000) << across;
        EXPECT_TRUE(f.sheet.offcuts.empty()) << across;
    }
}

} // namespace

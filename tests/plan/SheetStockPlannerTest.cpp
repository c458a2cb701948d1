// Several sheet sizes: offcut sheets first, the cheapest size or mix of sizes, limited counts.

#include "plan/SheetStockPlanner.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

int sheetsOf(const SheetStockPlan& plan, int stock) {
    int n = 0;
    for (const SheetStockPart& p : plan.parts)
        if (p.stock == stock)
            n += static_cast<int>(p.plan.sheets.size());
    return n;
}

// Every cuttable piece lies exactly once on a sheet or is listed as not cut.
void expectEveryPieceOnce(const SheetStockPlan& plan, size_t count) {
    std::vector<int> seen(count, 0);
    for (const SheetStockPart& part : plan.parts)
        for (const PlannedSheet& s : part.plan.sheets)
            for (const PlacedPiece& p : s.pieces)
                ++seen[static_cast<size_t>(part.pieces[static_cast<size_t>(p.piece)])];
    for (int u : plan.unplaced)
        ++seen[static_cast<size_t>(u)];
    EXPECT_TRUE(std::all_of(seen.begin(), seen.end(), [](int n) { return n == 1; }));
}

TEST(SheetStockPlanner, TakesTheCheapestSizeOrMixOfSizes) {
    struct Case {
        const char* what;
        std::vector<SheetPlanPiece> pieces;
        std::vector<SheetStock> stock;
        int64_t cost;
        std::vector<int> sheets; // per stock
    };
    const SheetPlanPiece half{10000, 10000, -1, 0, false};
    const SheetPlanPiece big{18000, 18000, -1, 0, false};
    const std::vector<Case> cases = {
        {"four quarters fit one large sheet cheaper than four small ones",
         {half, half, half, half},
         {{10000, 10000, 300, -1, false}, {20000, 20000, 1000, -1, false}},
         1000,
         {0, 1}},
        {"one small piece goes on the small sheet, the large one on the large sheet",
         {big, half},
         {{20000, 20000, 1000, -1, false}, {10000, 10000, 300, -1, false}},
         1300,
         {1, 1}},
        {"a free offcut sheet takes what fits before any sheet is bought",
         {half, big},
         {{20000, 20000, 1000, -1, false}, {12000, 12000, 0, 1, true}},
         1000,
         {1, 1}},
        {"a limited size runs out and the rest goes on the dearer size",
         {half, half, half},
         {{10000, 10000, 100, 2, false}, {10000, 10000, 500, -1, false}},
         700,
         {2, 1}},
    };
    for (const Case& c : cases) {
        const SheetStockPlan plan = SheetStockPlanner::plan(c.pieces, c.stock, 0, 100.0);
        EXPECT_EQ(plan.cost, c.cost) << c.what;
        for (size_t s = 0; s < c.sheets.size(); ++s)
            EXPECT_EQ(sheetsOf(plan, static_cast<int>(s)), c.sheets[s]) << c.what << " " << s;
        EXPECT_TRUE(plan.unplaced.empty()) << c.what;
        EXPECT_LE(plan.costLowerBound, plan.cost) << c.what;
        expectEveryPieceOnce(plan, c.pieces.size());
    }
}

TEST(SheetStockPlanner, APieceOnNoSheetIsNotCutAndTurningCounts) {
    const std::vector<SheetStock> stock = {{10000, 20000, 500, -1, false}};
    const std::vector<SheetPlanPiece> pieces = {
        {20000, 10000, -1, 0, false}, {20000, 10000, -1, 0, true}, {30000, 5000, -1, 0, true}};
    EXPECT_FALSE(SheetStockPlanner::fits(pieces[0], stock[0]));
    EXPECT_TRUE(SheetStockPlanner::fits(pieces[1], stock[0]));
    const SheetStockPlan plan = SheetStockPlanner::plan(pieces, stock, 40, 50.0);
    EXPECT_EQ(plan.unplaced, (std::vector<int>{0, 2}));
    EXPECT_EQ(plan.newSheets, 1);
    EXPECT_TRUE(plan.proven);
    ASSERT_EQ(plan.parts.size(), 1u);
    EXPECT_TRUE(plan.parts[0].plan.sheets[0].pieces[0].rotated);
    expectEveryPieceOnce(plan, pieces.size());
}

} // namespace

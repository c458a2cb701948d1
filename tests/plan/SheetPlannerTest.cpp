// Filling pieces on sheets: every piece inside its sheet, none overlapping, kerf between them,
// guillotine cuts only (checked here independently of the planner), grain kept, sizes that fit
// no sheet reported.

#include "plan/SheetPlanner.h"

#include <gtest/gtest.h>

#include <random>

namespace {

constexpr int32_t mm(int32_t v) {
    return v * 10;
}

struct Box {
    int64_t x0, y0, x1, y1;
};

// True when the boxes can be separated by cuts running from edge to edge of the part they lie
// in, recursively, with at least `kerf` between the two sides of every cut.
bool guillotine(std::vector<Box> boxes, int64_t kerf) {
    if (boxes.size() <= 1)
        return true;
    for (bool vertical : {true, false}) {
        std::sort(boxes.begin(), boxes.end(),
                  [&](const Box& a, const Box& b) { return vertical ? a.x0 < b.x0 : a.y0 < b.y0; });
        int64_t reach = vertical ? boxes[0].x1 : boxes[0].y1;
        for (size_t i = 1; i < boxes.size(); ++i) {
            const int64_t start = vertical ? boxes[i].x0 : boxes[i].y0;
            if (start >= reach + kerf) {
                std::vector<Box> a(boxes.begin(), boxes.begin() + static_cast<long>(i));
                std::vector<Box> b(boxes.begin() + static_cast<long>(i), boxes.end());
                return guillotine(a, kerf) && guillotine(b, kerf);
            }
            reach = std::max(reach, vertical ? boxes[i].x1 : boxes[i].y1);
        }
    }
    return false;
}

void expectSound(const SheetPlan& plan, const std::vector<SheetPlanPiece>& in, int32_t kerf) {
    std::vector<int> seen(in.size(), 0);
    for (const PlannedSheet& sheet : plan.sheets) {
        std::vector<Box> boxes;
        for (const PlacedPiece& p : sheet.pieces) {
            const SheetPlanPiece& piece = in[static_cast<size_t>(p.piece)];
            ++seen[static_cast<size_t>(p.piece)];
            // The size as it lies is the piece's size, turned only when allowed.
            if (p.rotated) {
                EXPECT_TRUE(piece.canRotate);
                EXPECT_EQ(p.width, piece.height);
                EXPECT_EQ(p.height, piece.width);
            } else {
                EXPECT_EQ(p.width, piece.width);
                EXPECT_EQ(p.height, piece.height);
            }
            EXPECT_GE(p.x, 0);
            EXPECT_GE(p.y, 0);
            EXPECT_LE(p.x + p.width, plan.sheetWidth);
            EXPECT_LE(p.y + p.height, plan.sheetHeight);
            const Box b{p.x, p.y, int64_t{p.x} + p.width, int64_t{p.y} + p.height};
            for (const Box& o : boxes) {
                const bool apart = b.x1 + kerf <= o.x0 || o.x1 + kerf <= b.x0 ||
                                   b.y1 + kerf <= o.y0 || o.y1 + kerf <= b.y0;
                EXPECT_TRUE(apart) << "pieces overlap or stand closer than the kerf";
            }
            boxes.push_back(b);
        }
        EXPECT_TRUE(guillotine(boxes, kerf)) << "a piece can only be reached by a stopped cut";
    }
    for (int p : plan.unplaced)
        ++seen[static_cast<size_t>(p)];
    for (size_t i = 0; i < in.size(); ++i)
        EXPECT_EQ(seen[i], 1) << "piece " << i;
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
        expectSound(plan, in, kerf);
        EXPECT_GE(static_cast<int>(plan.sheets.size()), plan.lowerBound);
        expectSound(SheetPlanner::firstFit(in, mm(2070), mm(2800), kerf), in, kerf);
    }
}

TEST(SheetPlannerCuts, GrainIsKeptUnlessRotationIsAllowed) {
    // 2600 high does not fit the sheet's 2070 width, and 2100 wide does not fit unturned.
    std::vector<SheetPlanPiece> in = {{mm(500), mm(2600), 0, 1, false},
                                      {mm(2100), mm(400), 0, 2, false}};
    SheetPlan plan = SheetPlanner::plan(in, mm(2070), mm(2800), mm(4));
    expectSound(plan, in, mm(4));
    EXPECT_EQ(plan.unplaced, std::vector<int>{1});
    in[1].canRotate = true;
    plan = SheetPlanner::plan(in, mm(2070), mm(2800), mm(4));
    expectSound(plan, in, mm(4));
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

// Plans of whole random orders over all nine systems, on the shipped data folder: no piece of
// the bill lost, no more bars than the bill without kerf and trim, sound sheet plans.

#include "plan/CuttingPlan.h"

#include "SheetChecks.h"
#include "support/RandomOrder.h"

#include "calc/CalcResult.h"
#include "calc/SystemFactory.h"
#include "catalog/Article.h"
#include "catalog/Catalog.h"
#include "model/Project.h"
#include "plan/OffcutStock.h"

#include <gtest/gtest.h>

namespace {

using namespace plantest;

TEST(CuttingPlanOrders, RandomOrdersKeepEveryPieceAndNeverExceedTheBill) {
    Catalog catalog(TAV_BIN_DIR, makeAllSystems);
    ASSERT_EQ(catalog.systems().size(), 9u);
    ASSERT_FALSE(catalog.materialGroups().empty());
    PlanSettings exact;
    exact.kerf = 0;
    exact.trim = 0;
    int sheetsPlanned = 0;
    for (uint32_t seed = 0; seed < 36; ++seed) {
        Project project(catalog);
        makeRandomOrder(project, seed);
        const CuttingPlan plan = CuttingPlan::build(project, exact, OffcutStock());
        size_t billPieces = 0;
        for (const BarGroup& g : project.result.barGroups)
            billPieces += g.pieces.size();
        size_t planPieces = 0;
        for (const ArticleCut& a : plan.articles) {
            size_t placed = a.plan.unplaced.size();
            for (const PlannedBar& b : a.plan.bars)
                placed += b.pieces.size();
            EXPECT_EQ(placed, a.pieces.size()) << "seed " << seed << " " << a.code;
            planPieces += a.pieces.size();
            if (!a.billError) {
                EXPECT_LE(a.plan.newBars, a.billBars) << "seed " << seed << " " << a.code;
                EXPECT_TRUE(a.plan.unplaced.empty()) << "seed " << seed << " " << a.code;
            }
            EXPECT_LE(a.plan.lowerBound, a.plan.newBars);
        }
        EXPECT_EQ(planPieces, billPieces) << "seed " << seed;
        for (const MaterialCut& m : plan.materials) {
            expectSoundSheets(m.plan, m.pieces, exact.kerf);
            sheetsPlanned += static_cast<int>(m.plan.sheets.size());
        }
    }
    EXPECT_GT(sheetsPlanned, 0);
}

TEST(CuttingPlanOrders, ThePlanKeepsToTheBillsBarsWhenCheaperShortBarsWouldNeedMore) {
    // Thirty 900 mm pieces at 100 roubles a metre: five 5500 mm bars as billed (2750 roubles),
    // or six 4500 mm bars for 2700 roubles that the workshop would have to buy beyond the bill.
    Article article(0, "KP01", 0, "Профиль", KindProfile);
    article.setSizes(0, 0, 0, 55000, 45000);
    CalcResult result;
    result.articles.push_back({"KP01", "Профиль", 55000, 5, 275000, "", 1});
    result.barGroups.push_back({&article, 10000, 0, std::vector<BarPiece>(30, {9000, 1, 0})});
    PlanSettings exact;
    exact.kerf = 0;
    exact.trim = 0;
    const CuttingPlan plan = CuttingPlan::build(result, nullptr, "", exact, OffcutStock());
    ASSERT_EQ(plan.articles.size(), 1u);
    EXPECT_EQ(plan.articles[0].plan.newBars, 5);
    EXPECT_EQ(plan.articles[0].plan.cost, 275000);
}

TEST(CuttingPlanOrders, AnOffcutAsLongAsTheMinimumIsKept) {
    // One piece on a 3000 mm bar with no kerf or trim leaves the rest; 300 mm are kept.
    struct Row {
        int32_t piece, minOffcut;
        std::vector<int32_t> kept;
    };
    const Row rows[] = {
        {27000, 3000, {3000}}, // exactly the minimum
        {27001, 3000, {}},     // a tenth of a millimetre short
        {30000, 0, {}},        // cut to the end: nothing to keep even without a minimum
        {29999, 0, {1}},
    };
    for (const Row& row : rows) {
        CuttingPlan plan;
        plan.settings.minOffcut = row.minOffcut;
        ArticleCut article;
        article.plan = BarPlanner::plan({{row.piece, 0, 1}}, {{30000, 300, -1, false}}, {});
        EXPECT_EQ(plan.keptOffcuts(article), row.kept) << row.piece << " from " << row.minOffcut;
    }
}

} // namespace

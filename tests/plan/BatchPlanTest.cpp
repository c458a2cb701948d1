// Orders cut together: every piece of every order on one plan per article and colour, named
// with its order; the store's offcuts of the same article and colour used first, exactly to the
// kerf and trim; a sheet offcut only where the grain allows; never more new bars than alone.

#include "plan/BatchPlan.h"

#include "SheetChecks.h"

#include <gtest/gtest.h>

namespace {

constexpr int32_t mm(int32_t v) {
    return v * 10;
}

// An order whose own plan has one article, KL001, on 5500 mm bars.
BatchOrder barOrder(int64_t number, const std::string& colour, std::vector<int32_t> lengths) {
    BatchOrder o;
    o.number = number;
    o.colour = colour;
    ArticleCut a;
    a.code = "KL001";
    a.stock = {{mm(5500), 5500, -1, false}};
    for (size_t i = 0; i < lengths.size(); ++i)
        a.pieces.push_back({lengths[i], static_cast<int32_t>(i / 2), static_cast<int32_t>(i) + 1});
    BarPlanner::Options options;
    options.kerf = o.plan.settings.kerf;
    options.trim = o.plan.settings.trim;
    a.plan = BarPlanner::plan(a.pieces, a.stock, options);
    o.plan.articles.push_back(std::move(a));
    return o;
}

StoreOffcut storeBar(int64_t id, const std::string& colour, int32_t length) {
    return {id, false, "kl001", colour, "", length, 0, 0, false};
}

TEST(BatchPlanBars, PiecesOfEveryOrderAreNamedAndTheStoreIsUsedToTheKerfAndTrim) {
    const PlanSettings s; // kerf 4 mm, trim 10 mm
    // 1990 + 2 × 10 trim fits an offcut of 2010 exactly, not one of 2009.9.
    const std::vector<BatchOrder> orders = {barOrder(41, "Белый глянец", {mm(1990), mm(2560)}),
                                            barOrder(42, "белый глянец ", {mm(2560), mm(700)})};
    const std::vector<StoreOffcut> exact = {storeBar(7, "БЕЛЫЙ ГЛЯНЕЦ", mm(2010)),
                                            storeBar(8, "Серебро", mm(5000))};
    BatchPlan p = BatchPlan::build(orders, exact, s, 2000.0);
    ASSERT_EQ(p.cuts.articles.size(), 1u) << "one plan for the article in one colour";
    const ArticleCut& a = p.cuts.articles[0];
    ASSERT_EQ(a.pieces.size(), 4u);
    EXPECT_EQ(a.orders, (std::vector<int64_t>{41, 41, 42, 42}));
    EXPECT_EQ(a.names[3], "42 д1 №2");
    EXPECT_TRUE(a.plan.unplaced.empty());
    EXPECT_EQ(p.usedOffcuts, std::vector<int64_t>{7}) << "the other colour is not touched";
    EXPECT_LE(p.newBars(), p.ownBars);
    for (const PlannedBar& b : a.plan.bars) {
        if (b.fromOffcut) {
            ASSERT_EQ(b.pieces.size(), 1u);
            EXPECT_EQ(a.pieces[static_cast<size_t>(b.pieces[0])].length, mm(1990));
        }
    }

    const std::vector<StoreOffcut> short1 = {storeBar(7, "Белый глянец", mm(2010) - 1)};
    p = BatchPlan::build(orders, short1, s, 2000.0);
    EXPECT_TRUE(p.usedOffcuts.empty()) << "0.1 mm short of the piece and its trims";

    // What the plan leaves of a bar, from the minimum up, goes to the store in the colour.
    for (const KeptOffcut& k : p.kept) {
        EXPECT_FALSE(k.sheet);
        EXPECT_EQ(k.colour, "Белый глянец");
        EXPECT_GE(k.length, s.minOffcut);
    }
}

TEST(BatchPlanSheets, AGrainedOffcutIsUsedOnlyWhereThePieceNeedNotTurn) {
    const PlanSettings s;
    auto order = [](bool canRotate) {
        BatchOrder o;
        o.number = 5;
        MaterialCut m;
        m.code = "ЛДСП Дуб";
        m.group = "ЛДСП";
        m.sheetWidth = mm(2070);
        m.sheetHeight = mm(2800);
        m.rotation = canRotate;
        // 900 wide along the door, 1800 high: on a 1850 × 950 offcut only when turned.
        m.pieces = {{mm(900), mm(1800), 0, 1, canRotate}};
        m.plan = SheetPlanner::plan(m.pieces, m.sheetWidth, m.sheetHeight, mm(4), 50.0);
        o.plan.materials.push_back(std::move(m));
        return o;
    };
    const std::vector<StoreOffcut> store = {
        {3, true, "лдсп дуб", "", "ЛДСП", 0, mm(1850), mm(950), false}};
    for (bool canRotate : {false, true}) {
        const BatchPlan p = BatchPlan::build({order(canRotate)}, store, s, 200.0);
        EXPECT_EQ(p.usedOffcuts.empty(), !canRotate) << canRotate;
        EXPECT_EQ(p.newSheetArea(), canRotate ? 0 : int64_t{mm(2070)} * mm(2800)) << canRotate;
        for (size_t i = 0; i < p.cuts.materials.size(); ++i) {
            const MaterialCut& m = p.cuts.materials[i];
            plantest::expectSoundSheets(m.plan, m.pieces, s.kerf);
            EXPECT_EQ(m.orders, std::vector<int64_t>{5});
        }
    }
}

// An order's own plan asks the store without taking anything: per article the offcuts a plan of
// the order alone would cut (where they save new bars), exactly to the trim, in the order's
// colour only.
TEST(BatchPlanStore, AnOrdersOwnPlanCountsWhatTheStoreCouldGive) {
    const struct {
        const char* what;
        std::vector<StoreOffcut> store;
        int fromStore;
    } cases[] = {
        // Alone the three pieces take two bars; the 1990 on an offcut leaves one.
        {"exactly the piece and its trims", {storeBar(7, "белый глянец", mm(2010))}, 1},
        {"0.1 mm short", {storeBar(7, "Белый глянец", mm(2010) - 1)}, 0},
        {"another colour", {storeBar(7, "Серебро", mm(5000))}, 0},
        {"one for each piece",
         {storeBar(7, "Белый глянец", mm(2010)), storeBar(8, "Белый глянец", mm(2580)),
          storeBar(9, "Белый глянец", mm(2580))},
         3},
        {"none at all", {}, 0},
    };
    for (const auto& c : cases) {
        CuttingPlan own = barOrder(41, "", {mm(1990), mm(2560), mm(2560)}).plan;
        const CuttingPlan before = own;
        BatchPlan::countFromStore(own, "Белый глянец", c.store, 500.0);
        ASSERT_EQ(own.articles.size(), 1u);
        EXPECT_EQ(own.articles[0].fromStore, c.fromStore) << c.what;
        // The plan itself stays the order's own.
        EXPECT_EQ(own.articles[0].plan.newBars, before.articles[0].plan.newBars) << c.what;
        EXPECT_EQ(own.articles[0].plan.offcutsUsed, 0) << c.what;
    }

    // A sheet offcut counts only where the grain lets the piece lie on it.
    for (bool canRotate : {false, true}) {
        BatchOrder o;
        MaterialCut m;
        m.code = "ЛДСП Дуб";
        m.group = "ЛДСП";
        m.sheetWidth = mm(2070);
        m.sheetHeight = mm(2800);
        m.rotation = canRotate;
        m.pieces = {{mm(900), mm(1800), 0, 1, canRotate}};
        m.plan = SheetPlanner::plan(m.pieces, m.sheetWidth, m.sheetHeight, mm(4), 50.0);
        o.plan.materials.push_back(std::move(m));
        BatchPlan::countFromStore(
            o.plan, "", {{3, true, "лдсп дуб", "", "лдсп", 0, mm(1850), mm(950), false}}, 200.0);
        EXPECT_EQ(o.plan.materials[0].fromStore, canRotate ? 1 : 0) << canRotate;
    }
}

} // namespace

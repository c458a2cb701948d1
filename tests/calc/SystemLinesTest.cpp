// Stock bars, lengths, pieces and roller kits: the article rows and their cut rows.
#include "support/CalcTestSupport.h"

#include "calc/CalcResult.h"
#include "catalog/ProfileColor.h"

#include <gtest/gtest.h>

using calctest::Records;
using calctest::TestSystem;

namespace {

class PackBarsTest : public ::testing::Test {
protected:
    TestSystem system{SystemLoven};
    Records records;
    // A handle profile (bar-sold, kind 0) at 100,00 per metre with 500 mm bars.
    Article* bar = records.article("BAR", KindHandle, 10000, 5000);
};

} // namespace

TEST_F(PackBarsTest, PiecesFillBarsInOrder) {
    const ArticleRow row = system.packBars(*bar, {2000, 2000, 2000}, nullptr);
    EXPECT_EQ(row.quantity, 2); // the first bar holds two pieces
    EXPECT_EQ(row.stockLength, 5000);
    EXPECT_EQ(row.counted, 1);
    EXPECT_EQ(row.cost, 2 * 5000); // 100,00 per metre × 0,5 m per bar
    EXPECT_TRUE(row.error.empty());
    EXPECT_EQ(row.code, "BAR");
    EXPECT_EQ(row.name, "Артикул BAR");
}

TEST_F(PackBarsTest, PieceExactlyAsLongAsTheRoomStillFits) {
    EXPECT_EQ(system.packBars(*bar, {5000}, nullptr).quantity, 1);
    EXPECT_EQ(system.packBars(*bar, {3000, 2000}, nullptr).quantity, 1);
    EXPECT_EQ(system.packBars(*bar, {3000, 2001}, nullptr).quantity, 2);
    EXPECT_TRUE(system.packBars(*bar, {5000, 5000}, nullptr).error.empty());
}

TEST_F(PackBarsTest, TooLongPieceStopsPackingWithError) {
    ArticleRow row = system.packBars(*bar, {3000, 6000, 1000, 1000}, nullptr);
    EXPECT_EQ(row.quantity, 1);
    EXPECT_EQ(row.error, "ОШИБКА! Есть отрезки профилей больше 0,5 м.");

    row = system.packBars(*bar, {6000}, nullptr);
    EXPECT_EQ(row.quantity, 1);
    EXPECT_EQ(row.cost, 5000);
    EXPECT_FALSE(row.error.empty());
}

TEST_F(PackBarsTest, StockChoiceSelectsTheBar) {
    bar->setSizes(0, 0, 0, 5000, 6000, 4000);
    bar->stockChoice = 2;
    ArticleRow row = system.packBars(*bar, {3000, 3000}, nullptr);
    EXPECT_EQ(row.stockLength, 6000);
    EXPECT_EQ(row.quantity, 1);
    bar->stockChoice = 3;
    row = system.packBars(*bar, {3000, 3000}, nullptr);
    EXPECT_EQ(row.stockLength, 4000);
    EXPECT_EQ(row.quantity, 2);
    bar->stockChoice = 7; // any other value: the first length
    EXPECT_EQ(system.packBars(*bar, {3000}, nullptr).stockLength, 5000);
}

TEST_F(PackBarsTest, ArticlesNotSoldInBarsGiveTotalLength) {
    for (int32_t kind : {KindSplitter, KindPart, KindProfile, KindByLength}) {
        Article* a = records.article("LEN", kind, 1234, 5000);
        const ArticleRow row = system.packBars(*a, {6000, 2500}, nullptr);
        EXPECT_EQ(row.quantity, 8500) << kind;
        EXPECT_EQ(row.stockLength, 0) << kind;
        EXPECT_EQ(row.counted, 0) << kind;
        EXPECT_EQ(row.cost, 1048) << kind; // 12,34 × 0,85 = 10,489 truncated
        EXPECT_TRUE(row.error.empty()) << kind;
    }
    for (int32_t kind : {KindRearDoor, KindMainFrame})
        EXPECT_EQ(system.packBars(*records.article("B", kind, 0, 5000), {1}, nullptr).counted, 1);
}

TEST_F(PackBarsTest, ColourSelectsPriceCategoryBasePriceIgnoresIt) {
    Article* a = records.article("COL", KindProfile);
    a->prices = {1000, 0, 1500, 0, 0, 0, 0, 0};
    CategoryRow anod{};
    anod.fill(1);
    anod[0] = 3; // the test system has index 0
    ProfileColor color(0, "Хром", 0, 0);
    color.categoryRow = &anod;
    EXPECT_EQ(system.makeArticleRow(*a, 10000, &color).cost, 1500);
    EXPECT_EQ(system.makeArticleRow(*a, 10000, nullptr).cost, 1000);
    anod[0] = 2; // premium has no price: the standard one
    EXPECT_EQ(system.makeArticleRow(*a, 10000, &color).cost, 1000);

    anod[0] = 3;
    CalcResult result;
    system.addPieceLine(result, *a, 3);
    EXPECT_EQ(result.articles.back().cost, 3000); // pieces always at the base price
}

TEST_F(PackBarsTest, LinesNumberTheirGroups) {
    CalcResult result;
    Article* brush = records.article("KL13", KindByLength, 1000);
    Article* stop = records.article("KL14", KindPart, 250);
    system.addBarGroup(result, *bar, {{2000, 2000, 7, 0}, {1500, 2000, 9, 1}}, nullptr);
    system.addLengthLine(result, *brush, 78405, nullptr);
    system.addPieceLine(result, *stop, 4);

    ASSERT_EQ(result.articles.size(), 3u);
    ASSERT_EQ(result.cutList.size(), 4u);
    const CutPieceRow& first = result.cutList[0];
    EXPECT_EQ(first.number, "1-1");
    EXPECT_EQ(first.length, "200,0");
    EXPECT_EQ(first.mark, "7");
    EXPECT_EQ(first.doorIndex, 0);
    EXPECT_EQ(result.cutList[1].number, "1-2");
    EXPECT_EQ(result.cutList[1].length, "200,0"); // the shown length, not the cut one
    EXPECT_EQ(result.cutList[1].doorIndex, 1);

    const CutPieceRow& length = result.cutList[2];
    EXPECT_EQ(length.number, "2-0");
    EXPECT_EQ(length.length, "7840,5");
    EXPECT_EQ(length.mark, "0");
    EXPECT_EQ(length.doorIndex, -1);
    EXPECT_EQ(result.articles[1].quantity, 78405);
    EXPECT_EQ(result.articles[1].counted, 0);
    EXPECT_EQ(result.articles[1].cost, 7840);

    const CutPieceRow& pieces = result.cutList[3];
    EXPECT_EQ(pieces.number, "3-0");
    EXPECT_EQ(pieces.length, "4");
    EXPECT_EQ(result.articles[2].cost, 1000);
    EXPECT_EQ(result.articles[2].counted, 1);
    EXPECT_EQ(result.profileGroupCounter, 4);
}

TEST_F(PackBarsTest, LookupsCompareCodesExactly) {
    system.systemArticles = {records.article("KL14", KindPart), records.article("kl14", KindPart)};
    EXPECT_EQ(system.articleByCode("kl14"), system.systemArticles[1]);
    EXPECT_EQ(system.articleByCode("KL14"), system.systemArticles[0]);
    EXPECT_EQ(system.articleByCode("Kl14"), nullptr);
    CalcResult result;
    system.addPieceLine(result, "KL99", 2); // a missing code adds nothing
    EXPECT_TRUE(result.articles.empty());
    EXPECT_EQ(result.profileGroupCounter, 1);
}

// --- roller kits ---

namespace {

class RollerKitTest : public ::testing::Test {
protected:
    TestSystem system{SystemLoven};
    Records records;
    HandleProfile* asymmetric = records.handle("H1", 260, 252, 171, 55000, 1);
    HandleProfile* symmetric = records.handle("H0", 260, 252, 171, 55000, 0);
    DoorSet doors{30000, 20000, 3, asymmetric, false};

    void useHandle(HandleProfile* h) {
        doors.handleProfile = h;
        doors.doors[0].edges[EdgeLeft].profile = h;
    }
};

} // namespace

TEST_F(RollerKitTest, FitDependsOnRollerTypeAndHandle) {
    RollerKit* any = records.kit("K0", 0, 0, 1);
    RollerKit* sym = records.kit("K1", 1, 0, 1);
    RollerKit* asym = records.kit("K2", 2, 0, 1);
    RollerKit* odd = records.kit("K3", 3, 0, 1);
    useHandle(asymmetric);
    EXPECT_TRUE(system.rollerKitFits(doors, any));
    EXPECT_FALSE(system.rollerKitFits(doors, sym));
    EXPECT_TRUE(system.rollerKitFits(doors, asym));
    EXPECT_FALSE(system.rollerKitFits(doors, odd));
    useHandle(symmetric);
    EXPECT_TRUE(system.rollerKitFits(doors, sym));
    EXPECT_FALSE(system.rollerKitFits(doors, asym));
    EXPECT_FALSE(system.rollerKitFits(doors, nullptr));
    doors.doors[0].edges[EdgeLeft].profile = nullptr; // no handle edge: anything fits
    EXPECT_TRUE(system.rollerKitFits(doors, asym));
}

TEST_F(RollerKitTest, PacksPerSetOrPerDoor) {
    EXPECT_EQ(system.rollerKitPacks(3, records.kit("S", 0, 1, 2)), 2);
    EXPECT_EQ(system.rollerKitPacks(4, records.kit("S", 0, 1, 2)), 2);
    EXPECT_EQ(system.rollerKitPacks(3, records.kit("D", 0, 0, 2)), 6);
    EXPECT_EQ(system.rollerKitPacks(3, records.kit("Z", 0, 1, 0)), 3); // no division by zero
    EXPECT_EQ(system.rollerKitPacks(3, nullptr), 0);
}

TEST_F(RollerKitTest, SelectedKitIsTestedAutomaticKitIsNot) {
    useHandle(asymmetric);
    RollerKit* sym = records.kit("KSYM", 1, 0, 1, 1500);
    CalcResult result;
    system.addRollerKitLine(result, doors, sym); // automatic: never tested
    ASSERT_EQ(result.articles.size(), 1u);
    EXPECT_TRUE(result.articles[0].error.empty());
    EXPECT_EQ(result.articles[0].quantity, 3);
    EXPECT_EQ(result.articles[0].cost, 4500);
    EXPECT_EQ(result.cutList[0].length, "3");

    system.selectedRollerKit = sym;
    system.addRollerKitLine(result, doors, nullptr);
    ASSERT_EQ(result.articles.size(), 2u);
    EXPECT_EQ(result.articles[1].error, "ОШИБКА: Ролики не подходят к выбранным ручкам.");
    EXPECT_EQ(result.articles[1].quantity, 3); // the row is still added and priced
    result.recomputeTotal();
    EXPECT_EQ(result.total, 0);
}

TEST_F(RollerKitTest, KitListAndCount) {
    RollerKit* a = records.kit("A", 0, 0, 1);
    RollerKit* b = records.kit("B", 0, 0, 1);
    system.systemArticles = {records.article("X", KindPart), a, b};
    EXPECT_EQ(system.rollerKits(), (std::vector<RollerKit*>{a, b}));
    EXPECT_EQ(system.rollerKitCount(), 0); // nothing selected
    EXPECT_EQ(system.selectedRollerKitCode(), "");
    system.selectedRollerKit = b;
    EXPECT_EQ(system.rollerKitCount(), 2);
    EXPECT_EQ(system.selectedRollerKitCode(), "B");
}

#include "calc/Totals.h"
#include "calc/CalcResult.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

ArticleRow article(int32_t cost, const std::string& error = std::string()) {
    ArticleRow row;
    row.code = "A";
    row.cost = cost;
    row.error = error;
    return row;
}

FillingRow filling(int32_t cost, const std::string& error = std::string()) {
    FillingRow row;
    row.code = "M";
    row.cost = cost;
    row.error = error;
    return row;
}

} // namespace

TEST(DiscountTest, RoundsUpToTheNextKopeck) {
    EXPECT_EQ(totals::discountAmount(123456, 10.0), 12346);
    EXPECT_EQ(totals::discountAmount(1001, 12.5), 126);
    EXPECT_EQ(totals::discountAmount(1, 0.5), 1);
}

TEST(DiscountTest, ExactDecimalPercentHasNoBinaryError) {
    // 7 / 100 × 100 in doubles lies just above 7 and would round up to 8.
    EXPECT_EQ(totals::discountAmount(100, 7.0), 7);
    EXPECT_EQ(totals::discountAmount(10000, 7.0), 700);
    EXPECT_EQ(totals::discountAmount(300, 0.07 * 100), 21);
    EXPECT_EQ(totals::discountAmount(1000000, 33.3), 333000);
}

TEST(DiscountTest, BoundsOfThePercent) {
    EXPECT_EQ(totals::discountAmount(98765, 0.0), 0);
    EXPECT_EQ(totals::discountAmount(98765, 100.0), 98765);
    EXPECT_EQ(totals::discountAmount(0, 50.0), 0);
    EXPECT_EQ(totals::discountAmount(2147483647, 100.0), 2147483647);
    // The largest money value: no intermediate may overflow.
    EXPECT_EQ(totals::discountAmount(totals::kMaxMoney, 100.0), totals::kMaxMoney);
    EXPECT_EQ(totals::discountAmount(totals::kMaxMoney, 10.0), totals::kMaxMoney / 10);
    // A damaged percent is held at 1000 %.
    EXPECT_EQ(totals::discountAmount(1000, 1e30), 10000);
    EXPECT_EQ(totals::discountAmount(1000, std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(totals::discountAmount(1000, std::numeric_limits<double>::infinity()), 0);
}

TEST(DiscountTest, NegativeTotalRoundsTowardPositive) {
    // ceil of -0.7 is 0, of -1.5 is -1.
    EXPECT_EQ(totals::discountAmount(-7, 10.0), 0);
    EXPECT_EQ(totals::discountAmount(-15, 10.0), -1);
}

TEST(GrandTotalTest, AddsOnlyPositiveAssemblyAndDelivery) {
    EXPECT_EQ(totals::grandTotal(100000, 1000, 1500, 300), 100000 - 1000 + 150000 + 30000);
    EXPECT_EQ(totals::grandTotal(100000, 0, 0, -5), 100000);
    EXPECT_EQ(totals::grandTotal(100000, 100000, 1500, 0), 150000);
}

TEST(GrandTotalTest, TextShowsRoublesOrError) {
    EXPECT_EQ(totals::grandTotalText(123450, 123450), "1234,50 руб.");
    EXPECT_EQ(totals::grandTotalText(5, 5), "  0,05 руб.");
    // The test is on the total, not on the grand total: an error with assembly still fails.
    EXPECT_EQ(totals::grandTotalText(0, 150000), "ОШИБКА");
    EXPECT_EQ(totals::grandTotalText(-10, 5), "ОШИБКА");
}

TEST(RecomputeTotalTest, SumsArticlesThenFillings) {
    CalcResult r;
    r.articles = {article(1000), article(250)};
    r.fillings = {filling(300), filling(0)};
    r.recomputeTotal();
    EXPECT_EQ(r.total, 1550);
}

TEST(RecomputeTotalTest, AnErrorRowZeroesTheTotal) {
    CalcResult r;
    r.articles = {article(1000), article(250, "ОШИБКА"), article(99)};
    r.fillings = {filling(300)};
    r.recomputeTotal();
    EXPECT_EQ(r.total, 0);

    r.articles = {article(1000)};
    r.fillings = {filling(300), filling(20, "ОШИБКА")};
    r.recomputeTotal();
    EXPECT_EQ(r.total, 0);
}

TEST(RecomputeTotalTest, FillingsAreNotAddedWithoutPricedArticles) {
    CalcResult r;
    r.articles = {article(0)};
    r.fillings = {filling(300)};
    r.recomputeTotal();
    EXPECT_EQ(r.total, 0);
}

TEST(RecomputeTotalTest, DirtyFlagGovernsLazyRecompute) {
    CalcResult r;
    r.articles = {article(10000)};
    r.discountPercent = 7.0;
    EXPECT_EQ(r.discountAmount(), 700);
    EXPECT_EQ(r.pricesDirty, 0);
    // A change without raising the flag is not seen by readers ...
    r.articles.push_back(article(10000));
    EXPECT_EQ(r.priceTotal(), 10000);
    // ... and is seen once the flag is raised; recomputeTotal alone leaves the flag as it is.
    r.pricesDirty = 1;
    r.recomputeTotal();
    EXPECT_EQ(r.pricesDirty, 1);
    EXPECT_EQ(r.priceTotal(), 20000);
    EXPECT_EQ(r.pricesDirty, 0);
}

TEST(RecomputeTotalTest, ClearRestartsCountersAndRaisesDirty) {
    CalcResult r;
    r.articles = {article(1)};
    r.elements.resize(3);
    r.profileGroupCounter = 7;
    r.fillingGroupCounter = 4;
    r.pricesDirty = 0;
    r.clear();
    EXPECT_TRUE(r.articles.empty());
    EXPECT_TRUE(r.elements.empty());
    EXPECT_EQ(r.profileGroupCounter, 1);
    EXPECT_EQ(r.fillingGroupCounter, 1);
    EXPECT_EQ(r.pricesDirty, 1);
}

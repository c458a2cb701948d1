// Money at the prices the data files allow: rows and totals beyond 21 474 836,47 руб. (the reach
// of 32 bits) come out exact, and what cannot be shown to the kopeck becomes a row error.
#include "support/CalcTestSupport.h"

#include "calc/CalcResult.h"
#include "calc/Totals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using calctest::Records;
using calctest::TestSystem;

TEST(Money, RowsBeyondThirtyTwoBitsAreExact) {
    Records records;
    TestSystem s(SystemLoven);
    CalcResult result;

    // 20 000 000 руб. per metre (close to the price files' limit) over 10 m of a length article.
    const Article* rail = records.article("R", KindByLength, 2000000000);
    ArticleRow length = s.makeArticleRow(*rail, 100000, nullptr);
    EXPECT_EQ(length.cost, int64_t{20000000000});
    EXPECT_EQ(length.error, "");

    // Three 5 m bars at 2 000 000 руб. per metre.
    const Article* handle = records.article("H", KindHandle, 200000000, 50000);
    ArticleRow bars = s.packBars(*handle, {40000, 40000, 40000}, nullptr);
    EXPECT_EQ(bars.quantity, 3);
    EXPECT_EQ(bars.cost, int64_t{3000000000});

    // Ten pieces at 20 000 000 руб.
    const Article* kit = records.article("K", KindPart, 2000000000);
    s.addPieceLine(result, *kit, 10);
    EXPECT_EQ(result.articles.back().cost, int64_t{20000000000});

    // 1000 m² of glass at 30 000 руб./m².
    DoorSet doors{1000000, 100000, 1, nullptr, false};
    Insert& in = doors.doors[0].inserts.begin()->second;
    in.material = records.material("G", 40, 3000000);
    in.fillWidth = 1000000;
    in.fillHeight = 100000;
    s.calculateFillings(doors, result);
    ASSERT_EQ(result.fillings.size(), 1u);
    EXPECT_EQ(result.fillings[0].cost, int64_t{3000000000});

    // The total, the discount and the grand total follow in 64 bits.
    result.pricesDirty = 1;
    EXPECT_EQ(result.priceTotal(), int64_t{23000000000});
    EXPECT_EQ(result.discountAmount(), 0);
    result.discountPercent = 10.0;
    result.pricesDirty = 1;
    EXPECT_EQ(result.discountAmount(), int64_t{2300000000});
    EXPECT_EQ(totals::grandTotal(result.priceTotal(), result.discountAmount(), 1500, 300),
              int64_t{20700000000} + 180000);
    EXPECT_EQ(totals::grandTotalText(result.priceTotal(), 20700180000), "207001800,00 руб.");
}

TEST(Money, AmountsBeyondWhatPrintsToTheKopeckBecomeRowErrors) {
    for (double amount : {1e16, -1e16, std::numeric_limits<double>::infinity(),
                          std::numeric_limits<double>::quiet_NaN()}) {
        SCOPED_TRACE(amount);
        int64_t cost = totals::kopecksOf(amount);
        std::string error;
        totals::refuseUnfitCost(cost, error);
        EXPECT_EQ(error, totals::kCostTooLarge);
        EXPECT_EQ(cost, 0);
    }
    int64_t cost = totals::kopecksOf(static_cast<double>(totals::kMaxMoney));
    std::string error;
    totals::refuseUnfitCost(cost, error);
    EXPECT_EQ(error, "");
    EXPECT_EQ(cost, totals::kMaxMoney);

    // Rows that each fit but add up beyond the limit give no total, as an error row would.
    CalcResult result;
    for (int i = 0; i < 3; ++i) {
        ArticleRow row;
        row.cost = totals::kMaxMoney / 2;
        result.articles.push_back(row);
    }
    EXPECT_EQ(result.priceTotal(), 0);
    EXPECT_EQ(totals::grandTotalText(result.priceTotal(), 0), "ОШИБКА");
}

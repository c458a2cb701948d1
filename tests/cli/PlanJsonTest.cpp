// The plan JSON read back: a batch's plan kept in the journal prints again as it was.

#include "output/PlanJson.h"

#include "plan/CutListPlan.h"

#include <gtest/gtest.h>

namespace {

// The JSON of a plan, without what reading back cannot know: the first-fit comparison and the
// planners' times.
nlohmann::json comparable(nlohmann::json j) {
    for (auto& m : j["materials"]) {
        m.erase("firstFitSheets");
        m.erase("millis");
    }
    for (auto& a : j["articles"])
        a.erase("millis");
    return j;
}

TEST(PlanJsonReading, APlanReadBackWritesTheSameJson) {
    // Bars with a kept rest and a piece too long; sheets of two sizes, a turned piece, an offcut
    // sheet, rests, and a piece larger than every sheet.
    CutList list;
    list.settings.plan.minOffcut = 2000;
    list.pieces = {
        {"Брус", "Стойка", 25600, 0, 3, true, 2},  {"Брус", "Ригель", 9000, 0, 2, true, 3},
        {"Брус", "Длинная", 70000, 0, 1, true, 4}, {"ДСП", "Полка", 8000, 4000, 5, true, 5},
        {"ДСП", "Бок", 21000, 6000, 2, false, 6},  {"ДСП", "Плита", 40000, 30000, 1, false, 7}};
    list.stock = {{"Брус", 60000, 0, -1, 45000, 2},
                  {"ДСП", 28000, 20700, -1, 350000, 3},
                  {"ДСП", 12000, 9000, 1, 0, 4}};
    const CutListPlan planned = CutListPlan::build(list);
    const nlohmann::json written = planJson(planned.cuts);
    const nlohmann::json again = planJson(planFromJson(written));
    EXPECT_EQ(comparable(again), comparable(written)) << written.dump(1);

    // Pieces of several orders keep their orders.
    CuttingPlan batch = planned.cuts;
    batch.articles[0].orders.assign(batch.articles[0].pieces.size(), 41);
    batch.materials[0].orders.assign(batch.materials[0].pieces.size(), 42);
    const nlohmann::json withOrders = planJson(batch);
    const CuttingPlan read = planFromJson(withOrders);
    EXPECT_EQ(read.articles[0].orders, batch.articles[0].orders);
    EXPECT_EQ(comparable(planJson(read)), comparable(withOrders));
    EXPECT_THROW(planFromJson(nlohmann::json::object()), nlohmann::json::exception);
}

} // namespace

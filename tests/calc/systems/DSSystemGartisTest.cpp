// Гартис: rail and frame variants with their commands, door sizing on every recalculation, the
// hardware counted per door; one whole order checked by hand.
#include "support/SystemBillSupport.h"

#include "calc/systems/DSSystemGartis.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

using namespace billtest;

namespace {

class GartisTest : public SystemBillTest {
protected:
    DSSystemGartis& gartis() { return *dynamic_cast<DSSystemGartis*>(project->system); }
    std::string variants() {
        return gartis().railVariant->code + "/" + gartis().frameVariant->code;
    }
};

} // namespace

TEST_F(GartisTest, NextVariantCommands) {
    build("Гартис", "");
    EXPECT_EQ(variants(), "KG01/KG04");
    // The frame toggles between KG03 and KG04 on the two-runner rail.
    gartis().nextFrameVariant();
    EXPECT_EQ(variants(), "KG01/KG03");
    gartis().nextFrameVariant();
    EXPECT_EQ(variants(), "KG01/KG04");
    gartis().nextFrameVariant();
    // The single-runner rail only takes the mortise frame KG04.
    gartis().nextRailVariant();
    EXPECT_EQ(variants(), "KG02/KG04");
    gartis().nextFrameVariant();
    EXPECT_EQ(variants(), "KG02/KG04");
    // Back to KG01: the frame stays.
    gartis().nextRailVariant();
    EXPECT_EQ(variants(), "KG01/KG04");
}

TEST_F(GartisTest, OneDoorOnTheTwoRunnerRail) {
    build("Гартис", "");
    EXPECT_EQ(project->handleProfile, nullptr);
    EXPECT_EQ(project->color, nullptr);
    ASSERT_TRUE(project->setDoorCount(1));
    // No overlap for one door; the mortise frame KG04 takes 45 mm of the height.
    EXPECT_EQ(door(0).width, 30000);
    EXPECT_EQ(door(0).height, 20000 - 450);
    const CalcResult& r = project->result;
    const ArticleRow* stopper = findArticle(r, "KG07");
    ASSERT_NE(stopper, nullptr);
    EXPECT_EQ(stopper->quantity, 0);
    EXPECT_EQ(stopper->cost, 0);
    EXPECT_EQ(findArticle(r, "KG10"), nullptr);
    EXPECT_EQ(findArticle(r, "KG14"), nullptr);
    EXPECT_EQ(findArticle(r, "KG15"), nullptr);
    EXPECT_EQ(findArticle(r, "KG03"), nullptr);
    EXPECT_EQ(findArticle(r, "KG04")->quantity, 2 * 30000);
}

TEST_F(GartisTest, SingleRunnerRailDropsStoppersAndCorners) {
    build("Гартис", "");
    gartis().nextFrameVariant();
    project->recalculate(false);
    EXPECT_NE(findArticle(project->result, "KG14"), nullptr);
    gartis().nextRailVariant();
    project->recalculate(false);
    const CalcResult& r = project->result;
    EXPECT_EQ(variants(), "KG02/KG04");
    EXPECT_EQ(findArticle(r, "KG07"), nullptr);
    EXPECT_EQ(findArticle(r, "KG14"), nullptr);
    EXPECT_EQ(findArticle(r, "KG15"), nullptr);
    // The rail and the frame each once over the opening; doors W / n without overlap.
    EXPECT_EQ(findArticle(r, "KG02")->quantity, 30000);
    EXPECT_EQ(findArticle(r, "KG04")->quantity, 30000);
    EXPECT_EQ(door(0).width, 10000);
}

TEST_F(GartisTest, SketchEditsResizeTheDoorsKeepingTheirProportions) {
    build("Гартис", "");
    // Three doors: (2 × 5 mm + 3000 mm) / 3 = 10033, nominal 30099.
    ASSERT_EQ(door(0).width, 10033);
    ASSERT_EQ(doors().doorsNominalWidth, 30099);
    // Widths set by hand survive an edit on the sketch.
    door(0).width = 8000;
    door(1).width = 12033;
    door(2).width = 10066;
    project->recalculate(true);
    EXPECT_EQ(door(0).width, 8000);
    EXPECT_EQ(door(1).width, 12033);
    EXPECT_EQ(door(2).width, 10066);
    // The frame variant changes the height at once, even on a sketch edit.
    gartis().nextFrameVariant();
    project->doors->resizeAllDoors = true;
    project->recalculate(true);
    EXPECT_EQ(door(0).height, 20000 - 160);
    // ... and the doors keep their proportions of the nominal width.
    EXPECT_EQ(door(0).width, 8000);
    EXPECT_EQ(door(1).width, 12033);
}

// Гартис has no handle profile, so no colour: every line is at the first price.
const char* const kGartisPrices = "KG01;;500\n"
                                  "KG03;;300\n"
                                  "KG05;;250\n"
                                  "KG16;;40\n"
                                  "KG06;;5\n"
                                  "KG07;;150\n"
                                  "KG08;;80\n"
                                  "KG09;;80\n"
                                  "KG10;;90\n"
                                  "KG11;;20\n"
                                  "KG12/KG13;;3,5\n"
                                  "KG14;;60\n"
                                  "KG15;;65\n";

TEST_F(GartisTest, ThreeDoorOrderWithTheSurfaceFrame) {
    build("Гартис", kGartisPrices);
    gartis().nextFrameVariant();
    ASSERT_EQ(variants(), "KG01/KG03");
    ASSERT_TRUE(project->setHeight(24000));
    ASSERT_EQ(project->doorCount, 3);
    // Without a splitter profile no splitter can be added: every door is one filling.
    ASSERT_EQ(project->splitterProfile, nullptr);

    // Height 24000 - 160 = 23840 (frame KG03). Tracks 0, 1, 0 on the two-runner rail:
    // (2 × 50 + 30000) / 3 = 10033; nominal 30099.
    ASSERT_EQ(door(0).height, 23840);
    ASSERT_EQ(door(1).width, 10033);
    door(0).inserts.at(1).material = material("zr.jpg");
    door(1).inserts.at(1).material = material("dsp.jpg");
    door(2).inserts.at(1).material = material("p10.jpg");
    project->recalculate(true);
    const CalcResult& r = project->result;

    // 1. Rail KG01: 30000 × 500,00 = 150000.  2. Frame KG03 twice the opening on KG01: 60000 ×
    //    300,00 = 180000.  3. Rollers KG05: 2 per door = 6 × 250,00; KG16: 2 × 3 × 40,00.
    // 4. KG06 2 × 3 × 5,00; KG07 (3 - 1) × 150,00; KG08 and KG09 once × 80,00; KG10 (3 - 2) ×
    //    90,00.  5. KG11 (2 × 3 + 1) × 20,00; KG12/KG13 4 × 3 × 3,50.
    // 6. Surface frame: KG14 2 × floor(3 / 2) = 2 × 60,00; KG15 2 × ceil(3 / 2) = 4 × 65,00.
    expectArticles(r, {{"KG01", 0, 30000, 150000, 0},
                       {"KG03", 0, 60000, 180000, 0},
                       {"KG05", 0, 6, 150000, 1},
                       {"KG16", 0, 6, 24000, 1},
                       {"KG06", 0, 6, 3000, 1},
                       {"KG07", 0, 2, 30000, 1},
                       {"KG08", 0, 1, 8000, 1},
                       {"KG09", 0, 1, 8000, 1},
                       {"KG10", 0, 1, 9000, 1},
                       {"KG11", 0, 7, 14000, 1},
                       {"KG12/KG13", 0, 12, 4200, 1},
                       {"KG14", 0, 2, 12000, 1},
                       {"KG15", 0, 4, 26000, 1}});
    expectCuts(r, {{"1-0", "KG01", "3000,0", "0", -1},
                   {"2-0", "KG03", "6000,0", "0", -1},
                   {"3-0", "KG05", "6", "0", -1},
                   {"4-0", "KG16", "6", "0", -1},
                   {"5-0", "KG06", "6", "0", -1},
                   {"6-0", "KG07", "2", "0", -1},
                   {"7-0", "KG08", "1", "0", -1},
                   {"8-0", "KG09", "1", "0", -1},
                   {"9-0", "KG10", "1", "0", -1},
                   {"10-0", "KG11", "7", "0", -1},
                   {"11-0", "KG12/KG13", "12", "0", -1},
                   {"12-0", "KG14", "2", "0", -1},
                   {"13-0", "KG15", "4", "0", -1}});
    // The assembly sheet's share of the parts fitted to each door: front-door corners on door 2,
    // rear-door corners on doors 1 and 3, two guide parts and two screws on every door.
    const std::map<std::string, std::vector<int64_t>> perDoor = {
        {"KG16", {2, 2, 2}}, {"KG06", {2, 2, 2}}, {"KG14", {0, 2, 0}}, {"KG15", {2, 0, 2}}};
    for (const auto& [code, shares] : perDoor) {
        const auto line = std::find_if(r.doorShares.begin(), r.doorShares.end(),
                                       [&](const DoorShareLine& l) { return l.code == code; });
        ASSERT_NE(line, r.doorShares.end()) << code;
        EXPECT_EQ(line->kind, DoorShareKind::Part) << code;
        std::vector<int64_t> amounts;
        for (const DoorShare& share : line->perDoor)
            amounts.push_back(share.amount);
        EXPECT_EQ(amounts, shares) << code;
    }

    // Fillings: no edges, so every filling starts as the whole door 10033 × 23840. Nothing above
    // or below: a 4 mm filling loses 1 mm at each side, moves 1,5 mm off the left frame and
    // loses 1,5 mm at the right one (10033 - 20 - 15 = 9998); a 10 mm one loses 1 mm at each
    // side (10013); 16 mm stays.
    // DSP16: 1,0033 × 2,384 = 2,3918672 m², ceil(80000 × …) = 191350.
    // P10: 1,0013 × 2,384 = 2,3870992 m² → 358065. ZR4: 0,9998 × 2,384 = 2,3835232 m² → 476705.
    expectFillings(r, {{"DSP16", 160, 2.3918672, 191350},
                       {"P10", 100, 2.3870992, 358065},
                       {"ZR4", 40, 2.3835232, 476705}});
    expectPieces(r, {{"1-1", "DSP16", "2384", "1003", "2", 1},
                     {"2-1", "P10", "2384", "1001", "3", 2},
                     {"3-1", "ZR4", "2384", "1000", "1", 0}});
}

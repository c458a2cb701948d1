// Фольм: cabinet heights, doors framed all round by the handle profile, the splitters' cover strip
// with its minimum length, the shared tracks, the kits and hardware sets, the glass seal; one
// whole order checked by hand.
#include "support/SystemBillSupport.h"

using namespace billtest;

namespace {

class FolmTest : public SystemBillTest {};

} // namespace

TEST_F(FolmTest, CabinetHeightAndDoorWidth) {
    build("Фольм", "");
    EXPECT_EQ(project->plinthHeight, 650);
    EXPECT_EQ(project->system->minPlinthHeight(), 650);
    ASSERT_TRUE(project->setDoorCount(2));
    // 2000 - 16 - 65 + 43 mm; two doors on alternating tracks: (30000 - 40 + 140) / 2.
    EXPECT_EQ(door(0).height, 20000 - 160 - 650 + 430);
    EXPECT_EQ(door(0).width, 15050);
    EXPECT_EQ(doors().doorsNominalWidth, 30100);
    // The handle profile on all four sides; the horizontals as long as the door is wide.
    for (int side : {EdgeLeft, EdgeTop, EdgeRight, EdgeBottom})
        EXPECT_EQ(door(1).edges[side].profile, project->handleProfile);
    EXPECT_EQ(door(1).edges[EdgeTop].cutLength, 15050);
    EXPECT_EQ(door(1).edges[EdgeLeft].cutLength, 19620);
}

TEST_F(FolmTest, FrameGroupPacksTheVerticalsFirst) {
    build("Фольм", "");
    ASSERT_TRUE(project->setDoorCount(2));
    ASSERT_TRUE(project->setHeight(24000));
    // Doors 23620 × 15050; 5500 mm bars. Verticals first: 23620 + 23620 | 23620 + 23620 |
    // 15050 × 3 | 15050 → 4 bars. (Door by door, left, right, top, bottom, would need only 3.)
    const ArticleRow* frame = findArticle(project->result, "KF02");
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->quantity, 4);
    EXPECT_EQ(frame->stockLength, 55000);
    // The cut rows still go door by door: left, right, top, bottom.
    ASSERT_GE(project->result.cutList.size(), 8u);
    EXPECT_EQ(project->result.cutList[2].length, "1505,0");
    EXPECT_EQ(project->result.cutList[4].length, "2362,0");
}

TEST_F(FolmTest, CoverStripAllowances) {
    build("Фольм", "");
    ASSERT_TRUE(project->setDoorCount(1));
    // A rail at 1000 mm and an upright from the top frame down to it.
    split(0, 10000, false, 5000, "KF03");
    split(0, 15000, true, 5000, "KF03");
    project->recalculate(true);
    const Splitter& upright = door(0).splitters.at(2);
    // The upright loses the top edge's dimA (14 mm) and the rail's seat (6 mm).
    EXPECT_EQ(upright.cutLength, 10000 - 140 - 60);
    // Strip: 570 free at the frame, 40 at the rail.
    const CalcResult& r = project->result;
    const ArticleRow* strip = findArticle(r, "KF04");
    ASSERT_NE(strip, nullptr);
    const int32_t rail = door(0).splitters.at(1).cutLength - 2 * 570;
    EXPECT_EQ(strip->quantity, rail + upright.cutLength - 570 - 40);
    EXPECT_TRUE(strip->error.empty());
}

TEST_F(FolmTest, TooShortCoverStripIsAnError) {
    build("Фольм", "");
    ASSERT_TRUE(project->setDoorCount(1));
    // The lowest cabinet: doors 1000 - 160 - 650 + 430 = 620 high. An upright from frame to
    // frame is cut 620 - 2 × 140 = 340, too short for 2 × 57 mm free ends.
    ASSERT_TRUE(project->setHeight(1000));
    ASSERT_EQ(door(0).height, 620);
    split(0, 15000, true, 300, "KF03");
    project->recalculate(true);
    const CalcResult& r = project->result;
    const ArticleRow* strip = findArticle(r, "KF04");
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(strip->quantity, 0);
    EXPECT_EQ(strip->error, "ОШИБКА: Некторые отрезки разделителей слишком короткие.");
    bool listed = false;
    for (const CutPieceRow& row : r.cutList)
        if (row.code == "KF04") {
            listed = true;
            EXPECT_EQ(row.length, "0,0");
        }
    EXPECT_TRUE(listed);
    // Without splitters neither the splitter group nor the strip group exists.
    door(0).splitters.clear();
    door(0).inserts.erase(2);
    door(0).inserts.at(1).right = door(0).width;
    door(0).inserts.at(1).rightSplitter = nullptr;
    door(0).inserts.at(1).rightId = 0;
    project->recalculate(true);
    EXPECT_EQ(findArticle(project->result, "KF04"), nullptr);
    EXPECT_EQ(findArticle(project->result, "KF03"), nullptr);
}

// The project's colour becomes KF02's only one, "Хром матовый (анод)", in category 3 ("анод")
// for Фольм.
const char* const kFolmPrices = "KF02;;400\n"
                                "KF02;анод;450\n"
                                "KF03;;150\n"
                                "KF03;анод;170\n"
                                "KF04;;20\n"
                                "KF04;анод;25\n"
                                "KF01;;100\n"
                                "KF05;;90\n"
                                "KF05;анод;95\n"
                                "KF07;;60\n"
                                "KF07;анод;70\n"
                                "KFR01;;1200\n"
                                "KFR01;анод;1300\n"
                                "KFR03;;300\n"
                                "KFR03;анод;350\n"
                                "KF06;;15\n"
                                "KF06;анод;18\n";

TEST_F(FolmTest, ThreeDoorOrderWithSplittersAndMaterials) {
    build("Фольм", kFolmPrices, "цвет;Фольм\nХром матовый (анод);анод\n");
    ASSERT_EQ(project->handleProfile->code, "KF02");
    ASSERT_EQ(project->color->code, "Хром матовый (анод)");
    ASSERT_TRUE(project->setHeight(24000));

    // Doors 24000 - 160 - 650 + 430 = 23620 high; width (30000 - 40 + 2 × 140) / 3 = 10080.
    ASSERT_EQ(door(0).height, 23620);
    ASSERT_EQ(door(0).width, 10080);
    EXPECT_EQ(doors().doorsNominalWidth, 30240);

    // KF02: dimA 14, depth 14, face 1,2 mm, 5500 mm bars. KF03: face 4 mm (half 2), seat 6 mm.
    // Door 0: a rail at 1000 mm. Door 1: a rail at 1200 mm, below it an upright at 500 mm.
    split(0, 10000, false, 5000, "KF03");
    split(1, 12000, false, 5000, "KF03");
    split(1, 5000, true, 20000, "KF03");
    door(0).inserts.at(1).material = material("zr.jpg");
    door(0).inserts.at(2).material = material("p10.jpg");
    door(1).inserts.at(1).material = material("p10.jpg");
    door(1).inserts.at(2).material = material("zr.jpg");
    door(2).inserts.at(1).material = material("zr.jpg");
    project->recalculate(true);
    const CalcResult& r = project->result;

    // Numbering: door 0 edges 1-4, rail 5, inserts 1-2; door 1 edges 6-9, rail 10, upright 11,
    // inserts 3 (top), 4 (lower left), 5 (lower right, empty); door 2 edges 12-15, insert 6.
    // Rails: 10080 - 2 × 140 = 9800. Upright: 11620 - 60 (rail seat) - 140 (bottom dimA) = 11420.
    // Strips: rails 9800 - 2 × 570 = 8660; upright 11420 - 40 - 570 = 10810.
    //
    // 1. Frame group, 5500 mm bars, packed verticals first: 6 × 23620 (two per bar: 3 bars, the
    //    third holding 47240), then 6 × 10080: the first opens bar 4 (57320 > 55000), five fit
    //    it (50400), the sixth opens bar 5: 5 × int(45000 × 5,5) = 1237500.
    // 2. KF03 by length: 9800 + 9800 + 11420 = 31020 × 170,00 = 52734.
    // 3. KF04: 8660 + 8660 + 10810 = 28130 × 25,00 = 7032.
    // 4-5. KF01 and KF05: 30000 - 32 = 29968 × 100,00 = 29968 and × 95,00 = 28469.
    // 6. KF07: 2 × 23620 = 47240 × 70,00 = 33068.
    // 7. KFR01: ceil(3 / 2) = 2 × 1200,00 (base price).  KFR03: 2 × 300,00, no cut row.
    // 8. KF06 round the mirrors (fitted sizes below): 2 × (10026 + 9938) + 2 × (4938 + 11558) +
    //    2 × (10026 + 23566) = 140104 × 15,00 = 21015.
    expectArticles(r, {{"KF02", 55000, 5, 1237500, 1},
                       {"KF03", 0, 31020, 52734, 0},
                       {"KF04", 0, 28130, 7032, 0},
                       {"KF01", 0, 29968, 29968, 0},
                       {"KF05", 0, 29968, 28469, 0},
                       {"KF07", 0, 47240, 33068, 0},
                       {"KFR01", 0, 2, 240000, 1},
                       {"KFR03", 0, 2, 60000, 1},
                       {"KF06", 0, 140104, 21015, 0}});
    expectCuts(r, {{"1-1", "KF02", "2362,0", "1", 0},   {"1-2", "KF02", "2362,0", "3", 0},
                   {"1-3", "KF02", "1008,0", "2", 0},   {"1-4", "KF02", "1008,0", "4", 0},
                   {"1-5", "KF02", "2362,0", "6", 1},   {"1-6", "KF02", "2362,0", "8", 1},
                   {"1-7", "KF02", "1008,0", "7", 1},   {"1-8", "KF02", "1008,0", "9", 1},
                   {"1-9", "KF02", "2362,0", "12", 2},  {"1-10", "KF02", "2362,0", "14", 2},
                   {"1-11", "KF02", "1008,0", "13", 2}, {"1-12", "KF02", "1008,0", "15", 2},
                   {"2-1", "KF03", "980,0", "5", 0},    {"2-2", "KF03", "980,0", "10", 1},
                   {"2-3", "KF03", "1142,0", "11", 1},  {"3-1", "KF04", "866,0", "5", 0},
                   {"3-2", "KF04", "866,0", "10", 1},   {"3-3", "KF04", "1081,0", "11", 1},
                   {"4-0", "KF01", "2996,8", "0", -1},  {"5-0", "KF05", "2996,8", "0", -1},
                   {"6-0", "KF07", "4724,0", "0", -1},  {"7-0", "KFR01", "2", "0", -1},
                   {"8-0", "KF06", "14010,4", "0", -1}});

    // Fillings (faces 1,2 mm all round, rails half 2 mm; every insert is bounded):
    //   door 0 top (mirror): y 12, h 10000 - 20 - 12 = 9968, w 10080 - 24 = 10056; a 4 mm
    //     filling loses 1,5 mm all round: 10026 × 9938.
    //   door 0 bottom (panel): h 23620 - 10020 - 12 = 13588; 10 mm loses 0,5 mm: 10046 × 13578.
    //   door 1 top (panel): h 12000 - 20 - 12 = 11968 → 10046 × 11958.
    //   door 1 lower left (mirror): h 23620 - 12020 - 12 = 11588, w 5000 - 20 - 12 = 4968 →
    //     4938 × 11558.
    //   door 1 lower right (empty): w 10080 - 12 - 5020 = 5048, h 11588.
    //   door 2 (mirror): h 23620 - 24 = 23596 → 10026 × 23566.
    // P10: 1,0046 × (1,3578 + 1,1958) = 2,56534656 m², ceil(150000 × …) = 384802.
    // ZR4: 1,0026 × 0,9938 + 0,4938 × 1,1558 + 1,0026 × 2,3566 = 3,92984508 m² → 785970.
    // Without material: 0,5048 × 1,1588 = 0,58496224 m².
    expectFillings(r, {{"P10", 100, 2.56534656, 384802},
                       {"ZR4", 40, 3.92984508, 785970},
                       {"ВНИМАНИЕ", 0, 0.58496224, 0}});
    expectPieces(r, {{"1-1", "P10", "1358", "1005", "2", 0},
                     {"1-2", "P10", "1196", "1005", "3", 1},
                     {"2-1", "ZR4", "994", "1003", "1", 0},
                     {"2-2", "ZR4", "1156", "494", "4", 1},
                     {"2-3", "ZR4", "2357", "1003", "6", 2}});
}

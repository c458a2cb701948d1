// Норсия: cabinet heights, the alternating verticals with the KN02 connector, the KN03 frame
// profile, the shared tracks, kits per two doors and the glass seal; one whole order by hand.
#include "support/SystemBillSupport.h"

using namespace billtest;

namespace {

class NorsiaTest : public SystemBillTest {};

} // namespace

TEST_F(NorsiaTest, OneDoorHasTwoHandlePiecesAndNoConnector) {
    build("Норсия", "");
    EXPECT_EQ(project->plinthHeight, 650);
    ASSERT_TRUE(project->setDoorCount(1));
    const CalcResult& r = project->result;
    EXPECT_EQ(door(0).height, 20000 - 160 - 650 + 430);
    EXPECT_EQ(door(0).width, 30000 - 20);
    const ArticleRow* handle = findArticle(r, "KN01");
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(findArticle(r, "KN02"), nullptr);
    // Handle group 1 (both sides of the door), the empty connector group takes 2, KN03 is 3.
    ASSERT_GE(r.cutList.size(), 5u);
    EXPECT_EQ(r.cutList[0].number, "1-1");
    EXPECT_EQ(r.cutList[1].number, "1-2");
    EXPECT_EQ(r.cutList[2].number, "3-1");
    EXPECT_EQ(r.cutList[2].code, "KN03");
    EXPECT_EQ(findArticle(r, "KNR01")->quantity, 1);
}

TEST_F(NorsiaTest, GlassFitNeedsBothEndsBounded) {
    build("Норсия", "");
    ASSERT_TRUE(project->setDoorCount(1));
    door(0).inserts.at(1).material = material("zr.jpg");
    project->recalculate(true);
    const Insert& in = door(0).inserts.at(1);
    // KN03 above and below (face 2 mm), KN01 at the sides (face 11 mm), 1 mm all round for glass.
    EXPECT_EQ(in.fillX, 110 + 10);
    EXPECT_EQ(in.fillY, 20 + 10);
    EXPECT_EQ(in.fillWidth, 29980 - 220 - 20);
    EXPECT_EQ(in.fillHeight, door(0).height - 40 - 20);
    // Chipboard does not suit the frame.
    door(0).inserts.at(1).material = material("dsp.jpg");
    project->recalculate(true);
    EXPECT_TRUE(door(0).inserts.at(1).thicknessMismatch);
}

// The project's colour becomes KN01's first, "Софт тач белый", in category 5 ("новинка") for
// Норсия.
const char* const kNorsiaPrices = "KN01;;450\n"
                                  "KN01;новинка;480\n"
                                  "KN02;;350\n"
                                  "KN03;;120\n"
                                  "KN03;новинка;130\n"
                                  "KN09;;160\n"
                                  "KF01;;100\n"
                                  "KF01;новинка;105\n"
                                  "KF05;;90\n"
                                  "KN06;;50\n"
                                  "KN06;новинка;55\n"
                                  "KN07;;70\n"
                                  "KNR01;;1100\n"
                                  "KNR01;новинка;1150\n"
                                  "KN17;;12\n"
                                  "KN17;новинка;14\n";

TEST_F(NorsiaTest, ThreeDoorOrderWithSplittersAndMaterials) {
    build("Норсия", kNorsiaPrices, "цвет;Норсия\nСофт тач белый;новинка\n");
    ASSERT_EQ(project->handleProfile->code, "KN01");
    ASSERT_EQ(project->color->code, "Софт тач белый");
    ASSERT_TRUE(project->setHeight(24000));

    // Doors 24000 - 160 - 650 + 430 = 23620; width (30000 - 20 + 2 × 220) / 3 = 10140.
    ASSERT_EQ(door(0).height, 23620);
    ASSERT_EQ(door(0).width, 10140);
    EXPECT_EQ(doors().doorsNominalWidth, 30420);

    // KN01: depth 20, face 11 mm, 5000 mm bars. KN03: dimA 11, face 2 mm. KN09: face 2 mm,
    // seat 6 mm. Door 0: a rail at 1000 mm. Door 1: a rail at 1200 mm, above it an upright at
    // 500 mm.
    split(0, 10000, false, 5000, "KN09");
    split(1, 12000, false, 5000, "KN09");
    split(1, 5000, true, 5000, "KN09");
    door(0).inserts.at(1).material = material("zr.jpg");
    door(0).inserts.at(2).material = material("p10.jpg");
    door(1).inserts.at(1).material = material("zr.jpg");
    door(1).inserts.at(2).material = material("p10.jpg");
    door(1).inserts.at(3).material = material("zr.jpg");
    door(2).inserts.at(1).material = material("p10.jpg");
    project->recalculate(true);
    const CalcResult& r = project->result;

    // Numbering: door 0 edges 1-4, rail 5, inserts 1-2; door 1 edges 6-9, rail 10, upright 11,
    // inserts 3 (upper left), 4 (lower), 5 (upper right); door 2 edges 12-15, insert 6.
    // KN03 edges and rails: 10140 - 2 × 200 = 9740. Upright: 12000 - 110 + (10 - 60) = 11840.
    //
    // 1. Handle group: 4 × 23620 in 5000 mm bars, two per bar: 2 × int(48000 × 5) = 480000.
    // 2. KN02 connector: door 0 right and door 2 left, one bar × int(35000 × 5) = 175000.
    // 3. KN03: every door's top edge twice, 6 × 9740 = 58440 × 130,00 = 75972.
    // 4. KN09: 9740 + 9740 + 11840 = 31320 × 160,00 = 50112.
    // 5-6. KF01 and KF05: 30000 - 32 = 29968 × 105,00 = 31466 and × 90,00 = 26971.
    // 7-8. KN06 and KN07: the height 23620 × 55,00 = 12991 and × 70,00 = 16534.
    // 9. KNR01: ceil(3 / 2) = 2 × 1100,00 (base price).
    // 10. KN17 round the mirrors: 2 × (9900 + 9950) + 2 × (4860 + 11950) + 2 × (5000 + 11950) =
    //     107220 × 12,00 (first price) = 12866.
    expectArticles(r, {{"KN01", 50000, 2, 480000, 1},
                       {"KN02", 50000, 1, 175000, 1},
                       {"KN03", 0, 58440, 75972, 0},
                       {"KN09", 0, 31320, 50112, 0},
                       {"KF01", 0, 29968, 31466, 0},
                       {"KF05", 0, 29968, 26971, 0},
                       {"KN06", 0, 23620, 12991, 0},
                       {"KN07", 0, 23620, 16534, 0},
                       {"KNR01", 0, 2, 220000, 1},
                       {"KN17", 0, 107220, 12866, 0}});
    expectCuts(r, {{"1-1", "KN01", "2362,0", "1", 0},   {"1-2", "KN01", "2362,0", "6", 1},
                   {"1-3", "KN01", "2362,0", "8", 1},   {"1-4", "KN01", "2362,0", "14", 2},
                   {"2-1", "KN02", "2362,0", "3", 0},   {"2-2", "KN02", "2362,0", "12", 2},
                   {"3-1", "KN03", "974,0", "2", 0},    {"3-2", "KN03", "974,0", "4", 0},
                   {"3-3", "KN03", "974,0", "7", 1},    {"3-4", "KN03", "974,0", "9", 1},
                   {"3-5", "KN03", "974,0", "13", 2},   {"3-6", "KN03", "974,0", "15", 2},
                   {"4-1", "KN09", "974,0", "5", 0},    {"4-2", "KN09", "974,0", "10", 1},
                   {"4-3", "KN09", "1184,0", "11", 1},  {"5-0", "KF01", "2996,8", "0", -1},
                   {"6-0", "KF05", "2996,8", "0", -1},  {"7-0", "KN06", "2362,0", "0", -1},
                   {"8-0", "KN07", "2362,0", "0", -1},  {"9-0", "KNR01", "2", "0", -1},
                   {"10-0", "KN17", "10722,0", "0", -1}});

    // Fillings (faces: KN03 2 mm above and below, KN01 11 mm at the sides, rails half 1 mm):
    //   door 0 top (mirror): y 20, h 10000 - 10 - 20 = 9970, w 10140 - 220 = 9920; glass loses
    //     1 mm all round (bounded): 9900 × 9950.
    //   door 0 bottom (panel): h 23620 - 10010 - 20 = 13590, w 9920.
    //   door 1 upper left (mirror): h 12000 - 10 - 20 = 11970, w 5000 - 10 - 110 = 4880 →
    //     4860 × 11950.
    //   door 1 lower (panel): h 23620 - 12010 - 20 = 11590, w 9920.
    //   door 1 upper right (mirror): w 10140 - 110 - 5010 = 5020 → 5000 × 11950.
    //   door 2 (panel): h 23620 - 40 = 23580, w 9920.
    // P10: 0,992 × (1,359 + 1,159 + 2,358) = 4,836992 m², ceil(150000 × …) = 725549.
    // ZR4: 0,99 × 0,995 + 0,486 × 1,195 + 0,5 × 1,195 = 2,16332 m², 200000 × … = 432664.
    expectFillings(r, {{"P10", 100, 4.836992, 725549}, {"ZR4", 40, 2.16332, 432664}});
    expectPieces(r, {{"1-1", "P10", "1359", "992", "2", 0},
                     {"1-2", "P10", "1159", "992", "4", 1},
                     {"1-3", "P10", "2358", "992", "6", 2},
                     {"2-1", "ZR4", "995", "990", "1", 0},
                     {"2-2", "ZR4", "1195", "486", "3", 1},
                     {"2-3", "ZR4", "1195", "500", "5", 1}});
}

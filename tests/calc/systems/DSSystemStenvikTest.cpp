// Стенвик: door sizes, the door frame group, the KS14 bottom edge, splitters by profile, opening
// tracks, running accessories and seals; one whole order checked against a hand computation.
#include "support/SystemBillSupport.h"

using namespace billtest;

namespace {

class StenvikTest : public SystemBillTest {};

} // namespace

TEST_F(StenvikTest, OneDoorRunsOnOneTrack) {
    build("Стенвик", "");
    ASSERT_TRUE(project->setDoorCount(1));
    // A single door overlaps nothing and is 33 mm lower than the opening.
    EXPECT_EQ(door(0).width, 30000);
    EXPECT_EQ(door(0).height, 20000 - 330);
    const CalcResult& r = project->result;
    EXPECT_NE(findArticle(r, "KL03"), nullptr);
    EXPECT_NE(findArticle(r, "KL06"), nullptr);
    EXPECT_EQ(findArticle(r, "KL02"), nullptr);
    EXPECT_EQ(findArticle(r, "KL05"), nullptr);
    // The bottom edge KS14 only: 30000 - 2 × 155 - 10.
    EXPECT_EQ(door(0).edges[EdgeTop].profile, nullptr);
    EXPECT_EQ(door(0).edges[EdgeBottom].cutLength, 29680);
}

TEST_F(StenvikTest, SplitterOfAnotherProfileIsNotBilled) {
    build("Стенвик", "");
    ASSERT_TRUE(project->setDoorCount(1));
    // A splitter with Ловен's profile KL09 is laid out and numbered but billed in no group.
    Splitter* s = calctest::split(door(0), 10000, false, 5000, catalog->splitterByCode("KL09"));
    ASSERT_NE(s, nullptr);
    project->recalculate(true);
    EXPECT_EQ(s->number, 4);
    EXPECT_EQ(s->cutLength, 30000 + 2 * (5 - 155));
    EXPECT_EQ(findArticle(project->result, "KL09"), nullptr);
    EXPECT_EQ(findArticle(project->result, "TL08"), nullptr);
    EXPECT_EQ(findArticle(project->result, "TL13"), nullptr);
}

// The project's colour "Белый глянец" (kept from Ловен; KS11 offers it on order) is in category 2
// ("премиум") for Стенвик.
const char* const kStenvikPrices = "KS11;;700\n"
                                   "KS11;премиум;800\n"
                                   "KS14;;200\n"
                                   "KS14;премиум;260\n"
                                   "TL08;;300\n"
                                   "TL13;;200\n"
                                   "TL13;премиум;250\n"
                                   "KL02;;120\n"
                                   "KL02;премиум;140\n"
                                   "KL05;;110\n"
                                   "KL13;;10\n"
                                   "KL13;премиум;20\n"
                                   "KL14;;50\n"
                                   "KL14;премиум;70\n"
                                   "W1406;;900\n"
                                   "W1406;премиум;950\n"
                                   "KS15;;40\n"
                                   "KS15;премиум;45\n"
                                   "TL11;;30\n"
                                   "TL11;премиум;40\n";

TEST_F(StenvikTest, ThreeDoorOrderWithSplittersAndMaterials) {
    build("Стенвик", kStenvikPrices, "цвет;Стенвик\nБелый глянец;премиум\n");
    ASSERT_EQ(project->handleProfile->code, "KS11");
    ASSERT_EQ(project->color->code, "Белый глянец");
    ASSERT_EQ(project->splitterProfile->code, "TL13");
    ASSERT_TRUE(project->setHeight(24000));
    ASSERT_EQ(project->doorCount, 3);

    // KS11: overlap 25,6, depth 15,5, face 3 mm, 4800 mm bars. KS14: depth 47, face 41 mm.
    // Height 24000 - 330 = 23670; tracks 0, 1, 0: width (2 × 256 + 30000) / 3 = 10170.
    ASSERT_EQ(door(0).height, 23670);
    ASSERT_EQ(door(1).width, 10170);
    EXPECT_EQ(doors().doorsNominalWidth, 30510);

    // Door 0: a TL08 rail at 800 mm. Door 1: a TL13 rail at 1200 mm and above it a TL13 upright
    // at 600 mm. Door 2: plain.
    split(0, 8000, false, 5000, "TL08");
    split(1, 12000, false, 5000, "TL13");
    split(1, 6000, true, 5000, "TL13");
    // Door 0: 10 mm panel above, chipboard below. Door 1: mirrors in both upper parts,
    // chipboard below. Door 2: mirror.
    door(0).inserts.at(1).material = material("p10.jpg");
    door(0).inserts.at(2).material = material("dsp.jpg");
    door(1).inserts.at(1).material = material("zr.jpg");
    door(1).inserts.at(2).material = material("dsp.jpg");
    door(1).inserts.at(3).material = material("zr.jpg");
    door(2).inserts.at(1).material = material("zr.jpg");
    project->recalculate(true);
    const CalcResult& r = project->result;

    // Numbering (no top edges): door 0 left 1, right 2, bottom 3, rail 4, inserts 1-2;
    // door 1 left 5, right 6, bottom 7, rail 8, upright 9, inserts 3 (upper left), 4 (lower),
    // 5 (upper right); door 2 left 10, right 11, bottom 12, insert 6.
    // Rails: 10170 + 2 × (5 - 155) = 9870. Upright: 12000 + 0 (no top edge) + (7 - 63) = 11944.
    // Bottom edges: 10170 - 2 × 155 - 10 = 9850.
    //
    // 1. Door frame group: 6 pieces of 23670 in 4800 mm bars, two per bar = 3 bars at the premium
    //    800,00: 3 × int(80000 × 4,8) = 1152000.
    // 2. KS14 (kind 4, by length): 3 × 9850 = 29550 at the premium 260,00 = 76830.
    // 3. TL08: 9870 × 300,00 = 29610.  4. TL13: 9870 + 11944 = 21814 × 250,00 = 54535.
    // 5-6. Alternating tracks: KL02 3000 mm × 140,00 = 42000, KL05 3000 mm × 110,00 = 33000.
    // 7. KL13: 23670 × 3 × 2 = 142020 at the first price 10,00 = 14202.
    // 8. KL14 × 3 at the base price 50,00 = 15000.  9. W1406 × 3 (one per door) × 900,00.
    // 10. KS15 round the 10 mm panel: 2 × (10110 + 7993) = 36206 × 40,00 = 14482.
    // 11. TL11 for the mirrors' frame sides: 11993 + 11993 + 2 × 23260 = 70506 × 30,00 = 21151.
    expectArticles(r, {{"KS11", 48000, 3, 1152000, 1},
                       {"KS14", 0, 29550, 76830, 0},
                       {"TL08", 0, 9870, 29610, 0},
                       {"TL13", 0, 21814, 54535, 0},
                       {"KL02", 0, 30000, 42000, 0},
                       {"KL05", 0, 30000, 33000, 0},
                       {"KL13", 0, 142020, 14202, 0},
                       {"KL14", 0, 3, 15000, 1},
                       {"W1406", 0, 3, 270000, 1},
                       {"KS15", 0, 36206, 14482, 0},
                       {"TL11", 0, 70506, 21151, 0}});

    expectCuts(r, {{"1-1", "KS11", "2367,0", "1", 0},
                   {"1-2", "KS11", "2367,0", "2", 0},
                   {"1-3", "KS11", "2367,0", "5", 1},
                   {"1-4", "KS11", "2367,0", "6", 1},
                   {"1-5", "KS11", "2367,0", "10", 2},
                   {"1-6", "KS11", "2367,0", "11", 2},
                   {"2-1", "KS14", "985,0", "3", 0},
                   {"2-2", "KS14", "985,0", "7", 1},
                   {"2-3", "KS14", "985,0", "12", 2},
                   {"3-1", "TL08", "987,0", "4", 0},
                   {"4-1", "TL13", "987,0", "8", 1},
                   {"4-2", "TL13", "1194,4", "9", 1},
                   {"5-0", "KL02", "3000,0", "0", -1},
                   {"6-0", "KL05", "3000,0", "0", -1},
                   {"7-0", "KL13", "14202,0", "0", -1},
                   {"8-0", "KL14", "3", "0", -1},
                   {"9-0", "W1406", "3", "0", -1},
                   {"10-0", "KS15", "3620,6", "0", -1},
                   {"11-0", "TL11", "7050,6", "0", -1}});
    // The door frame group's rows carry the plain article name (no stock length suffix).
    EXPECT_EQ(r.cutList[0].name, "Вертикальный ассиметричный профиль");

    // Fillings (faces: KS11 3 mm at the sides, no top edge, KS14 41 mm below, rails 0,7 mm):
    //   door 0 top (panel, rejected, not fitted): y 0, h 8000 - 7 = 7993, x 30, w 10110.
    //   door 0 bottom: h 23670 - 8007 - 410 = 15253, w 10110.
    //   door 1 upper left (mirror): h 12000 - 7 = 11993, w 6000 - 7 - 30 = 5963; not bounded
    //     (no top edge): w - 20 = 5943; the frame on its left moves it 1,5 mm.
    //   door 1 lower: h 23670 - 12007 - 410 = 11253, w 10110.
    //   door 1 upper right (mirror): w 10170 - 30 - 6007 = 4133 - 20 - 15 = 4098, h 11993.
    //   door 2 (mirror): h 23670 - 410 = 23260, w 10110 - 20 - 15 = 10075.
    // DSP16: 1,011 × 1,5253 + 1,011 × 1,1253 = 2,6797566 m², ceil(80000 × …) = 214381.
    // P10: 1,011 × 0,7993 = 0,8080923 m², thickness error, cost stays 150000 per m².
    // ZR4: 0,5943 × 1,1993 + 0,4098 × 1,1993 + 1,0075 × 2,326 = 3,54766213 m² → 709533.
    expectFillings(
        r, {{"DSP16", 160, 2.6797566, 214381},
            {"P10", 100, 0.8080923, 150000, "ОШИБКА: Не подходящий по толщине (10,00) материал."},
            {"ZR4", 40, 3.54766213, 709533}});
    expectPieces(r, {{"1-1", "DSP16", "1525", "1011", "2", 0},
                     {"1-2", "DSP16", "1125", "1011", "4", 1},
                     {"2-1", "P10", "799", "1011", "1", 0},
                     {"3-1", "ZR4", "1199", "594", "3", 1},
                     {"3-2", "ZR4", "1199", "410", "5", 1},
                     {"3-3", "ZR4", "2326", "1008", "6", 2}});
}

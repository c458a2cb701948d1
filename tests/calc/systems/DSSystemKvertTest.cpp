// Кверт-Н: door sizes, the standard vertical group, splitters by profile (others not billed),
// opening tracks, the KSA kit and the side seal; one whole order checked by hand.
#include "support/SystemBillSupport.h"

using namespace billtest;

namespace {

class KvertTest : public SystemBillTest {};

} // namespace

TEST_F(KvertTest, DoorsAreLowerAndHaveNoHorizontalEdges) {
    build("Кверт-Н", "");
    ASSERT_TRUE(project->setDoorCount(2));
    // 39 mm lower than the opening; one overlap of KQ01 (19,8 mm).
    EXPECT_EQ(door(0).height, 20000 - 390);
    EXPECT_EQ(door(0).width, (198 + 30000) / 2);
    EXPECT_EQ(door(0).edges[EdgeTop].profile, nullptr);
    EXPECT_EQ(door(0).edges[EdgeBottom].profile, nullptr);
    // A rail ending at the frame loses the handle's depth (19 mm) at each end.
    Splitter* s = split(0, 10000, false, 5000, "TL13");
    project->recalculate(true);
    EXPECT_EQ(s->cutLength, door(0).width - 2 * 190);
    // An upright from the top frame to that rail: nothing to lose at the frame (no top edge),
    // half the rail's face minus its seat at the rail.
    Splitter* u = split(0, 5000, true, 3000, "TL13");
    project->recalculate(true);
    EXPECT_EQ(u->cutLength, 10000 + 7 - 63);
}

TEST_F(KvertTest, GlassFitAtTheFrameOnly) {
    build("Кверт-Н", "");
    ASSERT_TRUE(project->setDoorCount(1));
    split(0, 10000, true, 5000, "TL13");
    door(0).inserts.at(1).material = material("zr.jpg");
    door(0).inserts.at(2).material = material("zr.jpg");
    project->recalculate(true);
    const Insert& left = door(0).inserts.at(1);
    const Insert& right = door(0).inserts.at(2);
    // Left of the upright: the frame on the left moves the glass 1,5 mm, its width stays.
    EXPECT_EQ(left.fillX, 100 + 15);
    EXPECT_EQ(left.fillWidth, 10000 - 7 - 100);
    // Right of it: 3 mm less at the frame.
    EXPECT_EQ(right.fillX, 10007);
    EXPECT_EQ(right.fillWidth, 30000 - 100 - 10007 - 30);
    EXPECT_EQ(left.fillY, 0);
    EXPECT_EQ(left.fillHeight, 20000 - 390);
    EXPECT_FALSE(left.thicknessMismatch);
    // A 10 mm panel does not fit.
    door(0).inserts.at(2).material = material("p10.jpg");
    project->recalculate(true);
    EXPECT_TRUE(door(0).inserts.at(2).thicknessMismatch);
}

// The project's colour becomes KQ01's first, "Хром матовый (анод)", in category 3 ("анод") for
// Кверт-Н.
const char* const kKvertPrices = "KQ01;;600\n"
                                 "KQ01;анод;650\n"
                                 "TL08;;300\n"
                                 "TL13;;200\n"
                                 "TL13;анод;230\n"
                                 "KL02;;120\n"
                                 "KL05;;110\n"
                                 "KL05;анод;130\n"
                                 "KL13;;10\n"
                                 "KL13;анод;15\n"
                                 "KL14;;50\n"
                                 "KSA;;1000\n"
                                 "KSA;анод;1200\n"
                                 "TL11;;30\n"
                                 "TL11;анод;35\n";

TEST_F(KvertTest, ThreeDoorOrderWithSplittersAndMaterials) {
    build("Кверт-Н", kKvertPrices, "цвет;Кверт-Н\nХром матовый (анод);анод\n");
    ASSERT_EQ(project->handleProfile->code, "KQ01");
    ASSERT_EQ(project->color->code, "Хром матовый (анод)");
    ASSERT_TRUE(project->setHeight(24000));

    // KQ01: overlap 19,8, depth 19, face 10 mm, 4200 mm bars.
    // Height 24000 - 390 = 23610; tracks 0, 1, 0: width (2 × 198 + 30000) / 3 = 10132.
    ASSERT_EQ(door(0).height, 23610);
    ASSERT_EQ(door(0).width, 10132);
    EXPECT_EQ(doors().doorsNominalWidth, 30396);

    // Door 0: a TL13 rail at 1000 mm. Door 1: a TL08 rail at 800 mm, below it a TL13 upright at
    // 400 mm. Door 2: a KL09 rail (not a Кверт-Н profile) at 1500 mm.
    split(0, 10000, false, 5000, "TL13");
    split(1, 8000, false, 5000, "TL08");
    split(1, 4000, true, 15000, "TL13");
    ASSERT_NE(calctest::split(door(2), 15000, false, 5000, catalog->splitterByCode("KL09")),
              nullptr);
    door(0).inserts.at(1).material = material("zr.jpg");
    door(0).inserts.at(2).material = material("dsp.jpg");
    door(1).inserts.at(1).material = material("dsp.jpg");
    door(1).inserts.at(2).material = material("zr.jpg");
    door(1).inserts.at(3).material = material("zr.jpg");
    door(2).inserts.at(1).material = material("dsp.jpg");
    project->recalculate(true);
    const CalcResult& r = project->result;

    // Numbering (no horizontal edges): door 0 left 1, right 2, rail 3, inserts 1-2; door 1 left 4,
    // right 5, TL08 rail 6, upright 7, inserts 3 (top), 4 (lower left), 5 (lower right); door 2
    // left 8, right 9, KL09 rail 10, inserts 6-7.
    // Rails: 10132 - 2 × 190 = 9752. Upright: 15610 + (7 - 63) = 15554.
    EXPECT_EQ(door(2).splitters.at(1).number, 10);
    EXPECT_EQ(door(2).splitters.at(1).cutLength, 9752);

    // 1. Vertical edges: 6 × 23610, one per 4200 mm bar: 6 × int(65000 × 4,2) = 1638000.
    // 2. TL08: 9752 × 300,00 = 29256.  3. TL13: 9752 + 15554 = 25306 × 230,00 (anod) = 58203.
    //    The KL09 rail is billed nowhere.
    // 4-5. KL02 3000 mm × 120,00 = 36000; KL05 × 130,00 (anod) = 39000.
    // 6. KL13: 23610 × 3 × 2 = 141660 at the first price 10,00 = 14166.
    // 7. KL14 × 3 × 50,00.  8. KSA serves two doors a pack: 2 packs × 1000,00 (base price).
    // 9. TL11: door 0 top at both frame sides 2 × 9993, door 1 lower left 15603 and lower right
    //    15603: 51192 × 30,00 = 15357.
    expectArticles(r, {{"KQ01", 42000, 6, 1638000, 1},
                       {"TL08", 0, 9752, 29256, 0},
                       {"TL13", 0, 25306, 58203, 0},
                       {"KL02", 0, 30000, 36000, 0},
                       {"KL05", 0, 30000, 39000, 0},
                       {"KL13", 0, 141660, 14166, 0},
                       {"KL14", 0, 3, 15000, 1},
                       {"KSA", 0, 2, 200000, 1},
                       {"TL11", 0, 51192, 15357, 0}});
    expectCuts(r, {{"1-1", "KQ01", "2361,0", "1", 0},
                   {"1-2", "KQ01", "2361,0", "2", 0},
                   {"1-3", "KQ01", "2361,0", "4", 1},
                   {"1-4", "KQ01", "2361,0", "5", 1},
                   {"1-5", "KQ01", "2361,0", "8", 2},
                   {"1-6", "KQ01", "2361,0", "9", 2},
                   {"2-1", "TL08", "975,2", "6", 1},
                   {"3-1", "TL13", "975,2", "3", 0},
                   {"3-2", "TL13", "1555,4", "7", 1},
                   {"4-0", "KL02", "3000,0", "0", -1},
                   {"5-0", "KL05", "3000,0", "0", -1},
                   {"6-0", "KL13", "14166,0", "0", -1},
                   {"7-0", "KL14", "3", "0", -1},
                   {"8-0", "KSA", "2", "0", -1},
                   {"9-0", "TL11", "5119,2", "0", -1}});
    // The standard vertical group names the stock length.
    EXPECT_EQ(r.cutList[0].name, "Вертикальная профиль ручка 4,2 м.");

    // Fillings (faces: KQ01 10 mm at the sides, nothing above and below; TL08 / TL13 rails
    // 0,7 mm, the KL09 rail 3,7 mm):
    //   door 0 top (mirror): h 10000 - 7 = 9993, w 10132 - 200 = 9932 - 30 (frame right) = 9902.
    //   door 0 bottom: h 23610 - 10007 = 13603, w 9932.
    //   door 1 top: h 8000 - 7 = 7993, w 9932.
    //   door 1 lower left (mirror): h 23610 - 8007 = 15603, w 4000 - 7 - 100 = 3893.
    //   door 1 lower right (mirror): w 10132 - 100 - 4007 = 6025 - 30 = 5995, h 15603.
    //   door 2 top: h 15000 - 37 = 14963, w 9932; door 2 bottom (empty): h 23610 - 15037 = 8573.
    // DSP16: 0,9932 × (1,3603 + 0,7993 + 1,4963) = 3,63103988 m², ceil(80000 × …) = 290484.
    // ZR4: 0,9902 × 0,9993 + 0,3893 × 1,5603 + 0,5995 × 1,5603 = 2,5323315 m² → 506467.
    // Without material: 0,9932 × 0,8573 = 0,85147036 m².
    expectFillings(r, {{"DSP16", 160, 3.63103988, 290484},
                       {"ZR4", 40, 2.5323315, 506467},
                       {"ВНИМАНИЕ", 0, 0.85147036, 0}});
    expectPieces(r, {{"1-1", "DSP16", "1360", "993", "2", 0},
                     {"1-2", "DSP16", "799", "993", "3", 1},
                     {"1-3", "DSP16", "1496", "993", "6", 2},
                     {"2-1", "ZR4", "999", "990", "1", 0},
                     {"2-2", "ZR4", "1560", "389", "4", 1},
                     {"2-3", "ZR4", "1560", "600", "5", 1}});
}

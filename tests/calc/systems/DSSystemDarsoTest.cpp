// Дарсо: the height taken 40 mm below the opening, its own edges, the door frame group, glass
// seals by the side they touch; one whole order checked by hand.
#include "support/SystemBillSupport.h"

using namespace billtest;

namespace {

class DarsoTest : public SystemBillTest {};

} // namespace

TEST_F(DarsoTest, HeightAndEdges) {
    build("Дарсо", "");
    ASSERT_TRUE(project->setDoorCount(2));
    // The door set's height is the opening less 40 mm; the doors take it whole.
    EXPECT_EQ(doors().height, 20000 - 400);
    EXPECT_EQ(door(0).height, 19600);
    // KD01: overlap 12, depth 10 mm; KL13 brush 3 mm at each end of the opening.
    EXPECT_EQ(door(0).width, (120 + 30000 - 2 * 30) / 2);
    EXPECT_EQ(door(0).edges[EdgeTop].profile->code, "KD08");
    EXPECT_EQ(door(0).edges[EdgeBottom].profile->code, "KD07");
    EXPECT_EQ(door(0).edges[EdgeTop].cutLength, door(0).width - 2 * 100);
    // No one-track variant: two doors on alternating tracks still bill KL02 and KL05, and no KL14.
    EXPECT_NE(findArticle(project->result, "KL02"), nullptr);
    EXPECT_NE(findArticle(project->result, "KL05"), nullptr);
    EXPECT_EQ(findArticle(project->result, "KL14"), nullptr);
}

TEST_F(DarsoTest, GlassBelowASplitterOfTheSystemProfile) {
    build("Дарсо", "");
    ASSERT_TRUE(project->setDoorCount(1));
    split(0, 8000, false, 5000, "KD09");
    door(0).inserts.at(2).material = material("zr.jpg");
    project->recalculate(true);
    const Insert& glass = door(0).inserts.at(2);
    // KD09 above it, the frame on the other three sides.
    const ArticleRow* kd10 = findArticle(project->result, "KD10");
    const ArticleRow* kl17 = findArticle(project->result, "KL17");
    ASSERT_NE(kd10, nullptr);
    ASSERT_NE(kl17, nullptr);
    EXPECT_EQ(kd10->quantity, glass.fillWidth);
    EXPECT_EQ(kl17->quantity, glass.fillWidth + 2 * glass.fillHeight);
    // KL17 before KD10.
    EXPECT_LT(kl17, kd10);
    // A splitter of another profile counts as "another splitter": its side goes to KL17.
    door(0).splitters.at(1).profile = catalog->splitterByCode("KL09");
    project->recalculate(true);
    EXPECT_EQ(findArticle(project->result, "KD10"), nullptr);
    EXPECT_EQ(findArticle(project->result, "KL17")->quantity,
              2 * (door(0).inserts.at(2).fillWidth + door(0).inserts.at(2).fillHeight));
}

// The project's colour "Белый глянец" (KD01 offers it) is in category 2 ("премиум") for Дарсо.
const char* const kDarsoPrices = "KD01;;500\n"
                                 "KD01;премиум;550\n"
                                 "KD07;;200\n"
                                 "KD07;премиум;220\n"
                                 "KD08;;150\n"
                                 "KD09;;180\n"
                                 "KD09;премиум;190\n"
                                 "KL02;;120\n"
                                 "KL02;премиум;130\n"
                                 "KL05;;110\n"
                                 "KL13;;10\n"
                                 "KL13;премиум;20\n"
                                 "KL10/11B;;900\n"
                                 "KL10/11B;премиум;1000\n"
                                 "KL17;;40\n"
                                 "KL17;премиум;50\n"
                                 "KD10;;25\n";

TEST_F(DarsoTest, ThreeDoorOrderWithSplittersAndMaterials) {
    build("Дарсо", kDarsoPrices, "цвет;Дарсо\nБелый глянец;премиум\n");
    ASSERT_EQ(project->handleProfile->code, "KD01");
    ASSERT_EQ(project->color->code, "Белый глянец");
    ASSERT_TRUE(project->setHeight(24000));

    // Height 24000 - 400 = 23600. Width (2 × 120 + 30000 - 2 × 30) / 3 = 10060.
    ASSERT_EQ(door(0).height, 23600);
    ASSERT_EQ(door(0).width, 10060);
    EXPECT_EQ(doors().doorsNominalWidth, 30180);

    // KD09: face 2,3 mm (half 1,1), seat 5 mm. Edges KD08 / KD07: dimA 11, face 1,5 mm.
    // Door 0: a rail at 1000 mm. Door 1: a rail at 1200 mm, above it an upright at 500 mm.
    split(0, 10000, false, 5000, "KD09");
    split(1, 12000, false, 5000, "KD09");
    split(1, 5000, true, 5000, "KD09");
    door(0).inserts.at(1).material = material("zr.jpg");
    door(0).inserts.at(2).material = material("p10.jpg");
    door(1).inserts.at(1).material = material("zr.jpg");
    door(1).inserts.at(2).material = material("p10.jpg");
    door(2).inserts.at(1).material = material("zr.jpg");
    project->recalculate(true);
    const CalcResult& r = project->result;

    // Numbering: door 0 edges 1-4, rail 5, inserts 1-2; door 1 edges 6-9, rail 10, upright 11,
    // inserts 3 (upper left), 4 (lower), 5 (upper right, empty); door 2 edges 12-15, insert 6.
    // Rails: 10060 - 2 × 100 = 9860. Upright: 12000 - 110 (KD08 dimA) + (11 - 50) = 11851.
    // Edges top and bottom: 10060 - 2 × 100 = 9860.
    //
    // 1. Door frame group: 6 × 23600 in 5500 mm bars, two per bar: 3 × int(55000 × 5,5) = 907500.
    // 2. KD07: 3 × 9860 = 29580 × 220,00 = 65076.  3. KD08: 29580 × 150,00 = 44370.
    // 4. KD09: 9860 + 9860 + 11851 = 31571 × 190,00 = 59984.
    // 5-6. KL02 3000 mm × 130,00 = 39000; KL05 × 110,00 = 33000.
    // 7. KL13: 23600 × 3 × 2 = 141600 × 10,00 (first price) = 14160.
    // 8. KL10/11B × 3 (one per door) at the base price 900,00.
    // 9-10. Glass seals (fitted sizes below): door 0 top: frame above and at both sides
    //    (9990 + 2 × 9954), KD09 below (9990); door 1 upper left: frame above and left
    //    (4944 + 11954), KD09 below and right (4944 + 11954); door 2: frame all round
    //    (2 × 9990 + 2 × 23550). KL17 = 113876 × 40,00 = 45550; KD10 = 26888 × 25,00 = 6722.
    expectArticles(r, {{"KD01", 55000, 3, 907500, 1},
                       {"KD07", 0, 29580, 65076, 0},
                       {"KD08", 0, 29580, 44370, 0},
                       {"KD09", 0, 31571, 59984, 0},
                       {"KL02", 0, 30000, 39000, 0},
                       {"KL05", 0, 30000, 33000, 0},
                       {"KL13", 0, 141600, 14160, 0},
                       {"KL10/11B", 0, 3, 270000, 1},
                       {"KL17", 0, 113876, 45550, 0},
                       {"KD10", 0, 26888, 6722, 0}});
    expectCuts(r, {{"1-1", "KD01", "2360,0", "1", 0},  {"1-2", "KD01", "2360,0", "3", 0},
                   {"1-3", "KD01", "2360,0", "6", 1},  {"1-4", "KD01", "2360,0", "8", 1},
                   {"1-5", "KD01", "2360,0", "12", 2}, {"1-6", "KD01", "2360,0", "14", 2},
                   {"2-1", "KD07", "986,0", "4", 0},   {"2-2", "KD07", "986,0", "9", 1},
                   {"2-3", "KD07", "986,0", "15", 2},  {"3-1", "KD08", "986,0", "2", 0},
                   {"3-2", "KD08", "986,0", "7", 1},   {"3-3", "KD08", "986,0", "13", 2},
                   {"4-1", "KD09", "986,0", "5", 0},   {"4-2", "KD09", "986,0", "10", 1},
                   {"4-3", "KD09", "1185,1", "11", 1}, {"5-0", "KL02", "3000,0", "0", -1},
                   {"6-0", "KL05", "3000,0", "0", -1}, {"7-0", "KL13", "14160,0", "0", -1},
                   {"8-0", "KL10/11B", "3", "0", -1},  {"9-0", "KL17", "11387,6", "0", -1},
                   {"10-0", "KD10", "2688,8", "0", -1}});

    // Fillings (faces: edges 1,5 mm above and below, KD01 2,5 mm at the sides, KD09 half 1,1):
    //   door 0 top (mirror): y 15, h 10000 - 11 - 15 = 9974, x 25, w 10060 - 50 = 10010;
    //     a 4 mm filling loses 1 mm all round: w 9990, h 9954.
    //   door 0 bottom (panel): h 23600 - 10011 - 15 = 13574, w 10010.
    //   door 1 upper left (mirror): h 12000 - 11 - 15 = 11974, w 5000 - 11 - 25 = 4964;
    //     fitted 4944 × 11954.
    //   door 1 lower (panel): h 23600 - 12011 - 15 = 11574, w 10010.
    //   door 1 upper right (empty): w 10060 - 25 - 5011 = 5024, h 11974.
    //   door 2 (mirror): h 23600 - 30 = 23570, w 10010; fitted 9990 × 23550.
    // P10: 1,001 × (1,3574 + 1,1574) = 2,5173148 m², ceil(150000 × …) = 377598.
    // ZR4: 0,999 × 0,9954 + 0,4944 × 1,1954 + 0,999 × 2,355 = 3,93805536 m² → 787612.
    // Without material: 0,5024 × 1,1974 = 0,60157376 m².
    expectFillings(r, {{"P10", 100, 2.5173148, 377598},
                       {"ZR4", 40, 3.93805536, 787612},
                       {"ВНИМАНИЕ", 0, 0.60157376, 0}});
    expectPieces(r, {{"1-1", "P10", "1357", "1001", "2", 0},
                     {"1-2", "P10", "1157", "1001", "4", 1},
                     {"2-1", "ZR4", "995", "999", "1", 0},
                     {"2-2", "ZR4", "1195", "494", "3", 1},
                     {"2-3", "ZR4", "2355", "999", "6", 2}});
}

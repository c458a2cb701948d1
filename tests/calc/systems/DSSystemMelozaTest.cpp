// Мелоза: the two mountings with their door limits, tracks, door sizes and handle lists, its own
// splitter cut rule, tracks and accessories, the sketch block; one whole order checked by hand.
#include "support/SystemBillSupport.h"

#include "calc/systems/DSSystemMeloza.h"

#include "text/ByteReader.h"
#include "text/ByteWriter.h"

using namespace billtest;

namespace {

class MelozaTest : public SystemBillTest {
protected:
    DSSystemMeloza& meloza() { return *dynamic_cast<DSSystemMeloza*>(project->system); }
    // The top panel's toggle: switch the mounting, then the project re-reads the system options.
    void setMounting(int32_t mode) {
        meloza().mountingMode = mode;
        project->systemOptionsChanged();
    }
};

} // namespace

TEST_F(MelozaTest, DoorLimitsAndTracksFollowTheMounting) {
    build("Мелоза", "");
    DSSystemMeloza& m = meloza();
    // Usual mounting: three doors cannot be hung, four at most; the project's 3 became 4.
    EXPECT_EQ(project->doorCount, 4);
    EXPECT_EQ(m.clampDoorCount(3), 4);
    EXPECT_EQ(m.clampDoorCount(2), 2);
    EXPECT_EQ(m.clampDoorCount(7), 4);
    EXPECT_EQ(m.maxDoors(), 4);
    EXPECT_FALSE(m.swapTracksFlag());
    EXPECT_EQ(door(1).track, 1);
    EXPECT_FALSE(project->setDoorCount(5));

    // Inside the opening: two doors at most, all on the first track.
    setMounting(0);
    EXPECT_EQ(m.maxDoors(), 2);
    EXPECT_EQ(m.clampDoorCount(3), 2);
    EXPECT_EQ(project->doorCount, 2);
    EXPECT_TRUE(m.swapTracksFlag());
    EXPECT_EQ(m.tracksSwapped, 1);
    EXPECT_EQ(door(0).track, 0);
    EXPECT_EQ(door(1).track, 0);
    EXPECT_FALSE(project->setDoorCount(3));
}

TEST_F(MelozaTest, InsideTheOpeningWithKL100) {
    build("Мелоза", "");
    setMounting(0);
    ASSERT_TRUE(project->setOpeningWidth(20000));
    ASSERT_TRUE(project->setHandleProfile(catalog->handleByCode("KL100")));
    ASSERT_EQ(project->doorCount, 2);
    // Each door W / 2 + 103 mm; 4 mm higher than the opening.
    EXPECT_EQ(door(0).width, 20000 / 2 + 1030);
    EXPECT_EQ(door(1).width, 11030);
    EXPECT_EQ(door(0).height, 20000 + 40);
    EXPECT_EQ(doors().doorsNominalWidth, 22060);
    const CalcResult& r = project->result;
    // Both tracks: W + 100 + the doors' widths.
    EXPECT_EQ(findArticle(r, "ME01")->quantity, 20000 + 100 + 22060);
    EXPECT_EQ(findArticle(r, "ME02")->quantity, 20000 + 100 + 22060);
    // KL100 takes the pile strip along both sides of every door.
    EXPECT_EQ(findArticle(r, "ME-SHL")->quantity, 20040 * 2 * 2);
    EXPECT_EQ(findArticle(r, "ME03")->quantity, 2);
    // KL300N: W / n + 131 mm.
    ASSERT_TRUE(project->setHandleProfile(catalog->handleByCode("KL300N")));
    EXPECT_EQ(door(0).width, 10000 + 1310);
    EXPECT_EQ(findArticle(project->result, "ME-SHL"), nullptr);
}

TEST_F(MelozaTest, UsualMountingWithOneDoor) {
    build("Мелоза", "");
    ASSERT_TRUE(project->setDoorCount(1));
    ASSERT_TRUE(project->setOpeningWidth(9000));
    // KL300N: 9000 - int((9000 - 1360) × 0,5) - 50 = 5130; the nominal width is the opening.
    EXPECT_EQ(door(0).width, 5130);
    EXPECT_EQ(doors().doorsNominalWidth, 9000);
    EXPECT_EQ(door(0).height, 20000 - 620);
    // One door: the upper track once.
    EXPECT_EQ(findArticle(project->result, "ME01")->quantity, 9000);
    EXPECT_EQ(findArticle(project->result, "ME02")->quantity, 9000);
    // KL100: 9000 - int((9000 - 1130) × 0,5) - 100 = 4965.
    ASSERT_TRUE(project->setHandleProfile(catalog->handleByCode("KL100")));
    EXPECT_EQ(door(0).width, 4965);
    // A handle profile the system has no rule for (here from a sketch file): W / n.
    ASSERT_TRUE(project->setHandleProfile(catalog->handleByCode("KL001")));
    EXPECT_EQ(door(0).width, 9000);
    // Two doors overlap by half the handle's dimA less 5 mm whatever the profile: 26 / 2 - 5.
    ASSERT_TRUE(project->setDoorCount(2));
    EXPECT_EQ(door(0).width, 260 / 2 - 50 + 4500);
}

TEST_F(MelozaTest, HandleListHidesKL150InTheUsualMounting) {
    build("Мелоза", "");
    DSSystemMeloza m(5, "Мелоза", 300);
    HandleProfile* kl150 = catalog->handleByCode("KL150");
    HandleProfile* kl300n = catalog->handleByCode("KL300N");
    m.handleProfiles = {kl300n, kl150};
    std::vector<HandleProfile*> list;
    EXPECT_EQ(m.handleProfileCount(), 1);
    EXPECT_EQ(m.listHandleProfiles(list), std::vector<HandleProfile*>{kl300n});
    m.mountingMode = 0;
    EXPECT_EQ(m.handleProfileCount(), 2);
    EXPECT_EQ(m.listHandleProfiles(list), (std::vector<HandleProfile*>{kl300n, kl150}));
    // Built once and kept: a later change of the system's list does not show in it.
    m.mountingMode = 1;
    m.handleProfiles.push_back(catalog->handleByCode("KL100"));
    EXPECT_EQ(m.handleProfileCount(), 1);

    // KL150 named by a sketch file stays; inside the opening its doors are W / n + 67 mm.
    setMounting(0);
    project->handleProfile = kl150;
    project->afterOpen();
    project->doors->resizeAllDoors = true;
    project->recalculate(false);
    EXPECT_EQ(door(0).width, 15000 + 670);
}

TEST_F(MelozaTest, SplittersKeepTheirLengthExceptAtTheFrame) {
    build("Мелоза", "");
    ASSERT_TRUE(project->setDoorCount(2));
    // A rail from frame to frame and an upright from the top frame to the rail.
    split(0, 10000, false, 5000, "KL09");
    split(0, 5000, true, 5000, "KL09");
    project->recalculate(true);
    const Splitter& rail = door(0).splitters.at(1);
    const Splitter& upright = door(0).splitters.at(2);
    // Rail: length - 49 mm + 0,5 mm at each end (KL300N depth 49 mm).
    EXPECT_EQ(rail.cutLength, door(0).width - 490 + 5 + 5 - 490);
    EXPECT_EQ(upright.cutLength, upright.length);
    EXPECT_EQ(upright.cutLength, 10000);
    EXPECT_EQ(rail.edgeOffset, 10000 - 74 / 2);
}

TEST_F(MelozaTest, SketchBlockKeepsTheMounting) {
    build("Мелоза", "");
    DSSystemMeloza& m = meloza();
    m.mountingMode = 0;
    ByteWriter file;
    m.writeSketchBlock(file, 6);
    // Edge option byte, empty kit code, then the mounting as int32.
    EXPECT_EQ(file.bytes(), std::string("\0\0\0\0\0\0\0", 7));
    m.mountingMode = 1;
    ByteReader written(file.bytes());
    ASSERT_TRUE(m.readSketchBlock(written, 6));
    EXPECT_EQ(m.mountingMode, 0);
    // A version 4 block has the edge option only: the mounting stays.
    const std::string oldBytes("\1", 1);
    ByteReader old(oldBytes);
    ASSERT_TRUE(m.readSketchBlock(old, 4));
    EXPECT_EQ(m.mountingMode, 0);
    EXPECT_EQ(m.edgeOption, 1);
    // A block that ends inside the mounting changes nothing.
    const std::string cutBytes("\0\0\0\1\0", 5);
    ByteReader cut(cutBytes);
    EXPECT_FALSE(m.readSketchBlock(cut, 6));
    EXPECT_EQ(m.mountingMode, 0);
    EXPECT_EQ(m.edgeOption, 1);
}

// The project's colour "Белый глянец" (KL300N offers it) is in category 2 ("премиум") for Мелоза.
const char* const kMelozaPrices = "KL300N;;900\n"
                                  "KL300N;премиум;1000\n"
                                  "KL07;;300\n"
                                  "KL07;премиум;320\n"
                                  "KL08;;250\n"
                                  "KL09;;150\n"
                                  "KL09;премиум;160\n"
                                  "ME01;;200\n"
                                  "ME01;премиум;210\n"
                                  "ME02;;100\n"
                                  "ME03;;700\n"
                                  "ME03;премиум;800\n"
                                  "KL17;;40\n"
                                  "KL17;премиум;50\n";

TEST_F(MelozaTest, FourDoorOrderWithSplittersAndMaterials) {
    build("Мелоза", kMelozaPrices, "цвет;Мелоза\nБелый глянец;премиум\n");
    ASSERT_EQ(project->handleProfile->code, "KL300N");
    ASSERT_EQ(project->color->code, "Белый глянец");
    ASSERT_EQ(project->splitterProfile->code, "KL09");
    ASSERT_EQ(project->doorCount, 4);
    ASSERT_TRUE(project->setHeight(24000));

    // Usual mounting: doors 24000 - 620 = 23380 high; width 500 / 2 - 50 + 30000 / 4 = 7700.
    ASSERT_EQ(door(0).height, 23380);
    ASSERT_EQ(door(3).width, 7700);
    EXPECT_EQ(doors().doorsNominalWidth, 30800);

    // KL300N: depth 49, face 41 mm, 5500 mm bars. KL08: face 12 mm; KL07: face 47 mm.
    // KL09: face 7,4 mm (half 3,7). Door 0: a rail at 1000 mm. Door 1: a rail at 1200 mm, below
    // it an upright at 400 mm. Doors 2 and 3: plain.
    split(0, 10000, false, 5000, "KL09");
    split(1, 12000, false, 5000, "KL09");
    split(1, 4000, true, 20000, "KL09");
    door(0).inserts.at(1).material = material("zr.jpg");
    door(0).inserts.at(2).material = material("p10.jpg");
    door(1).inserts.at(1).material = material("p10.jpg");
    door(1).inserts.at(2).material = material("zr.jpg");
    door(2).inserts.at(1).material = material("p10.jpg");
    door(3).inserts.at(1).material = material("zr.jpg");
    project->recalculate(true);
    const CalcResult& r = project->result;

    // Numbering: door 0 edges 1-4, rail 5, inserts 1-2; door 1 edges 6-9, rail 10, upright 11,
    // inserts 3 (top), 4 (lower left), 5 (lower right, empty); door 2 edges 12-15, insert 6;
    // door 3 edges 16-19, insert 7.
    // Edges top and bottom: 7700 + 2 × (5 - 490) = 6730. Rails: 7700 - 490 + 5 + 5 - 490 = 6730.
    // Upright: its nominal length 23380 - 12000 = 11380.
    //
    // 1. Vertical edges: 8 × 23380 in 5500 mm bars, two per bar: 4 × int(100000 × 5,5).
    // 2. KL07: 4 × 6730 = 26920 × 320,00 = 86144.  3. KL08: 26920 × 250,00 = 67300.
    // 4. KL09: 6730 + 6730 + 11380 = 24840 × 160,00 = 39744.
    // 5. ME01: four doors in the usual mounting, 2 × 30000 × 210,00 = 126000.
    // 6. ME02: 30000 × 100,00 = 30000.  No ME-SHL (handle KL300N).
    // 7. ME03: one kit per door, 4 × 700,00 (base price).
    // Last, the seal of the fitted mirrors (no cut row, first price): 2 × (6860 + 9823) +
    //    2 × (3533 + 10853) + 2 × (6860 + 22770) = 121398 × 40,00 = 48559.
    expectArticles(r, {{"KL300N", 55000, 4, 2200000, 1},
                       {"KL07", 0, 26920, 86144, 0},
                       {"KL08", 0, 26920, 67300, 0},
                       {"KL09", 0, 24840, 39744, 0},
                       {"ME01", 0, 60000, 126000, 0},
                       {"ME02", 0, 30000, 30000, 0},
                       {"ME03", 0, 4, 280000, 1},
                       {"KL17", 0, 121398, 48559, 0}});
    expectCuts(r, {{"1-1", "KL300N", "2338,0", "1", 0},  {"1-2", "KL300N", "2338,0", "3", 0},
                   {"1-3", "KL300N", "2338,0", "6", 1},  {"1-4", "KL300N", "2338,0", "8", 1},
                   {"1-5", "KL300N", "2338,0", "12", 2}, {"1-6", "KL300N", "2338,0", "14", 2},
                   {"1-7", "KL300N", "2338,0", "16", 3}, {"1-8", "KL300N", "2338,0", "18", 3},
                   {"2-1", "KL07", "673,0", "4", 0},     {"2-2", "KL07", "673,0", "9", 1},
                   {"2-3", "KL07", "673,0", "15", 2},    {"2-4", "KL07", "673,0", "19", 3},
                   {"3-1", "KL08", "673,0", "2", 0},     {"3-2", "KL08", "673,0", "7", 1},
                   {"3-3", "KL08", "673,0", "13", 2},    {"3-4", "KL08", "673,0", "17", 3},
                   {"4-1", "KL09", "673,0", "5", 0},     {"4-2", "KL09", "673,0", "10", 1},
                   {"4-3", "KL09", "1138,0", "11", 1},   {"5-0", "ME01", "6000,0", "0", -1},
                   {"6-0", "ME02", "3000,0", "0", -1},   {"7-0", "ME03", "4", "0", -1}});
    EXPECT_EQ(r.cutList[0].name, "Вертикальный симетричный профиль 5,5 м.");

    // Fillings (faces: KL08 12 mm above, KL07 47 mm below, KL300N 41 mm at the sides, rails
    // half 3,7 mm); a 4 mm filling loses 1 mm all round:
    //   door 0 top (mirror): h 10000 - 37 - 120 = 9843, w 7700 - 820 = 6880 → 6860 × 9823.
    //   door 0 bottom (panel): h 23380 - 10037 - 470 = 12873, w 6880.
    //   door 1 top (panel): h 12000 - 37 - 120 = 11843, w 6880.
    //   door 1 lower left (mirror): h 23380 - 12037 - 470 = 10873, w 4000 - 37 - 410 = 3553 →
    //     3533 × 10853.
    //   door 1 lower right (empty): w 7700 - 410 - 4037 = 3253, h 10873.
    //   door 2 (panel): h 23380 - 590 = 22790, w 6880; door 3 (mirror): 6860 × 22770.
    // P10: 0,688 × (1,2873 + 1,1843 + 2,279) = 3,2684128 m², ceil(150000 × …) = 490262.
    // ZR4: 0,686 × 0,9823 + 0,3533 × 1,0853 + 0,686 × 2,277 = 2,61931629 m² → 523864.
    // Without material: 0,3253 × 1,0873 = 0,35369869 m². Sizes with one decimal.
    expectFillings(r, {{"P10", 100, 3.2684128, 490262},
                       {"ZR4", 40, 2.61931629, 523864},
                       {"ВНИМАНИЕ", 0, 0.35369869, 0}});
    expectPieces(r, {{"1-1", "P10", "1287,3", "688,0", "2", 0},
                     {"1-2", "P10", "1184,3", "688,0", "3", 1},
                     {"1-3", "P10", "2279,0", "688,0", "6", 2},
                     {"2-1", "ZR4", "982,3", "686,0", "1", 0},
                     {"2-2", "ZR4", "1085,3", "353,3", "4", 1},
                     {"2-3", "ZR4", "2277,0", "686,0", "7", 3}});
}

// Тавро: cabinet heights, the alternating verticals, splitter groups by profile, the side strips,
// the automatic roller kits and the seals; one whole order checked against a hand computation.
#include "support/SystemBillSupport.h"

#include "calc/systems/DSSystemTavro.h"

using namespace billtest;

namespace {

class TavroTest : public SystemBillTest {};

std::vector<std::string> cutMarksOfGroup(const CalcResult& r, const std::string& code) {
    std::vector<std::string> marks;
    for (const CutPieceRow& row : r.cutList)
        if (row.code == code)
            marks.push_back(row.mark + "@" + std::to_string(row.doorIndex));
    return marks;
}

} // namespace

TEST_F(TavroTest, DoorsAreComputedFromTheCabinet) {
    build("Тавро", "");
    // Switching to Тавро raises the plinth to its minimum of 54 mm.
    EXPECT_EQ(project->plinthHeight, 540);
    EXPECT_EQ(project->system->minPlinthHeight(), 540);
    // 2000 mm cabinet - 16 mm chipboard - 54 mm plinth + 43 mm = 1973 mm.
    EXPECT_EQ(doors().height, 19730);
    EXPECT_EQ(door(0).height, 19730);
    ASSERT_TRUE(project->setChipboardThickness(180));
    EXPECT_EQ(doors().height, 20000 - 180 - 540 + 430);
    EXPECT_EQ(door(2).height, 19710);
}

TEST_F(TavroTest, OneDoorHasTwoHandlePiecesAndNoConnector) {
    build("Тавро", "");
    ASSERT_TRUE(project->setDoorCount(1));
    const CalcResult& r = project->result;
    // The handle TL01 on both sides; no rear door, so no connector row.
    EXPECT_EQ(cutMarksOfGroup(r, "TL01"), (std::vector<std::string>{"1@0", "3@0"}));
    EXPECT_EQ(findArticle(r, "TL03"), nullptr);
    EXPECT_EQ(findArticle(r, "TL07"), nullptr);
    const ArticleRow* small = findArticle(r, "TL06");
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(small->quantity, 2 * 19730);
    const ArticleRow* kit = findArticle(r, "TL12");
    ASSERT_NE(kit, nullptr);
    EXPECT_EQ(kit->quantity, 1);
    // Groups: handle 1, the empty connector group still takes 2, TL13 edges 3.
    EXPECT_EQ(r.cutList[0].number, "1-1");
    EXPECT_EQ(r.cutList[2].number, "3-1");
    EXPECT_EQ(r.cutList[2].code, "TL13");
}

TEST_F(TavroTest, FourDoorsAlternateHandleAndConnector) {
    build("Тавро", "");
    ASSERT_TRUE(project->setDoorCount(4));
    const CalcResult& r = project->result;
    // Edge marks per door: left 4i+1, top 4i+2, right 4i+3, bottom 4i+4.
    // Front doors 1 and 3 carry the handle on both sides, rear doors 0 and 2 where they meet the
    // cabinet's end; everything else is the connector.
    EXPECT_EQ(cutMarksOfGroup(r, "TL01"),
              (std::vector<std::string>{"1@0", "5@1", "7@1", "13@3", "15@3"}));
    EXPECT_EQ(cutMarksOfGroup(r, "TL03"), (std::vector<std::string>{"3@0", "9@2", "11@2"}));
    // 5 pieces of 1973 mm in 4900 mm bars: 2 + 2 + 1 → 3 bars; 3 connectors → 2 bars.
    EXPECT_EQ(findArticle(r, "TL01")->quantity, 3);
    EXPECT_EQ(findArticle(r, "TL03")->quantity, 2);
    // Even door count: one large and one small strip of the door height; two 2-door kits.
    EXPECT_EQ(findArticle(r, "TL07")->quantity, 19730);
    EXPECT_EQ(findArticle(r, "TL06")->quantity, 19730);
    EXPECT_EQ(findArticle(r, "TL12")->quantity, 2);
    EXPECT_EQ(findArticle(r, "TL12-1"), nullptr);
    // Door width: (3 overlaps × 15 mm + 3000 mm) / 4.
    EXPECT_EQ(door(0).width, (3 * 150 + 30000) / 4);
    EXPECT_EQ(doors().doorsNominalWidth, 4 * ((3 * 150 + 30000) / 4));
}

TEST_F(TavroTest, NarrowHandleTakesItsOwnConnector) {
    build("Тавро", "");
    ASSERT_TRUE(project->setHandleProfile(catalog->handleByCode("TL02")));
    const CalcResult& r = project->result;
    EXPECT_EQ(findArticle(r, "TL03"), nullptr);
    const ArticleRow* connector = findArticle(r, "TL04");
    ASSERT_NE(connector, nullptr);
    EXPECT_EQ(connector->quantity, 1);
    // TL02 overlaps like every Тавро handle: 15 mm per pair of doors on different tracks.
    EXPECT_EQ(door(0).width, (2 * 150 + 30000) / 3);
    // Top and bottom TL13: width + 2 × (0,5 - 0,6) mm.
    EXPECT_EQ(door(0).edges[EdgeTop].cutLength, 10100 + 2 * (5 - 60));
}

TEST_F(TavroTest, AutomaticKitByDoorCount) {
    build("Тавро", "");
    const struct {
        int doors;
        const char* kit;
        int32_t packs;
    } cases[] = {{1, "TL12", 1},   {2, "TL12", 1}, {3, "TL12-1", 1}, {5, "TL12", 3},
                 {6, "TL12-1", 2}, {7, "TL12", 4}, {9, "TL12-1", 3}, {10, "TL12", 5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.doors);
        project->setDoorCount(c.doors);
        const ArticleRow* kit = findArticle(project->result, c.kit);
        ASSERT_NE(kit, nullptr);
        EXPECT_EQ(kit->quantity, c.packs);
        EXPECT_EQ(kit->counted, 1);
    }
}

TEST_F(TavroTest, EdgeOptionLeavesTopAndBottomWithoutProfile) {
    build("Тавро", "");
    ASSERT_TRUE(project->setDoorCount(1));
    // A vertical TL13 splitter from the top frame to the bottom frame.
    split(0, 5000, true, 3000, "TL13");
    ASSERT_TRUE(project->toggleEdgeOption());
    ASSERT_EQ(project->system->edgeOption, 1);
    const Door& d = door(0);
    EXPECT_EQ(d.edges[EdgeTop].profile, nullptr);
    EXPECT_EQ(d.edges[EdgeBottom].profile, nullptr);
    // No top or bottom edge to lose its depth against: the cut stays the nominal length.
    const Splitter& s = d.splitters.begin()->second;
    EXPECT_EQ(s.cutLength, s.length);
    // The TL13 group holds the splitter alone.
    EXPECT_EQ(cutMarksOfGroup(project->result, "TL13"), (std::vector<std::string>{"3@0"}));

    // Back to the framed doors: TL13 (dimA 14 mm) at both ends, and the edges join the group.
    ASSERT_TRUE(project->toggleEdgeOption());
    EXPECT_EQ(d.splitters.begin()->second.cutLength, s.length - 2 * 140);
    EXPECT_EQ(cutMarksOfGroup(project->result, "TL13"),
              (std::vector<std::string>{"4@0", "2@0", "5@0"}));
}

TEST_F(TavroTest, TenMillimetrePanelGetsInsertStripAndThicknessError) {
    build("Тавро", "");
    ASSERT_TRUE(project->setDoorCount(1));
    door(0).inserts.at(1).material = material("p10.jpg");
    project->recalculate(true);
    const Insert& in = door(0).inserts.at(1);
    EXPECT_TRUE(in.thicknessMismatch);
    const ArticleRow* strip = findArticle(project->result, "KS15");
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(strip->quantity, 2 * (in.fillWidth + in.fillHeight));
    EXPECT_EQ(findArticle(project->result, "TL11"), nullptr);
    ASSERT_EQ(project->result.fillings.size(), 1u);
    EXPECT_EQ(project->result.fillings[0].error,
              "ОШИБКА: Не подходящий по толщине (10,00) материал.");
}

// Prices (roubles per metre or per piece); the project's colour "Белый глянец" (kept from Ловен,
// TL01 offers it too) is in category 2 ("премиум") for Тавро, so a premium price counts only where
// the colour does.
const char* const kTavroPrices = "TL01;;500\n"
                                 "TL01;премиум;600\n"
                                 "TL03;;400\n"
                                 "TL08;;300\n"
                                 "TL13;;200\n"
                                 "TL13;премиум;250\n"
                                 "KI01;;100\n"
                                 "TL10NEW;;120\n"
                                 "TL10NEW;премиум;150\n"
                                 "TL06;;50\n"
                                 "TL06;премиум;90\n"
                                 "TL12-1;;1500\n"
                                 "TL12-1;премиум;2000\n"
                                 "TL11;;30\n"
                                 "TL11;премиум;40\n";

TEST_F(TavroTest, ThreeDoorOrderWithSplittersAndMaterials) {
    build("Тавро", kTavroPrices, "цвет;Тавро\nБелый глянец;премиум\n");
    ASSERT_EQ(project->handleProfile->code, "TL01");
    ASSERT_EQ(project->color->code, "Белый глянец");
    ASSERT_TRUE(project->setOpeningWidth(30000));
    ASSERT_TRUE(project->setHeight(24000));
    ASSERT_EQ(project->doorCount, 3);

    // Cabinet 2400 mm, chipboard 16 mm, plinth 54 mm: doors 24000 - 160 - 540 + 430 = 23730.
    // Tracks 0, 1, 0: two overlaps; width (2 × 150 + 30000) / 3 = 10100; nominal 30300.
    ASSERT_EQ(door(0).height, 23730);
    ASSERT_EQ(door(0).width, 10100);
    ASSERT_EQ(door(2).width, 10100);
    EXPECT_EQ(doors().doorsNominalWidth, 30300);

    // TL01: overlap 14,5, depth 14,5, face 1,2 mm, 4900 mm bars. TL13 / TL08: dimA 14, face 1,4,
    // seat 6,3 mm, 4900 mm bars.
    // Door 0: a TL13 rail at 1000 mm. Door 1: a TL08 rail at 1200 mm and below it a TL13 upright
    // at 500 mm. Door 2: plain.
    split(0, 10000, false, 5000, "TL13");
    split(1, 12000, false, 5000, "TL08");
    split(1, 5000, true, 20000, "TL13");
    // Materials: mirror in door 0 top and door 1 lower left, chipboard in door 0 bottom, door 1
    // top and door 2; door 1 lower right stays empty.
    door(0).inserts.at(1).material = material("zr.jpg");
    door(0).inserts.at(2).material = material("dsp.jpg");
    door(1).inserts.at(1).material = material("dsp.jpg");
    door(1).inserts.at(2).material = material("zr.jpg");
    door(2).inserts.at(1).material = material("dsp.jpg");
    project->recalculate(true);
    const CalcResult& r = project->result;

    // Numbering: door 0 edges 1-4 (left, top, right, bottom), rail 5, inserts 1-2; door 1 edges
    // 6-9, rail 10, upright 11, inserts 3-5; door 2 edges 12-15, insert 6.
    // Top and bottom edges TL13: 10100 + 2 × (5 - 145) = 9820.
    // Rails (frame at both ends): 10100 + 2 × (5 - 145) = 9820.
    // Upright: 11730 nominal + (14 / 2 - 63) at the rail - 140 (TL13 dimA) at the bottom = 11534.
    EXPECT_EQ(door(1).splitters.at(2).cutLength, 11534);

    // 1. Handle group: 4 pieces of 23730 in 49000 bars (2 per bar) = 2 bars at the premium
    //    600,00: 2 × int(60000 × 4,9) = 588000.
    // 2. Connector TL03: 2 pieces = 1 bar × int(40000 × 4,9) = 196000.
    // 3. TL08 group: the rail of door 1. Splitter profiles (kind 1) are sold by length:
    //    9820 × int(30000 × 0,982) = 29460 (no premium price for TL08).
    // 4. TL13 group: 9820 × 5 (door 0 bottom, top, rail; door 1 bottom, top), 11534, 9820 × 2:
    //    80274 in total at the premium 250,00: int(25000 × 8,0274) = 200685.
    // 5. KI01 3000 mm × 100,00 = 30000; 6. TL10NEW 3000 mm × 150,00 (premium) = 45000.
    // 7. Odd door count: no TL07; TL06 (3 mod 2 + 1) × 23730 = 47460 at the first price 50,00:
    //    int(5000 × 4,746) = 23730.
    // 8. 3 doors: TL12-1 × 1 at the base price 1500,00 = 150000.
    // 9. Seals: no 10 mm filling, so no KS15. TL11 for the mirrors at the frame: door 0 top has
    //    the frame on both sides (2 × 9959), door 1 lower left on its left side (11689):
    //    31607 at the first price 30,00: int(3000 × 3,1607) = 9482.
    expectArticles(r, {{"TL01", 49000, 2, 588000, 1},
                       {"TL03", 49000, 1, 196000, 1},
                       {"TL08", 0, 9820, 29460, 0},
                       {"TL13", 0, 80274, 200685, 0},
                       {"KI01", 0, 30000, 30000, 0},
                       {"TL10NEW", 0, 30000, 45000, 0},
                       {"TL06", 0, 47460, 23730, 0},
                       {"TL12-1", 0, 1, 150000, 1},
                       {"TL11", 0, 31607, 9482, 0}});
    EXPECT_EQ(r.articles[0].name, "Профиль ручка");

    expectCuts(r, {{"1-1", "TL01", "2373,0", "1", 0},     {"1-2", "TL01", "2373,0", "6", 1},
                   {"1-3", "TL01", "2373,0", "8", 1},     {"1-4", "TL01", "2373,0", "14", 2},
                   {"2-1", "TL03", "2373,0", "3", 0},     {"2-2", "TL03", "2373,0", "12", 2},
                   {"3-1", "TL08", "982,0", "10", 1},     {"4-1", "TL13", "982,0", "4", 0},
                   {"4-2", "TL13", "982,0", "2", 0},      {"4-3", "TL13", "982,0", "5", 0},
                   {"4-4", "TL13", "982,0", "9", 1},      {"4-5", "TL13", "982,0", "7", 1},
                   {"4-6", "TL13", "1153,4", "11", 1},    {"4-7", "TL13", "982,0", "15", 2},
                   {"4-8", "TL13", "982,0", "13", 2},     {"5-0", "KI01", "3000,0", "0", -1},
                   {"6-0", "TL10NEW", "3000,0", "0", -1}, {"7-0", "TL06", "4746,0", "0", -1},
                   {"8-0", "TL12-1", "1", "0", -1},       {"9-0", "TL11", "3160,7", "0", -1}});

    // Fillings. Faces: TL13 edges 1,4 mm, TL01 1,2 mm, rails half of 1,4 = 0,7 mm.
    //   door 0 top (mirror): y 14, h 10000 - 7 - 14 = 9979, x 12, w 10100 - 24 = 10076; a 4 mm
    //     filling shrinks by 1 mm all round (bounded), then 1,5 mm more at each frame side:
    //     w 10076 - 20 - 15 = 10041, h 9979 - 20 = 9959.
    //   door 0 bottom (chipboard): h 23730 - 10007 - 14 = 13709, w 10076.
    //   door 1 top (chipboard): h 12000 - 7 - 14 = 11979, w 10076.
    //   door 1 lower left (mirror): h 23730 - 12007 - 14 = 11709, w 5000 - 7 - 12 = 4981;
    //     fitted: h 11689, w 4961 (frame on the left only: x moves, width keeps).
    //   door 1 lower right (empty): w 10100 - 12 - 5007 = 5081, h 11709.
    //   door 2 (chipboard): h 23730 - 28 = 23702, w 10076.
    // DSP16: 1,0076 × 1,3709 + 1,0076 × 1,1979 + 1,0076 × 2,3702 = 4,9765364 m²,
    //   ceil(80000 × 4,9765364) = 398123.
    // ZR4: 1,0041 × 0,9959 + 0,4961 × 1,1689 = 1,57987448 m², ceil(200000 × …) = 315975.
    // Without material: 0,5081 × 1,1709 = 0,59493429 m².
    expectFillings(r, {{"DSP16", 160, 4.9765364, 398123},
                       {"ZR4", 40, 1.57987448, 315975},
                       {"ВНИМАНИЕ", 0, 0.59493429, 0}});
    expectPieces(r, {{"1-1", "DSP16", "1371", "1008", "2", 0},
                     {"1-2", "DSP16", "1198", "1008", "3", 1},
                     {"1-3", "DSP16", "2370", "1008", "6", 2},
                     {"2-1", "ZR4", "996", "1004", "1", 0},
                     {"2-2", "ZR4", "1169", "496", "4", 1}});
}

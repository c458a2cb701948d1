// Тавро: cabinet heights, the alternating verticals, splitter groups by profile, the side strips,
// the automatic roller kits and the seals (the whole order: WholeBillTest).
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

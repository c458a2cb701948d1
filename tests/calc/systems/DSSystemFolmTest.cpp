// Фольм: cabinet heights, doors framed all round by the handle profile, the splitters' cover strip
// with its minimum length, the shared tracks, the kits and hardware sets, the glass seal (the
// whole order: WholeBillTest).
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

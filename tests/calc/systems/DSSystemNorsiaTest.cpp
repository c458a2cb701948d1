// Норсия: cabinet heights, the alternating verticals with the KN02 connector, the KN03 frame
// profile, the shared tracks, kits per two doors and the glass seal (whole order: WholeBillTest).
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

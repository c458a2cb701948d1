// Кверт-Н: door sizes, the standard vertical group, splitters by profile (others not billed),
// opening tracks, the KSA kit and the side seal (the whole order: WholeBillTest).
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

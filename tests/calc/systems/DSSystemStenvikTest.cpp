// Стенвик: door sizes, the door frame group, the KS14 bottom edge, splitters by profile, opening
// tracks, running accessories and seals (the whole order: WholeBillTest).
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

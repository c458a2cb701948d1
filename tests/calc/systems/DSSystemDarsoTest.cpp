// Дарсо: the height taken 40 mm below the opening, its own edges, the door frame group, glass
// seals by the side they touch (the whole order: WholeBillTest).
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

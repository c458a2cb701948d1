// Мелоза: the two mountings with their door limits, tracks, door sizes and handle lists, its own
// splitter cut rule, tracks and accessories, the sketch block (the whole order: WholeBillTest).
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

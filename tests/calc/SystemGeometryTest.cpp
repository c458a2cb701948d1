// Door sizes, proportions, edges, splitter cut lengths and filling rectangles.
#include "support/CalcTestSupport.h"

#include "calc/CalcResult.h"

#include <gtest/gtest.h>

using calctest::Records;
using calctest::split;
using calctest::TestSystem;

namespace {

class GeometryTest : public ::testing::Test {
protected:
    Records records;
    HandleProfile* handle = records.handle("H", 260, 252, 171, 55000, 1);
    Article* top = records.article("TOP", KindProfile, 0, 59000, 205, 205, 120);
    Article* bottom = records.article("BOT", KindProfile, 0, 59000, 570, 570, 470);
    SplitterProfile* profile = records.splitter("SP", 74, 95);

    void configure(TestSystem& s, int32_t doorWidth, int32_t doorHeight = 19600) {
        s.doorWidth = doorWidth;
        s.doorHeight = doorHeight;
        s.topEdge = top;
        s.bottomEdge = bottom;
    }
};

std::vector<int32_t> widths(const DoorSet& d) {
    std::vector<int32_t> w;
    for (int i = 0; i < d.doorCount; ++i)
        w.push_back(d.doors[i].width);
    return w;
}

} // namespace

TEST_F(GeometryTest, OverlapsCountTrackChanges) {
    DoorSet doors(30000, 20000, 1, handle, false);
    EXPECT_EQ(DSSystem::overlapCount(doors), 0);
    doors.doorCount = 4; // tracks 0 1 0 1
    EXPECT_EQ(DSSystem::overlapCount(doors), 3);
    doors.doors[1].track = 0; // 0 0 0 1
    EXPECT_EQ(DSSystem::overlapCount(doors), 1);
}

TEST_F(GeometryTest, ManualWidthsKeepProportionsWhenTheOpeningChanges) {
    TestSystem s(SystemLoven);
    configure(s, 10000);
    DoorSet doors(30000, 20000, 3, handle, false);
    s.updateGeometry(doors, false);
    EXPECT_EQ(widths(doors), (std::vector<int32_t>{10000, 10000, 10000}));
    EXPECT_EQ(doors.doorsNominalWidth, 30000);

    // The user sets the doors to 500, 1000 and 1500 mm; then the opening grows so that the
    // system's standard width becomes 1100 mm.
    doors.doors[0].width = 5000;
    doors.doors[1].width = 10000;
    doors.doors[2].width = 15000;
    doors.previousWidth = doors.openingWidth;
    doors.openingWidth = 33000;
    s.doorWidth = 11000;
    s.updateGeometry(doors, false);
    EXPECT_EQ(doors.doorsNominalWidth, 33000);
    EXPECT_EQ(widths(doors), (std::vector<int32_t>{5500, 11000, 16500}));

    // A nominal width that does not divide evenly: the last door absorbs the rounding.
    doors.previousWidth = doors.openingWidth;
    doors.openingWidth = 10001;
    s.doorWidth = 3333;
    s.updateGeometry(doors, false);
    EXPECT_EQ(doors.doorsNominalWidth, 9999);
    EXPECT_EQ(widths(doors), (std::vector<int32_t>{1667, 3333, 9999 - 1667 - 3333}));
}

TEST_F(GeometryTest, DoorCountChangeResetsToStandardWidth) {
    TestSystem s(SystemLoven);
    configure(s, 10000);
    DoorSet doors(30000, 20000, 3, handle, false);
    s.updateGeometry(doors, false);
    doors.doors[0].width = 5000;
    doors.doors[2].width = 15000;
    doors.previousCount = 3;
    doors.doorCount = 2;
    s.doorWidth = 15000;
    s.updateGeometry(doors, false);
    EXPECT_EQ(widths(doors), (std::vector<int32_t>{15000, 15000}));
    EXPECT_EQ(doors.previousCount, 2);
}

TEST_F(GeometryTest, SizesChangeOnlyWhenTheirInputChanged) {
    TestSystem s(SystemLoven);
    configure(s, 10000, 19000);
    DoorSet doors(30000, 20000, 3, handle, false);
    s.updateGeometry(doors, false);
    EXPECT_FALSE(doors.resizeAllDoors);
    doors.doors[1].width = 12000;
    doors.doors[1].height = 17000;
    // Only the height input changed: heights are reset, the manual width stays.
    doors.previousHeight = doors.height;
    doors.height = 21000;
    s.doorHeight = 20000;
    s.applyDoorSizes(doors, 20000, 10000);
    EXPECT_EQ(doors.doors[1].width, 12000);
    EXPECT_EQ(doors.doors[1].height, 20000);
    EXPECT_EQ(doors.previousHeight, 21000);
    // resizeAllDoors forces both.
    doors.resizeAllDoors = true;
    s.applyDoorSizes(doors, 20000, 10000);
    EXPECT_EQ(doors.doors[1].width, 10000);
    EXPECT_FALSE(doors.resizeAllDoors);
}

TEST_F(GeometryTest, SingleDoorAndMissingNominalWidthGiveNoProportions) {
    TestSystem s(SystemLoven);
    configure(s, 10000);
    DoorSet doors(10000, 20000, 1, handle, false);
    DoorProportions p{};
    EXPECT_TRUE(s.captureProportions(doors, p)); // door 0 has width 0
    s.updateGeometry(doors, false);
    doors.doors[0].width = 8000;
    s.distributeWidths(doors, p); // one door: nothing happens
    EXPECT_EQ(doors.doors[0].width, 8000);
    doors.doorsNominalWidth = 0; // nothing to divide by
    EXPECT_TRUE(s.captureProportions(doors, p));
}

TEST_F(GeometryTest, SplittersFollowDoorResize) {
    TestSystem s(SystemLoven);
    configure(s, 10000);
    DoorSet doors(30000, 20000, 3, handle, false);
    s.updateGeometry(doors, false);
    ASSERT_NE(split(doors.doors[0], 5000, true, 100, profile), nullptr);
    doors.previousWidth = doors.openingWidth;
    doors.openingWidth = 60000;
    s.doorWidth = 20000;
    s.updateGeometry(doors, false);
    EXPECT_EQ(doors.doors[0].splitters.begin()->second.position, 10000);
    EXPECT_EQ(doors.doors[0].inserts.rbegin()->second.right, 20000);
}

TEST_F(GeometryTest, EdgesOfTheBaseRule) {
    DoorSet doors(30000, 20000, 2, handle, false);
    TestSystem stenvik(SystemStenvik);
    configure(stenvik, 15000);
    stenvik.updateGeometry(doors, false);
    const Door& d = doors.doors[1];
    EXPECT_EQ(d.edges[EdgeLeft].profile, handle);
    EXPECT_EQ(d.edges[EdgeRight].cutLength, 19600);
    EXPECT_EQ(d.edges[EdgeTop].profile, top);
    EXPECT_EQ(d.edges[EdgeTop].cutLength, 15000 - 2 * 252 - 10);
    EXPECT_EQ(d.edges[EdgeBottom].cutLength, 15000 - 2 * 252 - 10);

    TestSystem tavro(SystemTavro);
    configure(tavro, 15000);
    tavro.updateGeometry(doors, true);
    EXPECT_EQ(d.edges[EdgeBottom].cutLength, 15000 + 2 * (5 - 252));

    // Without a handle profile the horizontal edges keep what they had.
    doors.handleProfile = nullptr;
    stenvik.assignEdgeProfiles(doors, nullptr, nullptr);
    EXPECT_EQ(d.edges[EdgeLeft].profile, nullptr);
    EXPECT_EQ(d.edges[EdgeTop].profile, top);
    EXPECT_EQ(d.edges[EdgeBottom].cutLength, 15000 + 2 * (5 - 252));
}

TEST_F(GeometryTest, HorizontalSplitterEndsAtTheFramePerSystemKind) {
    // A horizontal splitter across a 1500 mm door; both ends meet the handle profile (dimB 252).
    const std::pair<SystemKind, int32_t> cases[] = {
        {SystemStenvik, 15000 + 2 * (5 - 252)}, {SystemTavro, 15000 + 2 * (5 - 252)},
        {SystemLoven, 15000 + 2 * (5 - 252)},   {SystemKvert, 15000 - 2 * 252},
        {SystemDarso, 15000 - 2 * 252},         {SystemFolm, 15000 - 2 * 252},
        {SystemNorsia, 15000 - 2 * 252},        {SystemGartis, 15000 + 2 * (-5 - 252)},
        {SystemMeloza, 15000 + 2 * (-5 - 252)},
    };
    for (auto [kind, expected] : cases) {
        TestSystem s(kind);
        configure(s, 15000);
        DoorSet doors(30000, 20000, 2, handle, false);
        s.updateGeometry(doors, false);
        Splitter* h = split(doors.doors[0], 10000, false, 100, profile);
        ASSERT_NE(h, nullptr);
        s.updateGeometry(doors, true);
        EXPECT_EQ(h->cutLength, expected) << "systemKind " << kind;
        EXPECT_EQ(h->edgeOffset, 10000 - 37);
    }
}

TEST_F(GeometryTest, SplitterEndsAgainstSplittersAndHorizontalEdges) {
    TestSystem s(SystemLoven);
    configure(s, 15000);
    DoorSet doors(30000, 20000, 2, handle, false);
    s.updateGeometry(doors, false);
    Door& d = doors.doors[0];
    Splitter* h = split(d, 10000, false, 100, profile);
    Splitter* v = split(d, 7500, true, 15000, profile); // in the lower insert
    ASSERT_NE(h, nullptr);
    ASSERT_NE(v, nullptr);
    Splitter* h2 = split(d, 15000, false, 1000, nullptr); // lower left, no profile
    ASSERT_NE(h2, nullptr);
    s.updateGeometry(doors, true);
    // Vertical: 9600 long, its top end seats in h (74 / 2 - 95), its bottom end stands on the
    // bottom edge (dimA 570).
    EXPECT_EQ(v->length, 9600);
    EXPECT_EQ(v->cutLength, 9600 + 37 - 95 - 570);
    // Horizontal without profile: left end at the frame (+5 - 252), right end at v.
    EXPECT_EQ(h2->cutLength, 7500 + 5 - 252 + 37 - 95);
    EXPECT_EQ(h2->edgeOffset, 15000);

    TestSystem folm(SystemFolm);
    configure(folm, 15000);
    folm.updateGeometry(doors, true);
    EXPECT_EQ(v->cutLength, 9600 - 95 - 570); // Фольм: only the seat depth
}

TEST_F(GeometryTest, FillingRectanglesBetweenEdgesAndSplitters) {
    TestSystem s(SystemLoven);
    configure(s, 15000);
    DoorSet doors(30000, 20000, 2, handle, false);
    s.updateGeometry(doors, false);
    Door& d = doors.doors[0];
    split(d, 10000, false, 100, profile);
    split(d, 7500, true, 15000, profile);
    s.updateGeometry(doors, true);
    const Insert& upper = d.inserts.at(1);
    EXPECT_EQ(upper.fillY, 120);
    EXPECT_EQ(upper.fillHeight, 10000 - 37 - 120);
    EXPECT_EQ(upper.fillX, 171);
    EXPECT_EQ(upper.fillWidth, 15000 - 171 - 171);
    const Insert& lowerLeft = d.inserts.at(2);
    EXPECT_EQ(lowerLeft.fillY, 10037);
    EXPECT_EQ(lowerLeft.fillHeight, 19600 - 10037 - 470);
    EXPECT_EQ(lowerLeft.fillWidth, 7500 - 37 - 171);
    const Insert& lowerRight = d.inserts.at(3);
    EXPECT_EQ(lowerRight.fillX, 7537);
    EXPECT_EQ(lowerRight.fillWidth, 15000 - 171 - 7537);
}

TEST_F(GeometryTest, BaseFitTable) {
    TestSystem s(SystemGartis);
    configure(s, 15000);
    Insert in;
    auto fit = [&](int32_t thickness, bool leftSplitter, int32_t topW, int32_t bottomW) {
        in = Insert{};
        in.fillX = 100;
        in.fillY = 200;
        in.fillWidth = 5000;
        in.fillHeight = 6000;
        Splitter dummy;
        if (leftSplitter)
            in.leftSplitter = &dummy;
        in.material = records.material("M", thickness, 100);
        s.fitFilling(in, topW, bottomW);
        in.leftSplitter = nullptr;
    };
    fit(40, false, 120, 470); // bounded, frame on both sides
    EXPECT_EQ(in.fillX, 100 + 10 + 15);
    EXPECT_EQ(in.fillWidth, 5000 - 20 - 15);
    EXPECT_EQ(in.fillY, 210);
    EXPECT_EQ(in.fillHeight, 5980);
    EXPECT_FALSE(in.thicknessMismatch);
    fit(40, true, 0, 470); // not bounded at the top, left splitter
    EXPECT_EQ(in.fillX, 110);
    EXPECT_EQ(in.fillY, 200);
    EXPECT_EQ(in.fillHeight, 6000);
    fit(100, false, 120, 470);
    EXPECT_EQ(in.fillX, 110);
    EXPECT_EQ(in.fillWidth, 4980);
    fit(160, false, 120, 470);
    EXPECT_EQ(in.fillWidth, 5000);
    EXPECT_FALSE(in.thicknessMismatch);
    fit(80, false, 120, 470);
    EXPECT_TRUE(in.thicknessMismatch);
    EXPECT_EQ(in.fillWidth, 5000);

    // Without material the insert is left alone, mismatch included.
    in.material = nullptr;
    in.thicknessMismatch = true;
    s.fitFilling(in, 120, 470);
    EXPECT_TRUE(in.thicknessMismatch);
}

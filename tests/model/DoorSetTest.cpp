// Door set operations: the doors in view, material targets, drags, insert sizes, copy and paste.
#include "support/LayoutHelpers.h"

#include "catalog/Article.h"
#include "catalog/Material.h"
#include "catalog/SplitterProfile.h"

#include <gtest/gtest.h>

#include <numeric>

using layout::placeOnScreen;

namespace {

// Three doors of 1000 x 2000 mm drawn side by side at 0.1 px per 0.1 mm (door i from x = 1000 i).
struct ThreeDoors : ::testing::Test {
    DoorSet set{30000, 20000, 3, nullptr, false};
    SplitterProfile profile;

    void SetUp() override {
        set.scale = 0.1;
        for (int i = 0; i < kMaxDoors; ++i) {
            Door& d = set.doors[i];
            d.width = 10000;
            d.height = 20000;
            d.relayout(true);
        }
        draw();
    }

    void draw() {
        int x = 0;
        for (int i = 0; i < set.doorCount; ++i) {
            Door& d = set.doors[i];
            placeOnScreen(d, set.scale, x, 0);
            d.edges[EdgeRight].rect = {d.rect.right - 4, 0, d.rect.right, d.rect.bottom};
            x = d.rect.right;
        }
    }

    int totalWidth() const {
        int sum = 0;
        for (int i = 0; i < set.doorCount; ++i) {
            sum += set.doors[i].width;
        }
        return sum;
    }
};

} // namespace

TEST(DoorSetCreate, TracksAndStartValues) {
    DoorSet plain(25000, 21000, 4, nullptr, false);
    DoorSet swapped(25000, 21000, 4, nullptr, true);
    for (int i = 0; i < kMaxDoors; ++i) {
        EXPECT_EQ(plain.doors[i].index, i);
        EXPECT_EQ(plain.doors[i].track, i % 2);
        EXPECT_EQ(swapped.doors[i].track, 0);
        EXPECT_EQ(plain.doors[i].inserts.size(), 1u);
    }
    EXPECT_EQ(plain.previousWidth, 25000);
    EXPECT_EQ(plain.previousHeight, 21000);
    EXPECT_EQ(plain.previousCount, 4);
    EXPECT_TRUE(plain.resizeAllDoors);
    EXPECT_TRUE(plain.changed);
    EXPECT_EQ(plain.zoomDoor, -1);
    EXPECT_EQ(plain.copySourceDoor, -1);
    EXPECT_EQ(plain.selectedSplitter, nullptr);
}

TEST_F(ThreeDoors, DoorsInViewFollowZoom) {
    EXPECT_EQ(set.doorsInView(), (std::vector<int>{0, 1, 2}));
    set.zoomDoor = 1;
    EXPECT_EQ(set.doorsInView(), (std::vector<int>{1}));
    set.zoomDoor = 42;
    EXPECT_TRUE(set.doorsInView().empty());
}

TEST_F(ThreeDoors, AddSplitterSelectsItInTheDoorUnderThePoint) {
    set.changed = false;
    ASSERT_TRUE(set.addSplitterAtPoint({1250, 500}, &profile, true));
    EXPECT_TRUE(set.changed);
    ASSERT_EQ(set.selectedSplitterDoor, &set.doors[1]);
    EXPECT_EQ(set.selectedSplitter, &set.doors[1].splitters.at(1));
    EXPECT_EQ(set.selectedSplitter->position, 2500);
    EXPECT_TRUE(set.hasSplitters(1, true));
    EXPECT_FALSE(set.hasSplitters(1, false));
    EXPECT_FALSE(set.hasSplitters(0, true));
    EXPECT_FALSE(set.hasSplitters(11, true));
    // Zoomed on door 0, door 0 is drawn at the origin and a click there splits door 0 only.
    set.zoomDoor = 0;
    EXPECT_TRUE(set.addSplitterAtPoint({1250, 500}, &profile, true) == false);
    EXPECT_TRUE(set.addSplitterAtPoint({250, 500}, &profile, false));
    EXPECT_TRUE(set.doors[0].hasSplitters(false));
}

TEST_F(ThreeDoors, DeletingTheSelectedSplitterClearsTheSelection) {
    ASSERT_TRUE(set.addSplitterAtPoint({1250, 500}, &profile, true));
    draw();
    EXPECT_FALSE(set.deleteSplitterAtPoint({1800, 500}));
    ASSERT_TRUE(set.deleteSplitterAtPoint({1250, 500}));
    EXPECT_EQ(set.selectedSplitter, nullptr);
    EXPECT_FALSE(set.setInsertSize(3000, InsertSide::Before));
    EXPECT_TRUE(set.doors[1].splitters.empty());
}

TEST_F(ThreeDoors, MaterialTargetAssignAndRemove) {
    Material oak;
    Material glass;
    EXPECT_FALSE(set.assignMaterial(&oak));
    EXPECT_TRUE(set.materialTargetRect().isEmpty());
    ASSERT_TRUE(set.chooseMaterialTargetAtPoint({2500, 700}));
    EXPECT_EQ(set.materialTargetRect(), set.doors[2].inserts.at(1).rect);
    ASSERT_TRUE(set.assignMaterial(&oak));
    EXPECT_EQ(set.doors[2].inserts.at(1).material, &oak);
    EXPECT_FALSE(set.doors[2].inserts.at(1).spanDoors);

    ASSERT_TRUE(set.assignMaterialAcrossDoors(&glass, 0, 2));
    const Insert& in = set.doors[2].inserts.at(1);
    EXPECT_EQ(in.material, &glass);
    EXPECT_TRUE(in.spanDoors);
    EXPECT_EQ(in.spanFirstDoor, 0);
    EXPECT_EQ(in.spanLastDoor, 2);
    EXPECT_FALSE(set.assignMaterialAcrossDoors(&oak, 2, 1));
    EXPECT_FALSE(set.assignMaterialAcrossDoors(&oak, 0, 10));
    EXPECT_EQ(in.material, &glass);
    ASSERT_TRUE(set.assignMaterial(&oak));
    EXPECT_FALSE(in.spanDoors) << "a plain assignment ends the span";

    // The pressed insert (from the last hit-test) loses its material.
    set.clearPressedElements();
    EXPECT_FALSE(set.removeMaterialOfPressedInsert());
    ASSERT_NE(set.doors[2].hitInsert({2500, 700}), nullptr);
    EXPECT_TRUE(set.removeMaterialOfPressedInsert());
    EXPECT_EQ(in.material, nullptr);

    set.clearMaterialTargets();
    EXPECT_TRUE(set.materialTargetRect().isEmpty());
    EXPECT_FALSE(set.chooseMaterialTargetAtPoint({5000, 700}));
}

TEST_F(ThreeDoors, SplitterDragMovesToTheRoundedPosition) {
    ASSERT_TRUE(set.addSplitterAtPoint({1500, 500}, &profile, true));
    draw();
    Splitter* s = set.doors[1].hitSplitter({1500, 500});
    ASSERT_NE(s, nullptr);
    // Release at 1327 px: 327 px into door 1 = 3270 units -> 3300.
    ASSERT_TRUE(set.finishDrag({1327, 800}));
    EXPECT_EQ(s->position, 3300);
    EXPECT_EQ(set.selectedSplitterDoor, &set.doors[1]);
    EXPECT_EQ(set.selectedSplitter, s);
    EXPECT_EQ(set.doors[1].layoutFault(), "");
    // Too close to the frame: refused.
    EXPECT_FALSE(set.finishDrag({1005, 800}));
    EXPECT_EQ(s->position, 3300);
    set.clearPressedElements();
    EXPECT_FALSE(set.finishDrag({1500, 800}));
}

TEST_F(ThreeDoors, BoundaryDragKeepsTheSumAndScalesTheLayouts) {
    ASSERT_TRUE(set.addSplitterAtPoint({500, 500}, &profile, true));  // door 0 at 5000
    ASSERT_TRUE(set.addSplitterAtPoint({1500, 500}, &profile, true)); // door 1 at 5000
    draw();
    const int before = totalWidth();
    ASSERT_NE(set.doors[0].hitEdge({998, 300}), nullptr);
    ASSERT_TRUE(set.finishDrag({1100, 300})); // 100 px = 1000 units to the right
    EXPECT_EQ(set.doors[0].width, 11000);
    EXPECT_EQ(set.doors[1].width, 9000);
    EXPECT_EQ(set.doors[0].splitters.at(1).position, 5500);
    EXPECT_EQ(set.doors[1].splitters.at(1).position, 4500);
    EXPECT_EQ(totalWidth(), before);
    EXPECT_EQ(set.doors[0].layoutFault(), "");
    EXPECT_EQ(set.doors[1].layoutFault(), "");
}

TEST_F(ThreeDoors, BoundaryDragHonoursTheEdgeProfileAndDirection) {
    Article handle;
    handle.dimA = 300; // half of it is taken off the distance
    set.doors[2].edges[EdgeLeft].profile = &handle;
    // Door 1's right edge: the boundary between doors 1 and 2; drag 100 px to the left.
    ASSERT_NE(set.doors[1].hitEdge({1998, 300}), nullptr);
    ASSERT_TRUE(set.finishDrag({1900, 300}));
    EXPECT_EQ(set.doors[1].width, 10000 - 850);
    EXPECT_EQ(set.doors[2].width, 10000 + 850);
    EXPECT_EQ(set.doors[0].width, 10000);
    // 100 px to the right moves it the same 850 back.
    draw();
    set.clearPressedElements();
    ASSERT_NE(set.doors[1].hitEdge({set.doors[1].rect.right - 2, 300}), nullptr);
    ASSERT_TRUE(set.finishDrag({set.doors[1].rect.right + 100, 300}));
    EXPECT_EQ(set.doors[1].width, 10000);
    EXPECT_EQ(set.doors[2].width, 10000);
    // The door on the right keeps 100 mm: 916 px would leave it 99 mm, 915 px exactly 100 mm.
    for (const auto& [px, done] : {std::pair{916, false}, std::pair{915, true}}) {
        draw();
        set.clearPressedElements();
        ASSERT_NE(set.doors[1].hitEdge({set.doors[1].rect.right - 2, 300}), nullptr);
        EXPECT_EQ(set.finishDrag({set.doors[1].rect.right + px, 300}), done) << px;
    }
    EXPECT_EQ(set.doors[2].width, 1000);
    draw();
    // The last door's edge addresses the boundary on its left; too narrow is refused.
    set.clearPressedElements();
    ASSERT_NE(set.doors[2].hitEdge({set.doors[2].rect.right - 1, 300}), nullptr);
    EXPECT_FALSE(set.finishDrag({set.doors[1].rect.left + 50, 300}));
    EXPECT_EQ(set.doors[1].width, 19000);
    EXPECT_EQ(set.doors[2].width, 1000);
}

TEST(DoorSetDrag, SingleDoorHasNoBoundary) {
    DoorSet set(10000, 20000, 1, nullptr, false);
    Door& d = set.doors[0];
    d.width = 10000;
    d.height = 20000;
    d.relayout(true);
    set.scale = 0.1;
    placeOnScreen(d, 0.1);
    d.edges[EdgeRight].rect = {996, 0, 1000, 2000};
    ASSERT_NE(d.hitEdge({998, 100}), nullptr);
    EXPECT_FALSE(set.finishDrag({900, 100}));
    EXPECT_EQ(d.width, 10000);
    EXPECT_EQ(set.doors[1].width, 0) << "a door not in use must not be touched";
}

TEST_F(ThreeDoors, InsertSizeUsesTheFillingRectangles) {
    ASSERT_TRUE(set.addSplitterAtPoint({500, 500}, &profile, true));
    Door& d = set.doors[0];
    Splitter* s = set.selectedSplitter;
    // As the calculation would leave them: fillings 30 units inside every nominal bound.
    for (auto& [id, in] : d.inserts) {
        in.fillX = in.left + 30;
        in.fillWidth = in.width() - 60;
    }
    EXPECT_EQ(d.neighbourSizes(*s), (std::pair<int32_t, int32_t>{5000, 5000}));
    EXPECT_EQ(d.positionForInsertSize(*s, 3000, InsertSide::Before), 3030);
    EXPECT_EQ(d.positionForInsertSize(*s, 3000, InsertSide::After), 10000 - 30 - 3000);
    ASSERT_TRUE(set.setInsertSize(3000, InsertSide::After));
    EXPECT_EQ(s->position, 6970);
    EXPECT_EQ(d.inserts.at(2).width(), 3030);
    // A size that would squeeze the other side under 20 mm is refused.
    for (auto& [id, in] : d.inserts) {
        in.fillX = in.left + 30;
        in.fillWidth = in.width() - 60;
    }
    EXPECT_FALSE(set.setInsertSize(9900, InsertSide::Before));
    EXPECT_EQ(s->position, 6970);
}

TEST_F(ThreeDoors, StaleSelectionIsNotFollowed) {
    ASSERT_TRUE(set.addSplitterAtPoint({500, 500}, &profile, true));
    // A boundary drag elsewhere re-points the selected door but not the splitter.
    set.selectedSplitterDoor = &set.doors[2];
    EXPECT_FALSE(set.setInsertSize(3000, InsertSide::Before));
    EXPECT_EQ(set.doors[0].splitters.at(1).position, 5000);
}

TEST_F(ThreeDoors, PasteRules) {
    Material m;
    ASSERT_TRUE(set.addSplitterAtPoint({800, 500}, &profile, true)); // door 0 at 8000
    set.doors[0].inserts.at(2).material = &m;
    set.doors[1].width = 6000;
    set.doors[1].relayout(false);

    EXPECT_EQ(set.pasteDoor(1), PasteNoSource) << "nothing copied yet";
    set.copyDoor(0);
    EXPECT_EQ(set.pasteDoor(1), PasteRefused);
    EXPECT_EQ(set.copySourceDoor, 0) << "a refusal keeps the source";
    EXPECT_TRUE(set.doors[1].splitters.empty());

    EXPECT_EQ(set.pasteDoor(2), PasteDone);
    EXPECT_EQ(set.doors[2].splitters.at(1).position, 8000);
    EXPECT_EQ(set.doors[2].inserts.at(2).material, &m);
    EXPECT_EQ(set.copySourceDoor, 0);
    EXPECT_EQ(set.pasteDoor(2), PasteDone) << "the same layout can be pasted again";

    EXPECT_EQ(set.pasteDoor(0), PasteNoSource) << "not onto the source itself";
    EXPECT_EQ(set.copySourceDoor, -1);
    set.copyDoor(0);
    EXPECT_EQ(set.pasteDoor(3), PasteNoSource) << "door 4 is not in use";
    EXPECT_EQ(set.copySourceDoor, -1);
}

TEST_F(ThreeDoors, PasteDropsASelectionInsideTheTarget) {
    ASSERT_TRUE(set.addSplitterAtPoint({1500, 500}, &profile, true));
    ASSERT_EQ(set.selectedSplitterDoor, &set.doors[1]);
    set.doors[1].materialTarget = &set.doors[1].inserts.at(1);
    set.copyDoor(0);
    ASSERT_EQ(set.pasteDoor(1), PasteDone);
    EXPECT_EQ(set.selectedSplitter, nullptr);
    EXPECT_EQ(set.selectedSplitterDoor, nullptr);
    EXPECT_EQ(set.doors[1].materialTarget, nullptr);
    EXPECT_TRUE(set.doors[1].splitters.empty());
    EXPECT_EQ(set.doors[1].layoutFault(), "");
}

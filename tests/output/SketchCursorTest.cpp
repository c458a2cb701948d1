// Moving over the sketch with the arrow keys.
#include "support/OutputTestSupport.h"

#include "output/SketchCursor.h"

#include <gtest/gtest.h>

using namespace outtest;

namespace {

// The sample splits every door in the middle with a vertical splitter (id 1) and the left half
// at a third of its height with a horizontal one (id 2): insert 1 left above, 2 right, 3 left
// below.
struct SketchCursorTest : ::testing::Test {
    World world;
    std::vector<SketchElement> elements;

    void SetUp() override {
        ASSERT_TRUE(buildSampleProject(world, "Ловен"));
        elements = sketchElements(*world.project->doors);
    }
    static SketchElementRef insert(int door, int id) {
        return {SketchElementKind::Insert, door, id};
    }
    static SketchElementRef splitter(int door, int id) {
        return {SketchElementKind::Splitter, door, id};
    }
    // Presses the keys in turn and lists where the cursor went.
    std::vector<SketchElementRef> walk(SketchCursor& c,
                                       std::initializer_list<SketchDirection> keys) {
        std::vector<SketchElementRef> seen;
        for (SketchDirection d : keys) {
            c = moveCursor(elements, c, d);
            seen.push_back(c.ref);
        }
        return seen;
    }
};

using D = SketchDirection;

TEST_F(SketchCursorTest, ArrowsGoThroughSplittersIntoTheNextDoorAndStopAtTheEnds) {
    SketchCursor c = settleCursor(elements, {});
    EXPECT_EQ(c.ref, insert(0, 1)) << "the first insert in view to begin with";
    EXPECT_EQ(
        walk(c, {D::Right, D::Right, D::Right, D::Left, D::Left, D::Left, D::Left}),
        (std::vector<SketchElementRef>{splitter(0, 1), insert(0, 2), insert(1, 1), insert(0, 2),
                                       splitter(0, 1), insert(0, 1), insert(0, 1)}));
    EXPECT_EQ(walk(c, {D::Down, D::Down, D::Down, D::Up, D::Up, D::Up}),
              (std::vector<SketchElementRef>{splitter(0, 2), insert(0, 3), insert(0, 3),
                                             splitter(0, 2), insert(0, 1), insert(0, 1)}));
    // The row is kept: from the lower left insert through the tall right one and back, the
    // cursor comes back to the lower insert, not the upper one.
    c = moveCursor(elements, c, D::Down);
    c = moveCursor(elements, c, D::Down);
    EXPECT_EQ(walk(c, {D::Right, D::Right, D::Left, D::Left}),
              (std::vector<SketchElementRef>{splitter(0, 1), insert(0, 2), splitter(0, 1),
                                             insert(0, 3)}));
    // Up and down never leave the door; the last door's right edge ends the way.
    c = cursorOn(elements[static_cast<size_t>(findElement(elements, insert(2, 2)))]);
    EXPECT_EQ(walk(c, {D::Right, D::Down, D::Up}),
              (std::vector<SketchElementRef>{insert(2, 2), insert(2, 2), insert(2, 2)}));
}

TEST_F(SketchCursorTest, AVanishedElementLeavesTheCursorOnTheInsertThatTookItsPlace) {
    // Standing on the horizontal splitter of door 2, which is then deleted: the cursor lands on
    // the insert that now covers its place.
    SketchCursor c = cursorOn(elements[static_cast<size_t>(findElement(elements, splitter(1, 2)))]);
    Door& d = world.project->doors->doors[1];
    ASSERT_TRUE(d.deleteSplitter(d.splitters.at(2)));
    elements = sketchElements(*world.project->doors);
    EXPECT_EQ(settleCursor(elements, c).ref, insert(1, 1));
    // A door stands for its first insert.
    EXPECT_EQ(settleCursor(elements, {{SketchElementKind::Door, 2, 0}, 0, 0}).ref, insert(2, 1));
}

} // namespace

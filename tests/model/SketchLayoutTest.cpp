#include "catalog/Article.h"
#include "catalog/SplitterProfile.h"
#include "model/DoorSet.h"
#include "model/SketchLayout.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A door set of n doors of the given widths (0.1 mm), 2000 mm high, with frame profiles of the
// given section width on every side, laid out at a scale of 0.1 pixel per 0.1 mm from (100, 80).
struct SketchLayoutTest : ::testing::Test {
    Article frameProfile;
    SplitterProfile splitterProfile;
    DoorSet doors{30000, 20000, 3, nullptr, false};
    SketchFrame frame;

    SketchLayoutTest() {
        frameProfile.dimA = 200; // 20 mm section: 20 pixels at scale 0.1
        splitterProfile.dimA = 100;
        splitterProfile.dimC = 60;
        frame.valid = true;
        frame.scale = 0.1;
        frame.x0 = 100;
        frame.y0 = 80;
    }

    void setDoors(std::initializer_list<int32_t> widths, bool profiles = true) {
        doors.doorCount = static_cast<int32_t>(widths.size());
        int i = 0;
        int32_t sum = 0;
        for (int32_t w : widths) {
            Door& d = doors.doors[i++];
            d.width = w;
            d.height = 20000;
            d.relayout(true);
            for (Edge& e : d.edges)
                e.profile = profiles ? &frameProfile : nullptr;
            sum += w;
        }
        doors.doorsNominalWidth = sum;
        doors.height = 20000;
    }

    // Splits door d's insert under p with the test splitter profile and places its leading face
    // as the calculation would.
    Splitter* split(int d, ScreenPoint p, bool vertical) {
        Splitter* s = doors.doors[d].splitAtPoint(p, &splitterProfile, vertical, frame.scale);
        if (s)
            s->edgeOffset = s->position - splitterProfile.dimC / 2;
        return s;
    }
};

TEST_F(SketchLayoutTest, DoorsSideBySideWithGapWhenTheyDoNotCoverTheOpening) {
    setDoors({10000, 10000, 10000});
    doors.doorsNominalWidth = 32500; // 250 mm uncovered
    layoutSketch(doors, frame);

    EXPECT_EQ(doors.scale, 0.1);
    // Door 0 is widened to take in its left profile (20 px) that lies outside the door.
    EXPECT_EQ(doors.doors[0].rect, (ScreenRect{80, 80, 1100, 2080}));
    EXPECT_EQ(doors.doors[1].rect, (ScreenRect{1100, 80, 2100, 2080}));
    EXPECT_EQ(doors.doors[2].rect, (ScreenRect{2100, 80, 3100, 2080}));
    EXPECT_EQ(doors.gapRect, (ScreenRect{3100, 80, 3350, 2080}));

    // Doors wider than the nominal width leave no gap: its width is not positive.
    doors.doorsNominalWidth = 29000;
    layoutSketch(doors, frame);
    EXPECT_LE(doors.gapRect.width(), 0);
    doors.doorsNominalWidth = 30000;
    layoutSketch(doors, frame);
    EXPECT_EQ(doors.gapRect.width(), 0);
}

TEST_F(SketchLayoutTest, DoorsOnDifferentTracksOverlapByTheLeftProfile) {
    setDoors({10000, 10000, 10000});
    doors.doors[0].track = 0;
    doors.doors[1].track = 1;
    doors.doors[2].track = 1;
    layoutSketch(doors, frame);

    const Door& d0 = doors.doors[0];
    const Door& d1 = doors.doors[1];
    const Door& d2 = doors.doors[2];
    // Door 1 on the other track: its left profile lies over door 0's right side.
    EXPECT_EQ(d1.edges[EdgeLeft].rect, (ScreenRect{1080, 80, 1100, 2080}));
    EXPECT_GT(d0.rect.right, d1.edges[EdgeLeft].rect.left);
    // Door 2 on the same track as door 1: its left profile lies inside the door.
    EXPECT_EQ(d2.edges[EdgeLeft].rect, (ScreenRect{2100, 80, 2120, 2080}));
    EXPECT_EQ(d2.edges[EdgeLeft].rect.left, d1.rect.right);

    // Right profile at the door's right side, top and bottom profiles between left and right.
    EXPECT_EQ(d1.edges[EdgeRight].rect, (ScreenRect{2080, 80, 2100, 2080}));
    EXPECT_EQ(d1.edges[EdgeTop].rect, (ScreenRect{1100, 80, 2080, 100}));
    EXPECT_EQ(d2.edges[EdgeTop].rect, (ScreenRect{2120, 80, 3080, 100}));
    EXPECT_EQ(d2.edges[EdgeBottom].rect, (ScreenRect{2120, 2060, 3080, 2080}));
    // The single insert fills the frame.
    EXPECT_EQ(d2.inserts.at(1).rect, (ScreenRect{2120, 100, 3080, 2060}));
}

TEST_F(SketchLayoutTest, ProfilePixelsRoundUpAndBareRightSides) {
    frameProfile.dimA = 201; // 20.1 px at scale 0.1 rounds up to 21
    setDoors({10000, 10000});
    layoutSketch(doors, frame);
    EXPECT_EQ(doors.doors[0].edges[EdgeLeft].rect.width(), 21);

    setDoors({10000, 10000, 10000}, false);
    layoutSketch(doors, frame);
    // Without profiles the right side of a door still shows 4 pixels, except at the last door.
    EXPECT_EQ(doors.doors[0].edges[EdgeRight].rect.width(), 4);
    EXPECT_EQ(doors.doors[1].edges[EdgeRight].rect.width(), 4);
    EXPECT_EQ(doors.doors[2].edges[EdgeRight].rect.width(), 0);
    EXPECT_EQ(doors.doors[0].edges[EdgeLeft].rect.width(), 0);
    EXPECT_EQ(doors.doors[0].rect.left, 100);
}

TEST_F(SketchLayoutTest, ZoomedDoorStartsAtTheOriginAlone) {
    setDoors({8000, 12000, 10000});
    doors.zoomDoor = 1;
    layoutSketch(doors, frame);
    EXPECT_EQ(doors.doors[1].rect.left, frame.x0);
    EXPECT_EQ(doors.doors[1].rect.right, frame.x0 + 1200);
    // The others move along with it, off to the left and right.
    EXPECT_EQ(doors.doors[2].rect.left, frame.x0 + 1200);
    EXPECT_EQ(doors.doorsInView(), std::vector<int>{1});

    // The screen frame of a zoomed door fits that door alone into the client area.
    const SketchFrame zoomed = screenFrame(doors, ScreenRect{0, 0, 1000, 700}, 96);
    ASSERT_TRUE(zoomed.valid);
    const int m = 96 * 40 / 72;
    const int top = 96 * 50 / 72;
    const double expected = std::min((700.0 - top - m) / 20000, (1000.0 - 2 * m) / 12000);
    EXPECT_DOUBLE_EQ(zoomed.scale, expected);
    EXPECT_EQ(zoomed.height, static_cast<int>(expected * 20000));
    EXPECT_EQ(zoomed.x0, m + (1000 - 2 * m - static_cast<int>(expected * 12000)) / 2);
}

TEST_F(SketchLayoutTest, ScreenAndPrintFrames) {
    setDoors({10000, 10000, 10000});
    const ScreenRect client{0, 0, 1600, 900};
    const SketchFrame f = screenFrame(doors, client, 96);
    ASSERT_TRUE(f.valid);
    // 40 pt margins, 50 pt at the top; the height limits the scale here.
    const int m = 53;
    const int top = 66;
    EXPECT_DOUBLE_EQ(f.scale, (900.0 - top - m) / 20000);
    EXPECT_EQ(f.y0, top);
    EXPECT_EQ(f.x0, m + (1600 - 2 * m - f.width) / 2);

    // On paper the drawing starts below the room for the door numbers and is centred only
    // horizontally.
    const SketchFrame p = printFrame(doors, ScreenRect{500, 1000, 4500, 6000}, 600);
    ASSERT_TRUE(p.valid);
    EXPECT_EQ(p.y0, 1000 + doorNumberRoom(600));
    EXPECT_DOUBLE_EQ(p.scale, 4000.0 / 30000);
    EXPECT_EQ(p.x0, 500);

    // Nothing to draw before the calculation gave the doors a nominal width.
    doors.doorsNominalWidth = 0;
    EXPECT_FALSE(screenFrame(doors, client, 96).valid);
}

TEST_F(SketchLayoutTest, SplittersAndInsertsBetweenThem) {
    setDoors({10000, 10000});
    layoutSketch(doors, frame);
    const Door& d = doors.doors[1];
    // Vertical splitter at 500 mm of door 1, then a horizontal one at 800 mm in its left insert.
    Splitter* v = split(1, ScreenPoint{d.rect.left + 500, 1000}, true);
    ASSERT_NE(v, nullptr);
    ASSERT_EQ(v->position, 5000);
    Splitter* h = split(1, ScreenPoint{d.rect.left + 200, 80 + 800}, false);
    ASSERT_NE(h, nullptr);
    ASSERT_EQ(h->position, 8000);
    ASSERT_EQ(h->endSplitter, v);
    layoutSketch(doors, frame);

    // Across: the section (10 px) centred on the leading face, counted from the door's left.
    const int32_t left = d.rect.left;
    const int32_t vLeft = left + static_cast<int32_t>(std::floor((4970 - 50) * 0.1 + 0.5));
    EXPECT_EQ(v->rect.left, vLeft);
    EXPECT_EQ(v->rect.right, vLeft + 10);
    // Along: between the top and bottom profiles.
    EXPECT_EQ(v->rect.top, d.edges[EdgeTop].rect.bottom);
    EXPECT_EQ(v->rect.bottom, d.edges[EdgeBottom].rect.top);
    // The horizontal splitter runs from the left profile to the vertical splitter.
    EXPECT_EQ(h->rect.left, d.edges[EdgeLeft].rect.right);
    EXPECT_EQ(h->rect.right, v->rect.left);
    EXPECT_EQ(h->rect.top, 80 + static_cast<int32_t>(std::floor((7970 - 50) * 0.1 + 0.5)));

    for (const auto& [id, in] : d.inserts) {
        EXPECT_FALSE(in.rect.isEmpty()) << "insert " << id;
        if (in.rightSplitter == v) {
            EXPECT_EQ(in.rect.right, v->rect.left);
        }
        if (in.leftSplitter == v) {
            EXPECT_EQ(in.rect.left, v->rect.right);
        }
        if (in.topSplitter == h) {
            EXPECT_EQ(in.rect.top, h->rect.bottom);
        }
        if (in.bottomSplitter == h) {
            EXPECT_EQ(in.rect.bottom, h->rect.top);
        }
    }

    // A splitter too thin to see keeps its far side and grows to 3 pixels.
    splitterProfile.dimA = 10;
    layoutSketch(doors, frame);
    EXPECT_EQ(v->rect.width(), 3);
    EXPECT_EQ(v->rect.right, left + static_cast<int32_t>(std::floor((4970 - 5) * 0.1 + 0.5)) + 1);
}

TEST_F(SketchLayoutTest, HitTestingPrefersEdgesThenSplittersThenInserts) {
    setDoors({10000, 10000, 10000});
    doors.doors[1].track = 0; // same track: door 1's left profile lies inside door 1
    layoutSketch(doors, frame);
    Door& d1 = doors.doors[1];
    Splitter* v = split(1, ScreenPoint{d1.rect.left + 400, 1000}, true);
    Splitter* h = split(1, ScreenPoint{d1.rect.left + 700, 80 + 1000}, false);
    ASSERT_TRUE(v && h);
    layoutSketch(doors, frame);
    doors.changed = false;

    // Right profile of a door that is not the last: a draggable boundary.
    SketchHit hit = hitTestSketch(doors, ScreenPoint{d1.rect.right - 1, 500});
    EXPECT_EQ(hit.door, 1);
    EXPECT_EQ(hit.rect, d1.edges[EdgeRight].rect);
    EXPECT_EQ(doors.hoverKind, 2);
    EXPECT_EQ(d1.pressedKind, PressedEdge);
    EXPECT_EQ(d1.pressedEdge, &d1.edges[EdgeRight]);

    // The last door's right profile and any left profile are no boundary.
    const Door& d2 = doors.doors[2];
    hit = hitTestSketch(doors, ScreenPoint{d2.rect.right - 1, 500});
    EXPECT_EQ(hit.door, 2);
    EXPECT_EQ(doors.hoverKind, 0);
    hit = hitTestSketch(doors, ScreenPoint{d1.rect.left + 1, 500});
    EXPECT_EQ(hit.rect, d1.edges[EdgeLeft].rect);
    EXPECT_EQ(doors.hoverKind, 0);
    // The top profile above the vertical splitter.
    hit = hitTestSketch(doors, ScreenPoint{v->rect.left + 1, d1.edges[EdgeTop].rect.top});
    EXPECT_EQ(hit.rect, d1.edges[EdgeTop].rect);
    EXPECT_EQ(doors.hoverKind, 0);

    // Splitters: vertical 2, horizontal 1; a hit clears what the last one recorded.
    hit = hitTestSketch(doors, ScreenPoint{v->rect.left + 1, 1000});
    EXPECT_EQ(hit.rect, v->rect);
    EXPECT_EQ(doors.hoverKind, 2);
    EXPECT_EQ(d1.pressedKind, PressedSplitter);
    EXPECT_EQ(d1.pressedEdge, nullptr);
    hit = hitTestSketch(doors, ScreenPoint{h->rect.left + 5, h->rect.top + 1});
    EXPECT_EQ(hit.rect, h->rect);
    EXPECT_EQ(doors.hoverKind, 1);

    // An insert: kind 0 with the insert's rectangle.
    hit = hitTestSketch(doors, ScreenPoint{v->rect.right + 5, h->rect.bottom + 5});
    EXPECT_EQ(doors.hoverKind, 0);
    EXPECT_EQ(d1.pressedKind, PressedInsert);
    ASSERT_NE(d1.pressedInsert, nullptr);
    EXPECT_EQ(hit.rect, d1.pressedInsert->rect);

    // The margin: nothing, and no door keeps a pressed element.
    hit = hitTestSketch(doors, ScreenPoint{10, 10});
    EXPECT_EQ(hit, SketchHit{});
    EXPECT_EQ(doors.hoverKind, 0);
    for (const Door& d : doors.doors)
        EXPECT_EQ(d.pressedKind, PressedNone);

    // While zoomed no right profile is a boundary.
    doors.zoomDoor = 1;
    layoutSketch(doors, frame);
    hit = hitTestSketch(doors, ScreenPoint{doors.doors[1].rect.right - 1, 500});
    EXPECT_EQ(hit.door, 1);
    EXPECT_EQ(doors.hoverKind, 0);

    // A changed door set has stale rectangles: nothing is hit until it is drawn again.
    doors.changed = true;
    EXPECT_EQ(hitTestSketch(doors, ScreenPoint{doors.doors[1].rect.left + 500, 1000}), SketchHit{});
}

} // namespace

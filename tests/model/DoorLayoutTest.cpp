// Door layout operations on a single door, without any system calculation.
#include "support/LayoutHelpers.h"

#include "catalog/Material.h"
#include "catalog/SplitterProfile.h"

#include <gtest/gtest.h>

using layout::at;
using layout::placeOnScreen;
using layout::sizeDoor;
using layout::split;

namespace {

Material makeMaterial(const char* code) {
    Material m;
    m.code = code;
    return m;
}

} // namespace

TEST(DoorSplit, NewDoorHasOneFrameInsert) {
    Door d;
    ASSERT_EQ(d.inserts.size(), 1u);
    EXPECT_EQ(d.inserts.begin()->first, 1);
    EXPECT_TRUE(d.splitters.empty());
    EXPECT_EQ(d.nextInsertId, 2);
    EXPECT_EQ(d.nextSplitterId, 1);
    EXPECT_EQ(d.layoutFault(), "");
}

TEST(DoorSplit, ClickRoundsToWholeCentimetres) {
    Door d;
    sizeDoor(d, 10000, 20000);
    // 44.9 mm from the left edge at scale 1 gives 40 mm, 45.0 mm gives 50 mm.
    Splitter* s = split(d, 449, 1000, true);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->position, 400);
    Door e;
    sizeDoor(e, 10000, 20000);
    s = split(e, 450, 1000, true);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->position, 500);
}

TEST(DoorSplit, ScaleAndDoorOffsetAreTakenIntoAccount) {
    Door d;
    d.width = 10000;
    d.height = 20000;
    d.relayout(true);
    placeOnScreen(d, 0.05, 300, 40); // door drawn from x 300, 20 px per 400 units
    // 113 px right of the door's left edge is 2260 units -> 2300; 61 px down is 1220 -> 1200.
    Splitter* v = d.splitAtPoint({300 + 113, 40 + 500}, nullptr, true, 0.05);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->position, 2300);
    placeOnScreen(d, 0.05, 300, 40);
    Splitter* h = d.splitAtPoint({300 + 10, 40 + 61}, nullptr, false, 0.05);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->position, 1200);
    EXPECT_EQ(d.layoutFault(), "");
}

TEST(DoorSplit, BothPartsMustKeepTwentyMillimetres) {
    Door d;
    sizeDoor(d, 400, 20000);
    // 40 mm split exactly in the middle: two parts of 20 mm.
    ASSERT_NE(split(d, 200, 100, true), nullptr);
    EXPECT_EQ(d.inserts.at(1).width(), 200);
    EXPECT_EQ(d.inserts.at(2).width(), 200);

    Door narrow;
    sizeDoor(narrow, 390, 20000);
    for (int x = 0; x < 390; ++x) {
        EXPECT_EQ(split(narrow, x, 100, true), nullptr) << "x " << x;
    }
    EXPECT_EQ(narrow.inserts.size(), 1u);
    EXPECT_TRUE(narrow.splitters.empty());
    EXPECT_EQ(narrow.nextSplitterId, 1) << "a refused split must not use up an id";
}

TEST(DoorSplit, ADoorHoldsAThousandSplittersAsItsFileDoes) {
    // A door of 1002 parts of 20 mm: the thousandth split is taken, the next one refused
    // although it would leave 20 mm on each side.
    Door d;
    sizeDoor(d, 200 * 1002, 20000);
    for (int i = 1; i <= 1000; ++i)
        ASSERT_NE(split(d, 200 * i, 100, true), nullptr) << "split " << i;
    EXPECT_EQ(split(d, 200 * 1001, 100, true), nullptr);
    EXPECT_EQ(d.splitters.size(), 1000u);
}

TEST(DoorSplit, PartNearTheRightEdgeIsRefused) {
    Door d;
    sizeDoor(d, 10000, 20000);
    ASSERT_NE(split(d, 5000, 100, true), nullptr);
    // The right insert runs 5000..10000; 9900 would leave 100 on the right.
    EXPECT_EQ(split(d, 9900, 100, true), nullptr);
    EXPECT_EQ(split(d, 5100, 100, true), nullptr); // 100 on the left
    EXPECT_NE(split(d, 9800, 100, true), nullptr); // exactly 200 on the right
    EXPECT_EQ(d.layoutFault(), "");
}

TEST(DoorSplit, ClickOutsideTheDoorOrWithBadScaleSplitsNothing) {
    Door d;
    sizeDoor(d, 10000, 20000);
    EXPECT_EQ(d.splitAtPoint({10000, 100}, nullptr, true, 1.0), nullptr);
    EXPECT_EQ(d.splitAtPoint({-1, 100}, nullptr, true, 1.0), nullptr);
    EXPECT_EQ(d.splitAtPoint({5000, 100}, nullptr, true, 0.0), nullptr);
    EXPECT_EQ(d.splitAtPoint({5000, 100}, nullptr, true, -1.0), nullptr);
    EXPECT_EQ(d.splitAtPoint({5000, 100}, nullptr, true, 1e-12), nullptr);
    EXPECT_EQ(d.inserts.size(), 1u);
}

TEST(DoorSplit, NewInsertCopiesMaterialAndSpanAndSplitterRunsBetweenBounds) {
    const Material glass = makeMaterial("G1");
    const SplitterProfile splitterProfile;
    const SplitterProfile* profile = &splitterProfile;
    Door d;
    sizeDoor(d, 10000, 20000);
    Splitter* h = split(d, 5000, 8000, false);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->position, 8000);
    EXPECT_EQ(h->length, 10000);
    Insert& lower = d.inserts.at(2);
    lower.material = &glass;
    lower.spanDoors = true;
    lower.spanFirstDoor = 0;
    lower.spanLastDoor = 2;

    Splitter* v = split(d, 3000, 12000, true, profile);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->profile, profile);
    EXPECT_EQ(v->startSplitter, h);
    EXPECT_EQ(v->startId, 1);
    EXPECT_EQ(v->endSplitter, nullptr);
    EXPECT_EQ(v->endId, 0);
    EXPECT_EQ(v->length, 12000);
    const Insert& right = d.inserts.at(3);
    EXPECT_EQ(right.material, &glass);
    EXPECT_TRUE(right.spanDoors);
    EXPECT_EQ(right.spanLastDoor, 2);
    EXPECT_EQ(right.left, 3000);
    EXPECT_EQ(right.leftSplitter, v);
    EXPECT_EQ(right.topSplitter, h);
    EXPECT_EQ(d.inserts.at(2).right, 3000);
    EXPECT_EQ(d.layoutFault(), "");
}

TEST(DoorNeighbours, NarrowestInsertOnEachSideLimitsTheMove) {
    Door d;
    sizeDoor(d, 10000, 20000);
    Splitter* v = split(d, 6000, 100, true); // inserts 1 (0..6000), 2 (6000..10000)
    split(d, 3000, 10000, false);            // left side cut by a horizontal splitter
    split(d, 2000, 15000, true);             // lower-left part 0..2000 | 2000..6000
    ASSERT_EQ(d.layoutFault(), "");
    auto [before, after] = d.findNeighbours(*v);
    ASSERT_NE(before, nullptr);
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(before->left, 2000) << "the narrower of the two inserts left of the splitter";
    EXPECT_EQ(after->right, 10000);
    auto sizes = d.neighbourSizes(*v);
    EXPECT_EQ(sizes.first, 4000);
    EXPECT_EQ(sizes.second, 4000);
    // The upper-left insert is 6000 wide but the lower-left one only 4000: moving to 2100
    // leaves 100 there and must be refused, 2200 is fine.
    EXPECT_FALSE(d.moveSplitter(*v, 2100));
    EXPECT_EQ(v->position, 6000);
    EXPECT_TRUE(d.moveSplitter(*v, 2200));
    EXPECT_EQ(d.layoutFault(), "");
}

TEST(DoorMove, UpdatesInsertsAndSplittersLeaningOnIt) {
    Door d;
    sizeDoor(d, 10000, 20000);
    Splitter* h = split(d, 5000, 10000, false);
    Splitter* up = split(d, 5000, 5000, true);    // runs from the top frame down to h
    Splitter* down = split(d, 7000, 15000, true); // runs from h down to the bottom frame
    ASSERT_TRUE(h && up && down);
    EXPECT_EQ(up->length, 10000);
    EXPECT_EQ(down->length, 10000);
    EXPECT_TRUE(d.moveSplitter(*h, 12000));
    EXPECT_EQ(up->length, 12000);
    EXPECT_EQ(down->length, 8000);
    EXPECT_EQ(d.layoutFault(), "");
    // Limits: 200 below the lowest top, 200 above the highest bottom.
    EXPECT_FALSE(d.moveSplitter(*h, 19900));
    EXPECT_FALSE(d.moveSplitter(*h, 100));
    EXPECT_TRUE(d.moveSplitter(*h, 19800));
    EXPECT_TRUE(d.moveSplitter(*h, 200));
    EXPECT_EQ(up->length, 200);
    EXPECT_EQ(down->length, 19800);
    EXPECT_EQ(d.layoutFault(), "");
}

TEST(DoorDelete, SplitterOthersLeanOnCannotBeDeletedFirst) {
    Door d;
    sizeDoor(d, 10000, 20000);
    Splitter* v = split(d, 5000, 100, true);
    Splitter* h = split(d, 2000, 10000, false); // ends on v
    ASSERT_TRUE(v && h);
    EXPECT_EQ(h->endSplitter, v);
    EXPECT_FALSE(d.deleteSplitter(*v));
    EXPECT_EQ(d.splitters.size(), 2u);
    EXPECT_TRUE(d.deleteSplitter(*h));
    EXPECT_TRUE(d.deleteSplitter(*v));
    EXPECT_TRUE(d.splitters.empty());
    ASSERT_EQ(d.inserts.size(), 1u);
    EXPECT_EQ(d.layoutFault(), "");
}

TEST(DoorDelete, InsertBeforeKeepsItsMaterialTheOneAfterLosesIt) {
    const Material a = makeMaterial("A");
    const Material b = makeMaterial("B");
    Door d;
    sizeDoor(d, 10000, 20000);
    Splitter* v = split(d, 4000, 100, true);
    d.inserts.at(1).material = &a;
    d.inserts.at(2).material = &b;
    ASSERT_TRUE(d.deleteSplitter(*v));
    ASSERT_EQ(d.inserts.size(), 1u);
    const Insert& left = d.inserts.begin()->second;
    EXPECT_EQ(left.material, &a);
    EXPECT_EQ(left.right, 10000);
    EXPECT_EQ(left.rightSplitter, nullptr);
    EXPECT_EQ(d.nextInsertId, 3) << "ids are never reused";
}

TEST(DoorDelete, ForgetsPressedElementsAndTargetItRemoves) {
    Door d;
    sizeDoor(d, 10000, 20000);
    Splitter* v = split(d, 4000, 100, true);
    ASSERT_NE(d.hitInsert(at(6000, 100)), nullptr); // the insert after v, removed by the delete
    d.materialTarget = d.pressedInsert;
    ASSERT_EQ(d.hitSplitter(at(4000, 100)), v);
    ASSERT_TRUE(d.deleteSplitter(*v));
    EXPECT_EQ(d.pressedSplitter, nullptr);
    EXPECT_EQ(d.pressedInsert, nullptr);
    EXPECT_EQ(d.materialTarget, nullptr);
    EXPECT_EQ(d.pressedKind, PressedNone);
}

TEST(DoorRelayout, PositionsFollowTheNewSize) {
    Door d;
    sizeDoor(d, 10000, 20000);
    Splitter* v = split(d, 2500, 100, true);
    Splitter* h = split(d, 5000, 5000, false);
    ASSERT_TRUE(v && h);
    d.width = 9000;
    d.height = 18000;
    d.relayout(false);
    EXPECT_EQ(v->position, 2250);
    EXPECT_EQ(h->position, 4500);
    EXPECT_EQ(v->length, 18000);
    EXPECT_EQ(h->length, 9000 - 2250);
    EXPECT_EQ(d.laidOutWidth, 9000);
    EXPECT_EQ(d.laidOutHeight, 18000);
    EXPECT_EQ(d.layoutFault(), "");

    // Nothing happens unforced when the size did not change.
    v->position = 3000;
    d.relayout(false);
    EXPECT_EQ(d.inserts.at(1).right, 2250);
    d.relayout(true);
    EXPECT_EQ(d.inserts.at(1).right, 3000);
}

TEST(DoorRelayout, TruncatesAndDoesNotOverflowOnWideDoors) {
    Door d;
    sizeDoor(d, 700000, 20000); // 70 m: position × width exceeds 32 bits
    Splitter* v = split(d, 450000, 100, true);
    ASSERT_NE(v, nullptr);
    d.width = 999999;
    d.relayout(false);
    EXPECT_EQ(v->position, static_cast<int32_t>(450000.0 * 999999 / 700000));
    EXPECT_EQ(d.layoutFault(), "");
    d.height = 30001;
    d.relayout(false);
    EXPECT_EQ(d.laidOutHeight, 30001);
}

TEST(DoorRelayout, DoorNeverLaidOutKeepsPositionsInsideTheDoor) {
    // A door read from a file: splitters but no laid-out size.
    Door src;
    sizeDoor(src, 10000, 20000);
    split(src, 3000, 100, true);
    split(src, 8000, 100, true);
    split(src, 1000, 15000, false);
    Door d = src;
    d.laidOutWidth = 0;
    d.laidOutHeight = 0;
    d.width = 6000;
    d.height = 20000;
    d.relayout(false);
    std::vector<int32_t> verticals;
    for (auto& [id, s] : d.splitters) {
        EXPECT_GE(s.position, 0);
        if (s.vertical) {
            EXPECT_LE(s.position, d.width);
            verticals.push_back(s.position);
        } else {
            EXPECT_LE(s.position, d.height);
        }
    }
    EXPECT_EQ(verticals, (std::vector<int32_t>{3000, 6000}));
    EXPECT_EQ(d.layoutFault(), "");
}

TEST(DoorAlign, ThreeSplittersKeepTheirOrder) {
    Door d;
    sizeDoor(d, 10000, 20000);
    Splitter* a = split(d, 7000, 100, true);
    Splitter* b = split(d, 1000, 100, true);
    Splitter* c = split(d, 3000, 100, true);
    ASSERT_TRUE(a && b && c);
    for (auto& [id, s] : d.splitters) {
        s.edgeOffset = s.position - 20; // as the calculation leaves it
    }
    d.alignSplitters(true);
    EXPECT_EQ(b->position, 2500);
    EXPECT_EQ(c->position, 5000);
    EXPECT_EQ(a->position, 7500);
    EXPECT_EQ(d.layoutFault(), "");
}

TEST(DoorAlign, HorizontalSplittersAndUntouchedOtherOrientation) {
    Door d;
    sizeDoor(d, 10000, 20000);
    Splitter* v = split(d, 5000, 100, true);
    Splitter* h1 = split(d, 8000, 15000, false);
    Splitter* h2 = split(d, 8000, 2000, false);
    ASSERT_TRUE(v && h1 && h2);
    for (auto& [id, s] : d.splitters) {
        s.edgeOffset = s.position;
    }
    d.alignSplitters(false);
    EXPECT_EQ(h2->position, 20000 / 3);
    EXPECT_EQ(h1->position, 2 * (20000 / 3));
    EXPECT_EQ(v->position, 5000);
    EXPECT_EQ(d.layoutFault(), "");
    Door empty;
    sizeDoor(empty, 10000, 20000);
    empty.alignSplitters(true);
    EXPECT_EQ(empty.layoutFault(), "");
}

TEST(DoorPaste, RefusedWhenAVerticalSplitterDoesNotFit) {
    const Material m = makeMaterial("M");
    Door source;
    sizeDoor(source, 10000, 20000);
    Splitter* v = split(source, 8000, 100, true);
    ASSERT_NE(v, nullptr);
    Door target;
    sizeDoor(target, 6000, 20000);
    EXPECT_EQ(target.pasteFrom(&source), PasteRefused);
    EXPECT_TRUE(target.splitters.empty());

    ASSERT_TRUE(source.moveSplitter(*v, 5000));
    split(source, 2000, 10000, false);
    source.inserts.at(1).material = &m;
    EXPECT_EQ(target.pasteFrom(&source), PasteDone);
    EXPECT_EQ(target.layoutFault(), "");
    ASSERT_EQ(target.splitters.size(), 2u);
    EXPECT_EQ(target.splitters.at(1).position, 5000);
    EXPECT_EQ(target.inserts.at(1).material, &m);
    EXPECT_EQ(target.nextSplitterId, source.nextSplitterId);
    EXPECT_EQ(target.nextInsertId, source.nextInsertId);
    // The copy links its own splitters, never the source's.
    const Splitter* h = &target.splitters.at(2);
    EXPECT_EQ(h->endSplitter, &target.splitters.at(1));
    for (auto& [id, in] : target.inserts) {
        for (const Splitter* s :
             {in.leftSplitter, in.rightSplitter, in.topSplitter, in.bottomSplitter}) {
            if (s) {
                EXPECT_TRUE(s == &target.splitters.at(1) || s == &target.splitters.at(2));
            }
        }
    }
    // Right insert follows the narrower door.
    EXPECT_EQ(target.inserts.at(2).right, 6000);

    EXPECT_EQ(target.pasteFrom(nullptr), PasteNoSource);
    EXPECT_EQ(target.pasteFrom(&target), PasteNoSource);
}

TEST(DoorCopy, CopyIsIndependentOfTheOriginal) {
    Door d;
    sizeDoor(d, 10000, 20000);
    split(d, 5000, 100, true);
    split(d, 2000, 10000, false);
    Door copy(d);
    EXPECT_EQ(copy.layoutFault(), "");
    ASSERT_TRUE(d.moveSplitter(d.splitters.at(1), 7000));
    EXPECT_EQ(copy.splitters.at(1).position, 5000);
    EXPECT_EQ(copy.layoutFault(), "");
    EXPECT_EQ(copy.splitters.at(2).endSplitter, &copy.splitters.at(1));
}

TEST(DoorLinks, UnknownIdsAreTreatedAsTheFrame) {
    Door d;
    sizeDoor(d, 10000, 20000);
    split(d, 5000, 100, true);
    d.inserts.at(2).leftId = 99;
    d.splitters.at(1).startId = 1; // itself
    EXPECT_FALSE(d.rebuildLinks());
    EXPECT_EQ(d.inserts.at(2).leftId, 0);
    EXPECT_EQ(d.inserts.at(2).leftSplitter, nullptr);
    EXPECT_EQ(d.splitters.at(1).startSplitter, nullptr);
    EXPECT_EQ(d.splitters.at(1).startId, 0);
    // The insert now claims to start at the frame but still says 5000: a detectable fault.
    EXPECT_NE(d.layoutFault(), "");
    d.relayout(true);
    EXPECT_NE(d.layoutFault(), "") << "two inserts overlap after the broken link";
}

TEST(DoorHit, FirstElementInIdOrderInsideTheDoor) {
    Door d;
    sizeDoor(d, 10000, 20000);
    split(d, 5000, 100, true);
    // Make the two insert rectangles overlap on screen: the lower id wins.
    d.inserts.at(2).rect.left = 4000;
    Insert* hit = d.hitInsert({4500, 100});
    ASSERT_NE(hit, nullptr);
    EXPECT_EQ(hit, &d.inserts.at(1));
    EXPECT_EQ(d.pressedKind, PressedInsert);
    EXPECT_EQ(d.pressedInsertId, 1);
    // Outside the door rectangle nothing is hit even where an element rectangle is.
    d.inserts.at(2).rect.right = 12000;
    EXPECT_EQ(d.hitInsert({11000, 100}), nullptr);
    Splitter* s = d.hitSplitter({5001, 300});
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(d.pressedKind, PressedSplitter);
    EXPECT_EQ(d.pressedSplitterId, 1);
    // Right and bottom borders are outside a rectangle.
    EXPECT_EQ(d.hitSplitter({5002, 300}), nullptr);
    d.clearPressed();
    EXPECT_EQ(d.pressedKind, PressedNone);
    EXPECT_EQ(d.pressedSplitter, nullptr);
}

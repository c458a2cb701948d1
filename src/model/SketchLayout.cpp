#include "model/SketchLayout.h"

#include "catalog/Article.h"
#include "catalog/SplitterProfile.h"
#include "model/Door.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int32_t kSideMarginPoints = 40;
constexpr int32_t kTopMarginPoints = 50;
constexpr int32_t kNumberGapPoints = 6;
constexpr int32_t kLargeCirclePoints = 23;
// Without a profile a door's right side still shows a thin line, except at the last door.
constexpr int32_t kBareRightEdgePixels = 4;
constexpr int32_t kMinSplitterPixels = 3;

struct Extent {
    int32_t width = 0;
    int32_t height = 0;
};

// What the drawing spans in 0.1 mm: the zoomed door, or the doors' nominal width and height.
Extent drawingExtent(const DoorSet& doors) {
    if (doors.zoomDoor >= 0 && doors.zoomDoor < kMaxDoors) {
        const Door& d = doors.doors[doors.zoomDoor];
        return {d.width, d.height};
    }
    return {doors.doorsNominalWidth, doors.height};
}

SketchFrame fitFrame(const DoorSet& doors, ScreenRect area, bool centreVertically) {
    SketchFrame frame;
    const Extent extent = drawingExtent(doors);
    if (extent.width <= 0 || extent.height <= 0 || area.width() <= 0 || area.height() <= 0)
        return frame;
    frame.valid = true;
    frame.scale = std::min(static_cast<double>(area.height()) / extent.height,
                           static_cast<double>(area.width()) / extent.width);
    frame.width = static_cast<int32_t>(frame.scale * extent.width);
    frame.height = static_cast<int32_t>(frame.scale * extent.height);
    frame.x0 = area.left + (area.width() - frame.width) / 2;
    frame.y0 = centreVertically ? area.top + (area.height() - frame.height) / 2 : area.top;
    return frame;
}

int32_t roundPixels(double v) {
    return static_cast<int32_t>(std::floor(v + 0.5));
}

// The splitter's place across its own direction, counted from the door's left (vertical) or
// top (horizontal) side: its profile's section centred on the leading face.
void placeAcross(const Door& door, Splitter& s, double scale) {
    const int32_t a = s.profile ? s.profile->dimA : 0;
    const int32_t origin = s.vertical ? door.rect.left : door.rect.top;
    int32_t nearSide = origin + roundPixels((s.edgeOffset - a / 2) * scale);
    const int32_t farSide = nearSide + roundPixels(a * scale);
    if (farSide - nearSide < kMinSplitterPixels)
        nearSide = farSide - kMinSplitterPixels;
    if (s.vertical) {
        s.rect.left = nearSide;
        s.rect.right = farSide;
    } else {
        s.rect.top = nearSide;
        s.rect.bottom = farSide;
    }
}

// The splitter's extent along its direction: between the splitters (or frame profiles) it runs
// between.
void placeAlong(const Door& door, Splitter& s) {
    if (s.vertical) {
        s.rect.top =
            s.startSplitter ? s.startSplitter->rect.bottom : door.edges[EdgeTop].rect.bottom;
        s.rect.bottom = s.endSplitter ? s.endSplitter->rect.top : door.edges[EdgeBottom].rect.top;
    } else {
        s.rect.left =
            s.startSplitter ? s.startSplitter->rect.right : door.edges[EdgeLeft].rect.right;
        s.rect.right = s.endSplitter ? s.endSplitter->rect.left : door.edges[EdgeRight].rect.left;
    }
}

void layoutDoorContent(DoorSet& doors, int i, double scale) {
    Door& door = doors.doors[i];
    Edge& left = door.edges[EdgeLeft];
    Edge& top = door.edges[EdgeTop];
    Edge& right = door.edges[EdgeRight];
    Edge& bottom = door.edges[EdgeBottom];

    const int32_t g = profilePixels(left.profile, scale);
    const bool sameTrackAsPrevious = i > 0 && doors.doors[i - 1].track == door.track;
    if (sameTrackAsPrevious) {
        left.rect = {door.rect.left, door.rect.top, door.rect.left + g, door.rect.bottom};
    } else {
        left.rect = {door.rect.left - g, door.rect.top, door.rect.left, door.rect.bottom};
        if (i == 0)
            door.rect.left -= g;
    }

    int32_t w = profilePixels(right.profile, scale);
    if (!right.profile)
        w = i == doors.doorCount - 1 ? 0 : kBareRightEdgePixels;
    right.rect = {door.rect.right - w, door.rect.top, door.rect.right, door.rect.bottom};

    const int32_t topHeight = profilePixels(top.profile, scale);
    top.rect = {left.rect.right, door.rect.top, right.rect.left, door.rect.top + topHeight};
    const int32_t bottomHeight = profilePixels(bottom.profile, scale);
    bottom.rect = {left.rect.right, door.rect.bottom - bottomHeight, right.rect.left,
                   door.rect.bottom};

    for (auto& [id, s] : door.splitters)
        placeAcross(door, s, scale);
    for (auto& [id, s] : door.splitters)
        placeAlong(door, s);

    for (auto& [id, in] : door.inserts) {
        in.rect.left = in.leftSplitter ? in.leftSplitter->rect.right : left.rect.right;
        in.rect.right = in.rightSplitter ? in.rightSplitter->rect.left : right.rect.left;
        in.rect.top = in.topSplitter ? in.topSplitter->rect.bottom : top.rect.bottom;
        in.rect.bottom = in.bottomSplitter ? in.bottomSplitter->rect.top : bottom.rect.top;
    }
}

} // namespace

int32_t doorNumberRoom(int32_t dpiY) {
    return sketchPixels(dpiY, kNumberGapPoints + kLargeCirclePoints);
}

SketchFrame screenFrame(const DoorSet& doors, ScreenRect client, int32_t dpiY) {
    const int32_t m = sketchPixels(dpiY, kSideMarginPoints);
    const ScreenRect area{client.left + m, client.top + sketchPixels(dpiY, kTopMarginPoints),
                          client.right - m, client.bottom - m};
    return fitFrame(doors, area, true);
}

SketchFrame printFrame(const DoorSet& doors, ScreenRect rect, int32_t dpiY) {
    // The door numbers are drawn above the doors; on paper that room is taken from the
    // rectangle so that they do not run into what was printed above it.
    ScreenRect area = rect;
    area.top += doorNumberRoom(dpiY);
    return fitFrame(doors, area, false);
}

int32_t profilePixels(const Article* profile, double scale) {
    if (!profile)
        return 0;
    return static_cast<int32_t>(std::ceil(profile->dimA * scale));
}

DoorRects layoutSketch(DoorSet& doors, const SketchFrame& frame) {
    DoorRects copy{};
    if (!frame.valid)
        return copy;
    const double s = frame.scale;
    doors.scale = s;
    const int inUse = doors.doorsInUse();
    // A zoomed door is laid out even when it lies beyond the doors in use.
    const int count = std::max(inUse, std::min<int>(doors.zoomDoor + 1, kMaxDoors));

    int32_t x = frame.x0;
    int64_t widthSum = 0;
    for (int i = 0; i < count; ++i) {
        Door& d = doors.doors[i];
        d.rect = {x, frame.y0, x + static_cast<int32_t>(d.width * s),
                  frame.y0 + static_cast<int32_t>(d.height * s)};
        x = d.rect.right;
        if (i < inUse)
            widthSum += d.width;
    }
    const int32_t gapWidth =
        static_cast<int32_t>(static_cast<double>(doors.doorsNominalWidth - widthSum) * s);
    const int32_t gapHeight = static_cast<int32_t>(doors.doors[0].height * s);
    const int32_t gapLeft = inUse > 0 ? doors.doors[inUse - 1].rect.right : frame.x0;
    doors.gapRect = {gapLeft, frame.y0, gapLeft + gapWidth, frame.y0 + gapHeight};

    if (doors.zoomDoor >= 0 && doors.zoomDoor < count) {
        const int32_t shift = doors.doors[doors.zoomDoor].rect.left - frame.x0;
        for (int i = 0; i < count; ++i) {
            doors.doors[i].rect.left -= shift;
            doors.doors[i].rect.right -= shift;
        }
        doors.gapRect.left -= shift;
        doors.gapRect.right -= shift;
    }

    for (int i = 0; i < count; ++i)
        copy[i] = doors.doors[i].rect;
    for (int i = 0; i < count; ++i)
        layoutDoorContent(doors, i, s);
    return copy;
}

SketchHit hitTestSketch(DoorSet& doors, ScreenPoint p) {
    doors.hoverKind = 0;
    if (doors.changed)
        return {};
    doors.clearPressedElements();
    for (int i : doors.doorsInView()) {
        Door& d = doors.doors[i];
        if (d.rect.contains(p)) {
            if (Edge* e = d.hitEdge(p)) {
                const bool boundary =
                    doors.zoomDoor < 0 && i != doors.doorCount - 1 && e == &d.edges[EdgeRight];
                doors.hoverKind = boundary ? 2 : 0;
                return {e->rect, i};
            }
        }
        if (Splitter* s = d.hitSplitter(p)) {
            doors.hoverKind = s->vertical ? 2 : 1;
            return {s->rect, i};
        }
        if (Insert* in = d.hitInsert(p)) {
            return {in->rect, i};
        }
    }
    return {};
}

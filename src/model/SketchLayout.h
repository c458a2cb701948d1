#pragma once

#include "model/DoorSet.h"
#include "model/ScreenRect.h"

#include <array>
#include <cstdint>

// Screen layout of the door sketch: where the doors, their frame profiles, splitters and inserts
// lie in pixels for a given scale and origin. The results are written into the screen rectangles
// of the model, which the hit-testing below (and the door operations) read back. Nothing here
// depends on a drawing library.

// Device points to pixels for a device with dpiY pixels per inch (truncating).
inline int32_t sketchPixels(int32_t dpiY, int32_t points) {
    return dpiY * points / 72;
}

// Where the drawing goes: the scale in pixels per 0.1 mm and the top-left corner of the doors.
struct SketchFrame {
    bool valid = false; // false when the door set has nothing to draw (no width or height)
    double scale = 1.0;
    int32_t x0 = 0;
    int32_t y0 = 0;
    int32_t width = 0;  // int(scale × extent width)
    int32_t height = 0; // int(scale × extent height)
};

// Margins of the screen picture: 40 pt left, right and bottom, 50 pt at the top (room for the
// door numbers). The drawing is centred in what is left.
SketchFrame screenFrame(const DoorSet& doors, ScreenRect client, int32_t dpiY);

// The frame of the printed sketch: the whole door set scaled into rect, at its top (below the
// room the door numbers need) and centred horizontally.
SketchFrame printFrame(const DoorSet& doors, ScreenRect rect, int32_t dpiY);

// Room above the doors that the door numbers take: the larger circle and its distance.
int32_t doorNumberRoom(int32_t dpiY);

// Pixel size of a profile's section width at scale s: ceil(dimA × s), 0 without a profile.
class Article;
int32_t profilePixels(const Article* profile, double scale);

// The door rectangles as laid out side by side, before door 0 was widened by its left profile.
// Materials spread across doors are scaled to these.
using DoorRects = std::array<ScreenRect, kMaxDoors>;

// Lays out doors 0..doorCount-1 (shifted so that a zoomed door starts at x0), their edges,
// splitters and inserts, and the gap rectangle; stores the scale in the door set.
DoorRects layoutSketch(DoorSet& doors, const SketchFrame& frame);

// What the mouse is over after a hit-test.
struct SketchHit {
    ScreenRect rect; // empty when nothing was hit
    int32_t door = -1;

    bool operator==(const SketchHit&) const = default;
};

// Hit-test at p over the doors in view: inside a door's rectangle its edges (left, right, top,
// bottom) come first, then its splitters, then its inserts. Records the hit as the door's pressed
// element and sets the door set's hoverKind (2 for a vertical splitter or a draggable boundary
// between doors, 1 for a horizontal splitter, 0 otherwise). While the door set is marked changed
// the screen rectangles are stale, so nothing is hit.
SketchHit hitTestSketch(DoorSet& doors, ScreenPoint p);

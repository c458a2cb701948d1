#pragma once

#include "model/Door.h"
#include "model/DoorSet.h"

#include <cmath>

// Screen layout for tests, as the sketch does it: the door at (x0, y0) scaled by `scale` pixels
// per 0.1 mm, every insert and splitter rectangle placed from its model coordinates.
namespace layout {

inline int px(double units, double scale) {
    return static_cast<int>(units * scale);
}

inline void placeOnScreen(Door& d, double scale, int x0 = 0, int y0 = 0) {
    d.rect = {x0, y0, x0 + px(d.width, scale), y0 + px(d.height, scale)};
    for (auto& [id, in] : d.inserts) {
        in.rect = {x0 + px(in.left, scale), y0 + px(in.top, scale), x0 + px(in.right, scale),
                   y0 + px(in.bottom, scale)};
    }
    for (auto& [id, s] : d.splitters) {
        const int from = s.startSplitter ? s.startSplitter->position : 0;
        const int to = from + s.length;
        if (s.vertical) {
            s.rect = {x0 + px(s.position, scale) - 2, y0 + px(from, scale),
                      x0 + px(s.position, scale) + 2, y0 + px(to, scale)};
        } else {
            s.rect = {x0 + px(from, scale), y0 + px(s.position, scale) - 2, x0 + px(to, scale),
                      y0 + px(s.position, scale) + 2};
        }
    }
}

// Draws the doors in use side by side at scale 0.1 from the origin, as the sketch would.
inline void placeDoorsOnScreen(DoorSet& doors) {
    doors.scale = 0.1;
    int x = 0;
    for (int i = 0; i < doors.doorCount; ++i) {
        Door& d = doors.doors[i];
        placeOnScreen(d, 0.1, x, 0);
        x = d.rect.right;
    }
}

// A door of the given size, laid out once, drawn at scale 1 at the origin.
inline void sizeDoor(Door& d, int width, int height) {
    d.width = width;
    d.height = height;
    d.relayout(true);
    placeOnScreen(d, 1.0);
}

// Point at model coordinates (x, y) of a door drawn at scale 1 at the origin.
inline ScreenPoint at(int x, int y) {
    return {x, y};
}

// Clicks at model point (x, y) of a door drawn at scale 1 and redraws it.
inline Splitter* split(Door& d, int x, int y, bool vertical, const SplitterProfile* p = nullptr) {
    Splitter* s = d.splitAtPoint(at(x, y), p, vertical, 1.0);
    placeOnScreen(d, 1.0);
    return s;
}

} // namespace layout

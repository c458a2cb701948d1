#pragma once

#include "output/SketchElements.h"

#include <cstdint>
#include <vector>

// Where the keyboard is on the sketch: an insert or a splitter, and a point in sketch
// coordinates (0.1 mm, see SketchArea) that keeps the row or column the arrows travel along, so
// that passing a long splitter does not lose the way.
struct SketchCursor {
    SketchElementRef ref;
    int32_t x = 0;
    int32_t y = 0;
};

enum class SketchDirection { Left, Right, Up, Down };

// The cursor on the element at its middle.
SketchCursor cursorOn(const SketchElement& e);

// Where the cursor stands now: on its element when that still exists; on a door, the door's
// first insert; otherwise (the element was deleted or never chosen) the insert under the
// cursor's point, or else the first insert in view. Invalid only when no door is in view.
SketchCursor settleCursor(const std::vector<SketchElement>& elements, const SketchCursor& cursor);

// One arrow key: the nearest insert or splitter in that direction that lies across the cursor's
// row (left, right) or column (up, down). Left and right go on into the neighbouring doors, up
// and down stay in the door. A splitter is a stop of its own between the inserts it separates;
// splitters along the way of travel are passed. The cursor stays where it is at the last element.
SketchCursor moveCursor(const std::vector<SketchElement>& elements, const SketchCursor& cursor,
                        SketchDirection direction);

#include "output/SketchCursor.h"

namespace {

bool isInsert(const SketchElement& e) {
    return e.ref.kind == SketchElementKind::Insert;
}

bool isSplitter(const SketchElement& e, bool vertical) {
    return e.ref.kind == SketchElementKind::Splitter &&
           (vertical ? e.area.left == e.area.right : e.area.top == e.area.bottom);
}

} // namespace

SketchCursor cursorOn(const SketchElement& e) {
    return {e.ref, (e.area.left + e.area.right) / 2, (e.area.top + e.area.bottom) / 2};
}

SketchCursor settleCursor(const std::vector<SketchElement>& elements, const SketchCursor& cursor) {
    const int k = findElement(elements, cursor.ref);
    if (k >= 0) {
        const SketchElement& e = elements[static_cast<size_t>(k)];
        if (e.ref.kind != SketchElementKind::Door)
            return cursor;
        for (const SketchElement& c : elements)
            if (isInsert(c) && c.ref.door == e.ref.door)
                return cursorOn(c);
    }
    if (cursor.ref.valid())
        for (const SketchElement& c : elements)
            if (isInsert(c) && c.ref.door == cursor.ref.door && c.area.left <= cursor.x &&
                cursor.x < c.area.right && c.area.top <= cursor.y && cursor.y < c.area.bottom)
                return {c.ref, cursor.x, cursor.y};
    for (const SketchElement& c : elements)
        if (isInsert(c))
            return cursorOn(c);
    return {};
}

SketchCursor moveCursor(const std::vector<SketchElement>& elements, const SketchCursor& cursor,
                        SketchDirection direction) {
    const SketchCursor from = settleCursor(elements, cursor);
    const int k = findElement(elements, from.ref);
    if (k < 0)
        return from;
    const SketchArea here = elements[static_cast<size_t>(k)].area;
    const bool horizontal =
        direction == SketchDirection::Left || direction == SketchDirection::Right;
    const bool forward = direction == SketchDirection::Right || direction == SketchDirection::Down;

    const SketchElement* best = nullptr;
    int32_t bestGap = 0;
    for (const SketchElement& c : elements) {
        if (c.ref == from.ref || !(isInsert(c) || isSplitter(c, horizontal)))
            continue;
        // Up and down stay in the door.
        if (!horizontal && c.ref.door != from.ref.door)
            continue;
        const SketchArea& a = c.area;
        // Across the way of travel the element must hold the cursor's row or column (a
        // splitter's ends count, an insert's far side does not, so that only one insert does).
        const int32_t across = horizontal ? from.y : from.x;
        const int32_t lo = horizontal ? a.top : a.left;
        const int32_t hi = horizontal ? a.bottom : a.right;
        if (across < lo || across > hi || (isInsert(c) && across == hi))
            continue;
        // Along it, the element must lie wholly beyond this one.
        const int32_t gap = horizontal ? (forward ? a.left - here.right : here.left - a.right)
                                       : (forward ? a.top - here.bottom : here.top - a.bottom);
        if (gap < 0)
            continue;
        // The nearest wins; at the same distance a splitter comes before the insert behind it.
        if (!best || gap < bestGap || (gap == bestGap && isInsert(*best) && !isInsert(c))) {
            best = &c;
            bestGap = gap;
        }
    }
    if (!best)
        return from;
    SketchCursor to = cursorOn(*best);
    // Keep the row (or column) that the arrows travel along.
    if (horizontal)
        to.y = from.y;
    else
        to.x = from.x;
    return to;
}

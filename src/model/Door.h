#pragma once

#include "model/Edge.h"
#include "model/Insert.h"
#include "model/ScreenRect.h"
#include "model/Splitter.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <utility>

class SplitterProfile;

// Which insert next to a splitter an operation addresses: the one before it (left / above) or
// the one after it (right / below).
enum class InsertSide { Before, After };

// What lies under the mouse on a door (pressedKind).
enum PressedKind : int32_t {
    PressedNone = 0,
    PressedEdge = 1,
    PressedSplitter = 2,
    PressedInsert = 3
};

// Edge indexes in Door::edges.
enum EdgeSide : int { EdgeLeft = 0, EdgeTop = 1, EdgeRight = 2, EdgeBottom = 3 };

// Result of pasting a door layout.
enum PasteResult : int { PasteDone = 0, PasteNoSource = 1, PasteRefused = 2 };

// The smallest part a split or a move may leave on either side of a splitter (20 mm).
inline constexpr int32_t kMinInsertPart = 200;

// Most splitters a door may hold: far beyond any real door (a 20 mm grid over a 2 m door has
// about 100), small enough that no file can make the layout checks or the calculation crawl.
inline constexpr std::size_t kMaxSplittersPerDoor = 1000;

// A door: a rectangle framed by four edges and tiled by inserts, which splitters separate.
// Inserts and splitters live in ordered maps by id; map nodes never move, so the pointers the
// splitters and inserts hold to each other stay valid until the element itself is erased.
class Door {
public:
    Door();
    // Copies rebuild every pointer inside the copy; transient mouse state is not copied.
    Door(const Door& other);
    Door& operator=(const Door& other);

    ScreenRect rect;
    std::map<int32_t, Insert> inserts;
    std::map<int32_t, Splitter> splitters;
    int32_t laidOutWidth = 0;
    int32_t laidOutHeight = 0;
    int32_t index = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t track = 0;
    std::array<Edge, 4> edges; // left, top, right, bottom
    Edge* pressedEdge = nullptr;
    Splitter* pressedSplitter = nullptr;
    Insert* pressedInsert = nullptr;
    int32_t pressedKind = PressedNone;
    Insert* materialTarget = nullptr;
    int32_t pressedInsertId = 0;
    int32_t pressedSplitterId = 0;
    int32_t nextInsertId = 2;
    int32_t nextSplitterId = 1;

    // Splits the insert under the screen point p (sketch scale in pixels per 0.1 mm) at p rounded
    // to whole centimetres. Returns the new splitter, or null when no insert is under p, a part
    // would be narrower than 20 mm or the door already holds kMaxSplittersPerDoor splitters.
    Splitter* splitAtPoint(ScreenPoint p, const SplitterProfile* profile, bool vertical,
                           double scale);

    // The inserts on both sides of s (before = left/above); null where none is found.
    std::pair<Insert*, Insert*> findNeighbours(const Splitter& s);

    // Moves s to position; refused (false, nothing changed) when a neighbour would drop under
    // 20 mm or a neighbour is missing.
    bool moveSplitter(Splitter& s, int32_t position);

    // Deletes s and merges the insert after it into the one before it (which keeps its
    // material). Refused while another splitter starts or ends at s.
    bool deleteSplitter(Splitter& s);

    // Scales the splitter positions from laidOutWidth/laidOutHeight to width/height and
    // recomputes lengths and insert bounds. Nothing happens when the size is unchanged and force
    // is false. A door never laid out before (laid-out size 0) keeps its positions.
    void relayout(bool force);

    // Position s must take so that the filling on the given side gets the size c.
    int32_t positionForInsertSize(const Splitter& s, int32_t c, InsertSide side);
    // Nominal sizes of the inserts before and after s across it ({0, 0} when one is missing).
    std::pair<int32_t, int32_t> neighbourSizes(const Splitter& s);

    // Spreads the splitters of one orientation evenly over the door, in their present order.
    void alignSplitters(bool vertical);

    // Replaces this door's layout by a copy of source's (same ids, materials and spans) and
    // re-lays it out. PasteNoSource when source is null or this door, PasteRefused (nothing
    // changed) when a vertical splitter of source would not fit this door's width.
    PasteResult pasteFrom(const Door* source);

    // Hit-testing on the screen rectangles: inside the door's rectangle, the first element in
    // id (edge: left, right, top, bottom) order whose rectangle holds p. A hit is recorded as the
    // pressed element.
    Insert* hitInsert(ScreenPoint p);
    Splitter* hitSplitter(ScreenPoint p);
    Edge* hitEdge(ScreenPoint p);

    void clearPressed();
    bool hasSplitters(bool vertical) const;

    Insert* insertById(int32_t id);
    Splitter* splitterById(int32_t id);
    const Insert* insertById(int32_t id) const;
    const Splitter* splitterById(int32_t id) const;

    // Sets every splitter and insert pointer from its id. An id that names no splitter of this
    // door is treated as the frame (pointer null, id 0). Returns false when such an id was found.
    bool rebuildLinks();

    // Empty when the layout holds together: inserts tile the door, splitters separate inserts on
    // both sides, pointers match ids, lengths match positions. Otherwise a description of the
    // first fault found (for checks after reading files and for tests).
    std::string layoutFault() const;

private:
    void copyLayoutFrom(const Door& other);
    // Position of a splitter's start (or the frame at 0).
    static int32_t startOf(const Splitter& s);
    void forgetRemoved(const Insert* removedInsert, const Splitter* removedSplitter);
};

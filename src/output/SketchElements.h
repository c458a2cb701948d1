#pragma once

#include "model/ScreenRect.h"

#include <cstdint>
#include <string>
#include <vector>

class Door;
class DoorSet;
struct Insert;
struct Splitter;

// The parts of the sketch a person can point at, described in words: the doors in view, and
// in each door its inserts and splitters. Screen readers read these names, and the keyboard
// moves between these elements.
enum class SketchElementKind { Door, Insert, Splitter };

// Which element: its kind, the door's index and the insert's or splitter's id (0 for a door).
struct SketchElementRef {
    SketchElementKind kind = SketchElementKind::Door;
    int32_t door = -1;
    int32_t id = 0;

    bool valid() const { return door >= 0; }
    bool operator==(const SketchElementRef&) const = default;
};

// Nominal rectangle in 0.1 mm across the whole sketch: x from the left edge of the first door in
// view (the doors side by side), y from the top. A splitter is a line: no width (vertical) or no
// height (horizontal).
struct SketchArea {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

struct SketchElement {
    SketchElementRef ref;
    int parent = -1; // index of the door's element in the list; -1 for a door
    std::string name;
    ScreenRect rect; // on the sketch, as last laid out
    SketchArea area;
    bool hovered = false; // under the mouse (a door: its frame or a boundary under the mouse)
    bool target = false;  // an insert chosen to receive a material
};

// The doors in view in index order, each followed by its inserts and then its splitters, both
// in id order.
std::vector<SketchElement> sketchElements(const DoorSet& doors);

// Names, numbered from 1: doors by their index, inserts and splitters by their place in the
// door's id order (the order of their marks). Sizes are the filling as cut, with a decimal comma:
//   "Дверь 2"
//   "Вставка 3 двери 2: Зеркало серебро, 477,2 × 1939,0 мм"
//   "Разделитель 1 двери 2, горизонтальный, 980 мм от низа"
std::string doorName(int32_t doorIndex);
std::string insertName(const Door& door, const Insert& insert, int ordinal);
std::string splitterName(const Door& door, const Splitter& splitter, int ordinal);

// Index of ref in elements, or -1.
int findElement(const std::vector<SketchElement>& elements, const SketchElementRef& ref);

#pragma once

#include <cstdint>
#include <string>

class DoorSet;

// What lies under the mouse on the sketch, as the information panel describes it.
enum class HoverKind {
    None = 0,
    Filling = 1, // an insert
    Edge = 2,    // a door's frame profile
    VerticalSplitter = 3,
    HorizontalSplitter = 4,
};

// The hover description of the door set. Measures in 0.1 mm; those not used by the kind stay 0.
struct HoverInfo {
    HoverKind kind = HoverKind::None;
    std::string text1; // profile code (+ splitter type) or "group / pictureKey"
    std::string text2; // "ОШИБКА: Неподходящая толщина!" for a mismatched filling
    int32_t length = 0;     // edge / splitter cut length
    int32_t width = 0;      // profile width (dimA) or filling width
    int32_t height = 0;     // filling height
    int32_t offset = 0;     // splitter position
    int32_t thickness = 0;  // filling material thickness
    int32_t doorWidth1 = 0; // top/bottom edge: own door; left/right edge: the door to the left
    int32_t doorWidth2 = 0; // left/right edge: the door to the right
    int edgePosition = 0;   // 0 left, 1 top, 2 right, 3 bottom

    bool operator==(const HoverInfo&) const = default;
};

// The two lines of the information panel; both empty when nothing is under the mouse.
struct InfoLines {
    std::string first;
    std::string second;
};

// Built from the first door in use whose pressed element is set.
HoverInfo describeHover(const DoorSet& doors);
InfoLines infoLines(const HoverInfo& hover);

// Splitter type word for a splitter profile's type 0, 1, 2: "ДСП-ДСП", "ДСП-Стекло",
// "Универсальный"; empty for any other value.
std::string splitterTypeWord(int splitterType);

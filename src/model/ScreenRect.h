#pragma once

#include <cstdint>

// Plain integer screen geometry for hit-testing. The sketch lays the doors out in pixels and
// stores the rectangles here; the model only compares points against them, so no UI types are
// needed below the user interface.
struct ScreenPoint {
    int32_t x = 0;
    int32_t y = 0;

    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// A rectangle in the Windows convention: left and top are inside, right and bottom are not.
struct ScreenRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
    bool isEmpty() const { return right <= left || bottom <= top; }
    bool contains(ScreenPoint p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }

    friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

#pragma once

#include "model/ScreenRect.h"

#include <cstdint>

class Article;

// One frame profile of a door: left and right are vertical, top and bottom horizontal.
struct Edge {
    int32_t cutLength = 0;            // set by the calculation; the length shown for the piece
    const Article* profile = nullptr; // set by the calculation; null = no profile on this side
    ScreenRect rect;                  // written by the sketch layout, used for hit-testing
    int32_t number = 0;               // piece mark on the sketch and in the cut list
};

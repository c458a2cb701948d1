#pragma once

#include "model/ScreenRect.h"

#include <cstdint>

class SplitterProfile;

// A profile that divides a door. A vertical splitter runs between its start (upper) and end
// (lower) horizontal splitters, a horizontal one between its start (left) and end (right)
// vertical splitters; null / id 0 stands for the door frame.
struct Splitter {
    int32_t cutLength = 0;  // set by the calculation
    int32_t length = 0;     // nominal length: end position (or door size) minus start position
    int32_t edgeOffset = 0; // leading face: position - profile dimC / 2, set by the calculation
    int32_t position = 0;   // x from the door's left edge (vertical) or y from its top edge
    bool vertical = false;  // stored as int32 0/1 in the sketch file
    ScreenRect rect;        // written by the sketch layout, used for hit-testing
    Splitter* startSplitter = nullptr;
    Splitter* endSplitter = nullptr;
    int32_t startId = 0;
    int32_t endId = 0;
    const SplitterProfile* profile = nullptr;
    int32_t number = 0; // piece mark
};

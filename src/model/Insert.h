#pragma once

#include "model/ScreenRect.h"

#include <cstdint>

class Material;
struct Splitter;

// One panel of a door between splitters (or the frame). left/top/right/bottom are the nominal
// region; fillX/fillY/fillWidth/fillHeight the filling as cut, computed by the calculation.
struct Insert {
    int32_t fillX = 0;
    int32_t fillY = 0;
    int32_t fillWidth = 0;
    int32_t fillHeight = 0;
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    ScreenRect rect; // written by the sketch layout, used for hit-testing
    const Material* material = nullptr;
    bool thicknessMismatch = false; // set by the calculation
    Splitter* topSplitter = nullptr;
    Splitter* leftSplitter = nullptr;
    Splitter* rightSplitter = nullptr;
    Splitter* bottomSplitter = nullptr;
    int32_t topId = 0;
    int32_t leftId = 0;
    int32_t rightId = 0;
    int32_t bottomId = 0;
    bool spanDoors = false; // the picture is stretched over doors spanFirstDoor..spanLastDoor
    int32_t spanFirstDoor = 0;
    int32_t spanLastDoor = 0;
    int32_t number = 0; // insert mark

    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
};

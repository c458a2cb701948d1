#pragma once

#include <array>
#include <cstdint>

#include "catalog/DSItem.h"

// One row of the catalog's colour categories: the PriceCategory of a colour in each of the nine
// systems, by system index.
using CategoryRow = std::array<int32_t, 9>;

// A profile colour; code is the colour's name, name stays empty.
class ProfileColor : public DSItem {
public:
    ProfileColor() = default;
    ProfileColor(int32_t index, std::string code, int32_t pictureId, uint32_t rgb)
        : DSItem(index, std::move(code), pictureId, std::string()), rgb(rgb) {}

    uint32_t rgb = 0;                         // 0x00BBGGRR, the colour drawn on the sketch
    const CategoryRow* categoryRow = nullptr; // this colour's row of the catalog's categories
};

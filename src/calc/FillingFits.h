#pragma once

#include <cstdint>

class DSSystem;
struct Insert;

// The fit of Тавро and Стенвик: chipboard (16 mm) and no filling go in unchanged, a 4 mm filling
// as the base rule fits it; every other thickness, 10 mm included, does not suit the frame.
void fitChipboardOrGlass(DSSystem& system, Insert& insert, int32_t topEdgeWidth,
                         int32_t bottomEdgeWidth);

#pragma once

#include "plan/SheetPlanner.h"

#include <cstdint>
#include <vector>

// One sheet cut in three stages, as a panel saw cuts a full sheet: strips across the whole
// sheet, columns across each strip, pieces stacked in each column (a piece narrower than its
// column is trimmed off). Each strip is the fullest of a few heights tried, so strips of pieces
// of one height come out nearly without waste.
class StripFiller {
public:
    struct Filling {
        PlannedSheet sheet;
        std::vector<int> left; // the candidates that found no room
    };

    // Strips run across the sheet's width when across is true, else along its height.
    static Filling fill(const std::vector<SheetPlanPiece>& pieces,
                        const std::vector<int>& candidates, int32_t sheetWidth, int32_t sheetHeight,
                        int32_t kerf, bool across);
};

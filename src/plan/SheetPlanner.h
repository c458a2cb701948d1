#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

// One filling piece to cut from a sheet: width across the door, height along it (0.1 mm).
struct SheetPlanPiece {
    int32_t width = 0;
    int32_t height = 0;
    int32_t doorIndex = -1;
    int32_t mark = 0;
    bool canRotate = false; // may be turned by 90° on the sheet (no grain, no picture)
};

// A piece on a sheet: its position and its size as it lies there.
struct PlacedPiece {
    int piece = 0; // index into the piece list
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool rotated = false;
};

struct SheetRect {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};

struct PlannedSheet {
    std::vector<PlacedPiece> pieces;
    std::vector<SheetRect> offcuts; // the free rectangles the cuts leave
    int64_t usedArea = 0;
};

struct SheetPlan {
    int32_t sheetWidth = 0;
    int32_t sheetHeight = 0;
    std::vector<PlannedSheet> sheets;
    std::vector<int> unplaced; // pieces larger than the sheet (or of no size)
    int lowerBound = 0;
    bool proven = false; // as few sheets as the lower bound: no plan needs fewer
    double millis = 0.0;
};

// Guillotine cutting of rectangles from equal sheets (sheet width across, height along the
// grain), kerf between pieces. Every cut runs from edge to edge of the part it divides, as on a
// panel saw or a glass table.
class SheetPlanner {
public:
    // The best of several piece orders and split rules within the time limit, or until stop
    // turns true (the best plan so far: every piece placed, perhaps on more sheets).
    static SheetPlan plan(const std::vector<SheetPlanPiece>& pieces, int32_t sheetWidth,
                          int32_t sheetHeight, int32_t kerf, double timeLimitMs = 200.0,
                          const std::atomic<bool>* stop = nullptr);

    // Pieces in the given order, each into the first free rectangle of the first sheet that
    // holds it (unturned when it fits so).
    static SheetPlan firstFit(const std::vector<SheetPlanPiece>& pieces, int32_t sheetWidth,
                              int32_t sheetHeight, int32_t kerf);

    // No plan needs fewer sheets: the area bound, the pieces no two of which share a sheet, and
    // the area after dual feasible functions on both sides (each piece turned the cheaper way
    // where it may be).
    static int lowerBound(const std::vector<SheetPlanPiece>& pieces, int32_t sheetWidth,
                          int32_t sheetHeight, int32_t kerf);
};

#pragma once

// An independent geometric check of sheet plans: every piece inside its sheet with its own
// size (turned only when allowed), no two closer than the kerf, every piece reachable by cuts
// from edge to edge, every piece placed once or reported.

#include "plan/SheetPlanner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace plantest {

struct Box {
    int64_t x0, y0, x1, y1;
};

// True when the boxes can be separated by cuts running from edge to edge of the part they lie
// in, recursively, with at least `kerf` between the two sides of every cut.
inline bool guillotine(std::vector<Box> boxes, int64_t kerf) {
    if (boxes.size() <= 1)
        return true;
    for (bool vertical : {true, false}) {
        std::sort(boxes.begin(), boxes.end(),
                  [&](const Box& a, const Box& b) { return vertical ? a.x0 < b.x0 : a.y0 < b.y0; });
        int64_t reach = vertical ? boxes[0].x1 : boxes[0].y1;
        for (size_t i = 1; i < boxes.size(); ++i) {
            const int64_t start = vertical ? boxes[i].x0 : boxes[i].y0;
            if (start >= reach + kerf) {
                std::vector<Box> a(boxes.begin(), boxes.begin() + static_cast<long>(i));
                std::vector<Box> b(boxes.begin() + static_cast<long>(i), boxes.end());
                return guillotine(a, kerf) && guillotine(b, kerf);
            }
            reach = std::max(reach, vertical ? boxes[i].x1 : boxes[i].y1);
        }
    }
    return false;
}

inline void expectSoundSheets(const SheetPlan& plan, const std::vector<SheetPlanPiece>& in,
                              int32_t kerf) {
    std::vector<int> seen(in.size(), 0);
    for (const PlannedSheet& sheet : plan.sheets) {
        std::vector<Box> boxes;
        for (const PlacedPiece& p : sheet.pieces) {
            const SheetPlanPiece& piece = in[static_cast<size_t>(p.piece)];
            ++seen[static_cast<size_t>(p.piece)];
            // The size as it lies is the piece's size, turned only when allowed.
            if (p.rotated) {
                EXPECT_TRUE(piece.canRotate);
                EXPECT_EQ(p.width, piece.height);
                EXPECT_EQ(p.height, piece.width);
            } else {
                EXPECT_EQ(p.width, piece.width);
                EXPECT_EQ(p.height, piece.height);
            }
            EXPECT_GE(p.x, 0);
            EXPECT_GE(p.y, 0);
            EXPECT_LE(p.x + p.width, plan.sheetWidth);
            EXPECT_LE(p.y + p.height, plan.sheetHeight);
            const Box b{p.x, p.y, int64_t{p.x} + p.width, int64_t{p.y} + p.height};
            for (const Box& o : boxes) {
                const bool apart = b.x1 + kerf <= o.x0 || o.x1 + kerf <= b.x0 ||
                                   b.y1 + kerf <= o.y0 || o.y1 + kerf <= b.y0;
                EXPECT_TRUE(apart) << "pieces overlap or stand closer than the kerf";
            }
            boxes.push_back(b);
        }
        EXPECT_TRUE(guillotine(boxes, kerf)) << "a piece can only be reached by a stopped cut";
        // What is kept as an offcut lies on the sheet, on no piece and on no other offcut.
        std::vector<Box> rests;
        for (const SheetRect& r : sheet.offcuts) {
            EXPECT_TRUE(r.x >= 0 && r.y >= 0 && r.width > 0 && r.height > 0 &&
                        r.x + r.width <= plan.sheetWidth && r.y + r.height <= plan.sheetHeight);
            const Box b{r.x, r.y, int64_t{r.x} + r.width, int64_t{r.y} + r.height};
            for (const Box& o : boxes) {
                EXPECT_TRUE(b.x1 <= o.x0 || o.x1 <= b.x0 || b.y1 <= o.y0 || o.y1 <= b.y0)
                    << "an offcut covers a piece";
            }
            for (const Box& o : rests) {
                EXPECT_TRUE(b.x1 <= o.x0 || o.x1 <= b.x0 || b.y1 <= o.y0 || o.y1 <= b.y0)
                    << "two offcuts overlap";
            }
            rests.push_back(b);
        }
    }
    for (int p : plan.unplaced)
        ++seen[static_cast<size_t>(p)];
    for (size_t i = 0; i < in.size(); ++i)
        EXPECT_EQ(seen[i], 1) << "piece " << i;
}

} // namespace plantest

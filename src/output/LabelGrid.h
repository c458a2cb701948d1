#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A sheet of self-adhesive labels on A4 paper: columns × rows labels of one size, the grid centred
// on the page. Sizes in 0.1 mm.
struct LabelGrid {
    static constexpr int32_t kPageWidth = 2100;
    static constexpr int32_t kPageHeight = 2970;
    static constexpr int kMaxCount = 20; // columns or rows

    int columns = 3;
    int rows = 8;
    int32_t labelWidth = 700;
    int32_t labelHeight = 370;

    int perPage() const { return columns * rows; }
    // 1..20 columns and rows, labels at least 20 × 10 mm, the grid within the page.
    bool valid() const;
    // Left and top of the grid on the page.
    int32_t left() const { return (kPageWidth - columns * labelWidth) / 2; }
    int32_t top() const { return (kPageHeight - rows * labelHeight) / 2; }
    // Top-left corner of the k-th label of a page (row by row).
    int32_t labelLeft(int k) const { return left() + (k % columns) * labelWidth; }
    int32_t labelTop(int k) const { return top() + (k / columns) % rows * labelHeight; }

    // "COLSxROWS" or "COLSxROWS:WxH" (width and height in whole millimetres); nullopt when the
    // text is malformed or the grid is not valid.
    static std::optional<LabelGrid> parse(std::string_view text);
    // "3 × 8, 70 × 37 мм"
    std::string describe() const;
    // "3x8:70x37", as parse() reads it.
    std::string text() const;
};

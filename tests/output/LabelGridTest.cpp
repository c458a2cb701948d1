// The label sheet's grid.

#include "output/LabelGrid.h"

#include <gtest/gtest.h>

TEST(LabelGrid, ParsesTheGridAndRefusesWhatDoesNotFitTheSheet) {
    const LabelGrid standard;
    EXPECT_EQ(standard.perPage(), 24);
    EXPECT_EQ(standard.left(), 0);
    EXPECT_EQ(standard.top(), 5); // 8 × 37 mm leave 1 mm, split above and below
    EXPECT_EQ(standard.labelLeft(4), 700);
    EXPECT_EQ(standard.labelTop(4), 375);
    EXPECT_EQ(standard.labelTop(24), 5); // the 25th label starts the next sheet

    auto grid = LabelGrid::parse("2x7:99x38");
    ASSERT_TRUE(grid);
    EXPECT_EQ(grid->columns, 2);
    EXPECT_EQ(grid->rows, 7);
    EXPECT_EQ(grid->labelWidth, 990);
    EXPECT_EQ(grid->labelHeight, 380);
    EXPECT_EQ(grid->describe(), "2 × 7, 99 × 38 мм");
    EXPECT_EQ(LabelGrid::parse(grid->text())->labelHeight, 380);
    EXPECT_EQ(LabelGrid::parse("4X10:50x29")->perPage(), 40);
    // Each limit exactly, then one past it: the default grid is as wide as the page.
    EXPECT_EQ(standard.text(), "3x8:70x37");
    for (const char* good : {"3x8:70x37", "1x1:210x297", "1x20:20x10", "1x1:20x10"})
        EXPECT_TRUE(LabelGrid::parse(good)) << good;
    for (const char* bad : {"", "3", "3x", "x8", "3x8:", "3x8:70", "3x8:70x", "3x8 ", "0x8",
                            "21x1:10x10", "4x8:70x37", "3x9:70x37", "3x8:70x5", "99999x1",
                            "1x1:211x10", "1x1:20x298", "1x21:20x10", "1x1:19x10", "1x1:20x9"})
        EXPECT_FALSE(LabelGrid::parse(bad)) << bad;
}

// QR code symbols of the label texts.

#include "output/QrCode.h"

#include <gtest/gtest.h>

#include <string>

TEST(QrCode, EncodesTheLabelTextInTheSmallestSymbol) {
    auto small = QrCode::encode("Заказ"); // 10 bytes
    ASSERT_TRUE(small);
    EXPECT_EQ(small->size(), 21); // version 1: 21 modules
    // Finder pattern: the top-left 7 × 7 ring is dark, the ring inside it light.
    EXPECT_TRUE(small->dark(0, 0));
    EXPECT_TRUE(small->dark(6, 6));
    EXPECT_FALSE(small->dark(1, 1));
    EXPECT_TRUE(small->dark(3, 3));
    auto large = QrCode::encode(std::string(400, 'x'));
    ASSERT_TRUE(large);
    EXPECT_GT(large->size(), small->size());
    EXPECT_FALSE(QrCode::encode(std::string(5000, 'x'))); // beyond the largest symbol
}

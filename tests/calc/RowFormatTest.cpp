// The fast row formats must print exactly what printf-style formatting prints.
#include "calc/RowFormat.h"
#include "text/Format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

std::vector<int32_t> samples() {
    std::vector<int32_t> v;
    for (int32_t i = -2000; i <= 2000; ++i)
        v.push_back(i);
    for (int32_t i :
         {12345, 5005, 19600, 14606, 99995, 1000005, -1000005, 2147483647, -2147483647 - 1})
        v.push_back(i);
    for (int64_t x = 7; x < 2147483647; x = x * 3 + 1) {
        v.push_back(static_cast<int32_t>(x));
        v.push_back(static_cast<int32_t>(-x));
    }
    return v;
}

} // namespace

TEST(RowFormatTest, MatchesPrintfFormats) {
    for (int32_t x : samples()) {
        ASSERT_EQ(rowformat::integer(x), text::format("%d", x)) << x;
        ASSERT_EQ(rowformat::pair(x, 7), text::format("%d-%d", x, 7)) << x;
        ASSERT_EQ(rowformat::tenths(x), text::format("%0.1f", x / 10.0)) << x;
        ASSERT_EQ(rowformat::wholeOrTenths(x),
                  x % 10 == 0 ? text::format("%d", x / 10) : text::format("%.1f", x / 10.0))
            << x;
        ASSERT_EQ(rowformat::roundedWhole(x),
                  text::format("%d", static_cast<int>(std::floor(x / 10.0 + 0.5))))
            << x;
    }
}

TEST(RowFormatTest, HalfRoundsUpAlsoBelowZero) {
    EXPECT_EQ(rowformat::roundedWhole(12345), "1235");
    EXPECT_EQ(rowformat::roundedWhole(5005), "501");
    EXPECT_EQ(rowformat::roundedWhole(-15), "-1"); // -1,5 mm rounds up to -1
    EXPECT_EQ(rowformat::roundedWhole(-16), "-2");
    EXPECT_EQ(rowformat::tenths(-5), "-0,5");
    EXPECT_EQ(rowformat::tenths(0), "0,0");
}

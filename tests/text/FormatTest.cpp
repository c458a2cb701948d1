#include "text/Format.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

TEST(Format, DecimalCommaOnlyInTheNumber) {
    EXPECT_EQ(text::format("%1.2f", 1234.5), "1234,50");
    EXPECT_EQ(text::format("%6.2f руб.", 1234.5), "1234,50 руб.");
    EXPECT_EQ(text::format("%3.1f м.", 5.5), "5,5 м.");
    EXPECT_EQ(text::format(" %3.1f м.", 0.25), " 0,2 м.");
    EXPECT_EQ(text::format("%0.1f", 12.0), "12,0");
    EXPECT_EQ(text::format("%d-%d", 3, 7), "3-7");
    EXPECT_EQ(text::format("a.b %d.%s", 1, "x.y"), "a.b 1.x.y");
    EXPECT_EQ(text::format("100%%"), "100%");
}

TEST(Format, RoundingIsExactlyCs) {
    // Binary doubles decide, as in C: 0.125 is exact and rounds to even, 2.675 is below half.
    EXPECT_EQ(text::format("%.2f", 0.125), "0,12");
    EXPECT_EQ(text::format("%.2f", 2.675), "2,67");
    EXPECT_EQ(text::format("%.0f", 2.5), "2");
    EXPECT_EQ(text::format("%.1f", -0.05), "-0,1");
    EXPECT_EQ(text::format("%e", 1234.5), "1,234500e+03");
    EXPECT_EQ(text::format("%g", 0.5), "0,5");
}

TEST(Format, WidthsStarsAndIntegerKinds) {
    EXPECT_EQ(text::format("%5d|%-5d|%05d", 42, 42, 42), "   42|42   |00042");
    EXPECT_EQ(text::format("%*.*f", 8, 3, 3.14159), "   3,142");
    EXPECT_EQ(text::format("%ld %lld %u %zu", 5L, 6LL, 7u, static_cast<std::size_t>(8)), "5 6 7 8");
    EXPECT_EQ(text::format("%c%s", 'A', "бв"), "Aбв");
    std::string longText(1000, 'x');
    EXPECT_EQ(text::format("%s!", longText.c_str()), longText + "!");
    EXPECT_EQ(text::format("%400.1f", 1.0).size(), 400u);
}

TEST(Format, IndependentOfProcessLocale) {
    // A locale whose decimal point is a comma must not give a doubled or missing separator.
    const char* candidates[] = {"de_DE.UTF-8", "ru_RU.UTF-8", "C.UTF-8"};
    for (const char* name : candidates) {
        if (std::setlocale(LC_ALL, name) == nullptr)
            continue;
        EXPECT_EQ(text::format("%1.2f", 1234.5), "1234,50") << name;
        EXPECT_EQ(text::format("%d", 1234567), "1234567") << name;
    }
    std::setlocale(LC_ALL, "C");
}

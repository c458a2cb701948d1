// Reading lines, fields and numbers of the data files.
#include <gtest/gtest.h>

#include "catalog/CsvText.h"

using namespace csv_text;

TEST(CsvLines, LineBreaksAndTheUnterminatedLastLine) {
    const auto lines = splitLines("a;b\r\nc\n\nd");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].text, "a;b");
    EXPECT_TRUE(lines[0].terminated);
    EXPECT_EQ(lines[2].text, "");
    EXPECT_EQ(lines[3].text, "d");
    EXPECT_FALSE(lines[3].terminated);
    EXPECT_EQ(splitLines("x\n").size(), 1u);
    EXPECT_TRUE(splitLines("").empty());
    // A lone CR is not a line break.
    EXPECT_EQ(splitLines("a\rb\n")[0].text, "a\rb");
}

TEST(CsvFields, OnlyFieldsFollowedBySeparatorOrBreakAreClosed) {
    const auto open = splitFields({"kl01;;1250", false});
    ASSERT_EQ(open.size(), 3u);
    EXPECT_TRUE(open[1].closed);
    EXPECT_EQ(open[2].text, "1250");
    EXPECT_FALSE(open[2].closed);
    const auto closed = splitFields({"kl01;;1250;", false});
    ASSERT_EQ(closed.size(), 4u);
    EXPECT_TRUE(closed[2].closed);
    EXPECT_TRUE(splitFields({"kl01;;1250", true})[2].closed);
}

TEST(CsvNumbers, WholeNumbersTakeTheLeadingDigits) {
    EXPECT_EQ(wholeNumber("2800"), 2800);
    EXPECT_EQ(wholeNumber("2800 мм"), 2800);
    EXPECT_EQ(wholeNumber("-12x"), -12);
    EXPECT_EQ(wholeNumber("+7"), 7);
    EXPECT_EQ(wholeNumber(""), 0);
    EXPECT_EQ(wholeNumber("мм"), 0);
    EXPECT_EQ(wholeNumber("02"), 2);
    EXPECT_EQ(wholeNumber("99999999999999999999"), INT32_MAX);
    EXPECT_EQ(wholeNumber("-99999999999999999999"), INT32_MIN);
}

TEST(CsvNumbers, DecimalsWithCommaOrPointAreExact) {
    EXPECT_EQ(decimalNumber("1250,5").hundredths(), 125050);
    EXPECT_EQ(decimalNumber("1250.5").hundredths(), 125050);
    // Single-precision arithmetic would give 125056 and 28 here.
    EXPECT_EQ(decimalNumber("1250,57").hundredths(), 125057);
    EXPECT_EQ(decimalNumber("0,29").hundredths(), 29);
    EXPECT_EQ(decimalNumber("12,349").hundredths(), 1234);
    EXPECT_EQ(decimalNumber("1 250").hundredths(), 100);
    EXPECT_EQ(decimalNumber(",5").hundredths(), 50);
    EXPECT_EQ(decimalNumber("7,").hundredths(), 700);
    EXPECT_EQ(decimalNumber("4,5").truncated(), 4);
    EXPECT_EQ(decimalNumber("-4,5").truncated(), -4);
    EXPECT_EQ(decimalNumber("1234,99").truncated(), 1234);
    EXPECT_TRUE(decimalNumber("0,01").positive());
    EXPECT_FALSE(decimalNumber("0,00").positive());
    EXPECT_FALSE(decimalNumber("-5").positive());
    EXPECT_FALSE(decimalNumber("").positive());
    EXPECT_FALSE(decimalNumber("abc").positive());
    EXPECT_TRUE(decimalNumber("21474835,99").hundredthsFit());
    EXPECT_FALSE(decimalNumber("21474836,48").hundredthsFit());
    EXPECT_FALSE(decimalNumber("1" + std::string(40, '9')).hundredthsFit());
}

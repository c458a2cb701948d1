// The workshop's offcut file: header or none, bad lines skipped and counted, matching by code
// and colour.

#include "plan/OffcutStock.h"

#include "text/Encoding.h"

#include <gtest/gtest.h>

namespace {

TEST(OffcutStockFile, ReadsLinesAndCountsTheBadOnes) {
    const std::string bytes = text::utf8ToCp1251("Код; Цвет ;Длина;Количество\r\n"
                                                 "KL01;Хром глянец;1200,5;2\r\n"
                                                 "kl01;;800;1\r\n"
                                                 ";Хром глянец;900;1\r\n"     // no code
                                                 "KL01;Хром глянец;абв;1\r\n" // no length
                                                 "KL01;Хром глянец;700;0\r\n" // no count
                                                 "\r\n"
                                                 "KS11;Белый глянец;650;3");
    const OffcutStock stock = OffcutStock::fromBytes(bytes);
    EXPECT_EQ(stock.badLines, 3);
    ASSERT_EQ(stock.offcuts.size(), 3u);
    EXPECT_EQ(stock.offcuts[0].length, 12005);
    EXPECT_EQ(stock.offcuts[0].count, 2);
    EXPECT_EQ(stock.offcuts[2].code, "KS11");

    // Codes without regard to case; an offcut without colour fits any colour.
    EXPECT_EQ(stock.matching("KL01", "хром глянец").size(), 2u);
    EXPECT_EQ(stock.matching("KL01", "Белый глянец").size(), 1u);
    EXPECT_TRUE(stock.matching("KL200", "Хром глянец").empty());
}

TEST(OffcutStockFile, WithoutHeaderTheColumnsAreInTheirOrderAndAMissingFileIsEmpty) {
    const OffcutStock stock = OffcutStock::fromBytes("KL01;;1500;1\nKL01;;x;1\n");
    ASSERT_EQ(stock.offcuts.size(), 1u);
    EXPECT_EQ(stock.offcuts[0].length, 15000);
    EXPECT_EQ(stock.badLines, 1);
    const OffcutStock none = OffcutStock::fromFile("/nonexistent/offcuts.csv");
    EXPECT_FALSE(none.fileRead);
    EXPECT_TRUE(none.offcuts.empty());
}

} // namespace

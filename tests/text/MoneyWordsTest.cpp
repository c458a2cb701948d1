#include "text/MoneyWords.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace {

struct Case {
    int64_t kopecks;
    const char* words;
};

const Case kCases[] = {
    {0, "Ноль рублей 00 копеек"},
    {100, "Один рубль 00 копеек"},
    {101, "Один рубль 01 копейка"},
    {200, "Два рубля 00 копеек"},
    {502, "Пять рублей 02 копейки"},
    {1105, "Одиннадцать рублей 05 копеек"},
    {1211, "Двенадцать рублей 11 копеек"},
    {1312, "Тринадцать рублей 12 копеек"},
    {1414, "Четырнадцать рублей 14 копеек"},
    {2121, "Двадцать один рубль 21 копейка"},
    {2222, "Двадцать два рубля 22 копейки"},
    {2525, "Двадцать пять рублей 25 копеек"},
    {10199, "Сто один рубль 99 копеек"},
    {11100, "Сто одиннадцать рублей 00 копеек"},
    {100000, "Одна тысяча рублей 00 копеек"},
    {2242604, "Двадцать две тысячи четыреста двадцать шесть рублей 04 копейки"},
    {100000000, "Один миллион рублей 00 копеек"},
    {200100000, "Два миллиона одна тысяча рублей 00 копеек"},
    // The largest total the journal holds: 64-bit kopecks.
    {std::numeric_limits<int64_t>::max(),
     "Девяносто два квадриллиона двести тридцать три триллиона семьсот двадцать миллиардов "
     "триста шестьдесят восемь миллионов пятьсот сорок семь тысяч семьсот пятьдесят восемь "
     "рублей 07 копеек"},
};

} // namespace

TEST(MoneyWords, RoublesInWordsKopecksInFigures) {
    for (const Case& c : kCases)
        EXPECT_EQ(text::moneyInWords(c.kopecks), c.words) << c.kopecks;
}

TEST(MoneyWords, RefundsAreWrittenAsTheirAmount) {
    EXPECT_EQ(text::moneyInWords(-2121), "Двадцать один рубль 21 копейка");
    const std::string smallest = text::moneyInWords(std::numeric_limits<int64_t>::min());
    EXPECT_EQ(smallest.rfind("Девяносто два квадриллиона", 0), 0u) << smallest;
    EXPECT_NE(smallest.find("пятьдесят восемь рублей 08 копеек"), std::string::npos) << smallest;
}

#include "text/CaseFold.h"

#include <gtest/gtest.h>

TEST(CaseFold, CyrillicAndLatinLowerCasedAlike) {
    EXPECT_EQ(text::toLower("KL01"), "kl01");
    EXPECT_EQ(text::toLower("ЁЛКА Ёж"), "ёлка ёж");
    EXPECT_EQ(text::toLower("ЦЕНА Коллекция"), "цена коллекция");
    EXPECT_EQ(text::toLower("АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ"),
              "абвгдежзийклмнопрстуфхцчшщъыьэюя");
    EXPECT_TRUE(text::equalsNoCase("Kl01", "kL01"));
    EXPECT_TRUE(text::equalsNoCase("Серебро АНОД", "серебро анод"));
    EXPECT_FALSE(text::equalsNoCase("е", "ё"));
    EXPECT_FALSE(text::equalsNoCase("KL01", "KL01 "));
}

TEST(CaseFold, Trim) {
    EXPECT_EQ(text::trim("  код \t\r\n"), "код");
    EXPECT_EQ(text::trim(" \t "), "");
    EXPECT_EQ(text::trim("a b"), "a b");
}

#include "text/Encoding.h"

#include <gtest/gtest.h>

TEST(Encoding, Windows1251RoundTrip) {
    const std::string utf8 = "Ловен Ёлка ёж №5 «кв» — 100%";
    std::string cp = text::utf8ToCp1251(utf8);
    // Every character here has a one-byte form.
    EXPECT_EQ(cp.size(), text::utf16Length(utf8));
    EXPECT_EQ(static_cast<unsigned char>(cp[0]), 0xCB); // Л
    EXPECT_EQ(static_cast<unsigned char>(cp[6]), 0xA8); // Ё
    EXPECT_EQ(text::cp1251ToUtf8(cp), utf8);
}

TEST(Encoding, AllBytesDecodeAndUnmappableCharactersBecomeTheSubstitute) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    std::string utf8 = text::cp1251ToUtf8(all);
    EXPECT_FALSE(utf8.empty());
    // Chinese and an emoji have no Windows-1251 form: one substitute byte each, the rest intact.
    std::string cp = text::utf8ToCp1251("а漢б😀в");
    ASSERT_EQ(cp.size(), 5u);
    EXPECT_EQ(text::cp1251ToUtf8(cp.substr(0, 1)), "а");
    EXPECT_EQ(cp[1], cp[3]);
    EXPECT_NE(text::cp1251ToUtf8(cp.substr(1, 1)), "漢");
    EXPECT_EQ(text::cp1251ToUtf8(cp.substr(4, 1)), "в");
    EXPECT_EQ(text::utf8ToCp1251(""), "");
    EXPECT_EQ(text::cp1251ToUtf8(""), "");
}

TEST(Encoding, Utf16LittleEndianBytes) {
    std::string bytes = text::utf8ToUtf16leBytes("Aж😀");
    ASSERT_EQ(bytes.size(), 8u); // A, ж and a surrogate pair
    EXPECT_EQ(bytes[0], 'A');
    EXPECT_EQ(bytes[1], '\0');
    EXPECT_EQ(static_cast<unsigned char>(bytes[2]), 0x36); // ж = U+0436
    EXPECT_EQ(static_cast<unsigned char>(bytes[3]), 0x04);
    EXPECT_EQ(text::utf16leBytesToUtf8(bytes), "Aж😀");
    EXPECT_EQ(text::utf16Length("Aж😀"), 4u);
    EXPECT_EQ(text::utf16ToUtf8(text::utf8ToUtf16("Тавро")), "Тавро");
}

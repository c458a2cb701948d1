// Filling rows, filled inserts and the warning row.
#include "support/CalcTestSupport.h"

#include "calc/CalcResult.h"
#include "calc/systems/DSSystemLoven.h"

#include <gtest/gtest.h>

using calctest::Records;
using calctest::TestSystem;

namespace {

class FillingsTest : public ::testing::Test {
protected:
    Records records;
    DoorSet doors{30000, 20000, 2, nullptr, false};
    CalcResult result;

    // Gives door d a second insert (ids 1 and 2) and sets the filling rectangles directly.
    Insert& insert(int door, int id, int32_t fillWidth, int32_t fillHeight, const Material* m,
                   int32_t number) {
        Insert& in = doors.doors[door].inserts[id];
        in.fillWidth = fillWidth;
        in.fillHeight = fillHeight;
        in.material = m;
        in.number = number;
        return in;
    }
};

} // namespace

TEST_F(FillingsTest, SameMaterialInTwoDoorsSharesOneRow) {
    TestSystem s(SystemStenvik);
    const Material* glass = records.material("G4", 160, 100000, "g.jpg", false, "Стекло");
    insert(0, 1, 5005, 12345, glass, 1);
    insert(1, 1, 10000, 10000, glass, 2);
    s.calculateFillings(doors, result);

    ASSERT_EQ(result.fillings.size(), 1u);
    const FillingRow& row = result.fillings[0];
    EXPECT_EQ(row.code, "G4");
    EXPECT_EQ(row.name, "Стекло");
    EXPECT_EQ(row.thickness, 160);
    EXPECT_NEAR(row.area, 0.5005 * 1.2345 + 1.0, 1e-12);
    EXPECT_EQ(row.cost, 161787); // ceil(1000,00 × 1,61786725 m²)
    ASSERT_EQ(result.fillingPieces.size(), 2u);
    const FillingPieceRow& first = result.fillingPieces[0];
    EXPECT_EQ(first.number, "1-1");
    EXPECT_EQ(first.height, "1235"); // 1234,5 mm rounded half up
    EXPECT_EQ(first.width, "501");   // 500,5 mm
    EXPECT_EQ(first.mark, "1");
    EXPECT_EQ(first.doorIndex, 0);
    EXPECT_EQ(result.fillingPieces[1].number, "1-2");
    EXPECT_EQ(result.fillingPieces[1].doorIndex, 1);
    EXPECT_EQ(result.fillingGroupCounter, 2);
}

TEST_F(FillingsTest, GroupsInKeyOrderWarningRowLast) {
    TestSystem s(SystemStenvik);
    const Material* b = records.material("B", 160, 1000, "b.jpg");
    const Material* a = records.material("A", 160, 1000, "a.jpg");
    insert(0, 1, 10000, 10000, b, 1);
    insert(0, 2, 10000, 5000, nullptr, 2);
    insert(1, 1, 10000, 10000, a, 3);
    insert(1, 2, 2000, 5000, nullptr, 4);
    s.calculateFillings(doors, result);

    ASSERT_EQ(result.fillings.size(), 3u);
    EXPECT_EQ(result.fillings[0].code, "A");
    EXPECT_EQ(result.fillings[1].code, "B");
    const FillingRow& warning = result.fillings[2];
    EXPECT_EQ(warning.code, "ВНИМАНИЕ");
    EXPECT_EQ(warning.name, "ОТДЕЛОЧНЫЙ МАТЕРИАЛ НЕ УКАЗАН");
    EXPECT_NEAR(warning.area, 0.6, 1e-12);
    EXPECT_EQ(warning.cost, 0);
    EXPECT_TRUE(warning.error.empty());
    ASSERT_EQ(result.fillingPieces.size(), 2u);
    EXPECT_EQ(result.fillingPieces[0].number, "1-1");
    EXPECT_EQ(result.fillingPieces[0].mark, "3");
    EXPECT_EQ(result.fillingPieces[1].number, "2-1");

    // The warning row does not zero the total.
    result.articles.push_back(ArticleRow{"X", "X", 0, 1, 500, "", 1});
    result.recomputeTotal();
    EXPECT_EQ(result.total, 500 + 1000 + 1000);
}

TEST_F(FillingsTest, NoWarningRowWhenEverythingIsFilled) {
    TestSystem s(SystemStenvik);
    insert(0, 1, 10000, 10000, records.material("A", 0, 1000), 1);
    s.calculateFillings(doors, result);
    ASSERT_EQ(result.fillings.size(), 1u);
    EXPECT_EQ(result.fillings[0].code, "A");
}

TEST_F(FillingsTest, ThicknessErrorKeepsPricePerSquareMetre) {
    TestSystem s(SystemStenvik);
    const Material* board = records.material("D16", 160, 150000, "d.jpg");
    insert(0, 1, 10000, 10000, board, 1);
    Insert& bad = insert(1, 1, 10000, 10000, board, 2);
    bad.thicknessMismatch = true;
    s.calculateFillings(doors, result);
    ASSERT_EQ(result.fillings.size(), 1u);
    EXPECT_EQ(result.fillings[0].error, "ОШИБКА: Не подходящий по толщине (16,00) материал.");
    EXPECT_EQ(result.fillings[0].cost, 150000);
    EXPECT_EQ(result.fillingPieces.size(), 2u);
}

TEST_F(FillingsTest, FolderMaterialsNamedByPictureAndGroupedByIt) {
    TestSystem s(SystemStenvik);
    const Material* oak = records.material("W", 160, 1000, "oak.jpg", true, "Дерево");
    const Material* ash = records.material("W", 160, 1000, "ash.jpg", true, "Дерево");
    insert(0, 1, 10000, 10000, oak, 1);
    insert(1, 1, 10000, 10000, ash, 2);
    s.calculateFillings(doors, result);
    // The base groups by code and picture: two rows, ordered by their keys.
    ASSERT_EQ(result.fillings.size(), 2u);
    EXPECT_EQ(result.fillings[0].name, "Дерево (папка\\ash.jpg)");
    EXPECT_EQ(result.fillings[1].name, "Дерево (папка\\oak.jpg)");

    // Ловен groups by the code alone; the row takes the name of the last insert seen.
    DSSystemLoven loven(0, "Ловен", 118);
    CalcResult lovenResult;
    loven.calculateFillings(doors, lovenResult);
    ASSERT_EQ(lovenResult.fillings.size(), 1u);
    EXPECT_EQ(lovenResult.fillings[0].name, "Дерево (папка\\ash.jpg)");
    EXPECT_NEAR(lovenResult.fillings[0].area, 2.0, 1e-12);
    ASSERT_EQ(lovenResult.fillingPieces.size(), 2u);
    EXPECT_EQ(lovenResult.fillingPieces[0].name, "Дерево (папка\\ash.jpg)");
    EXPECT_EQ(lovenResult.fillingPieces[1].number, "1-2");
}

TEST_F(FillingsTest, KeysCompareByUtf16CodeUnits) {
    // U+FF21 (one UTF-16 unit, EF BC A1 in UTF-8) sorts after U+1F600 (a surrogate pair starting
    // D83D, F0 9F 98 80 in UTF-8): the order of the code units, not of the UTF-8 bytes.
    TestSystem s(SystemStenvik);
    insert(0, 1, 10000, 10000, records.material("\xEF\xBC\xA1", 160, 1000), 1);
    insert(1, 1, 10000, 10000, records.material("\xF0\x9F\x98\x80", 160, 1000), 2);
    s.calculateFillings(doors, result);
    ASSERT_EQ(result.fillings.size(), 2u);
    EXPECT_EQ(result.fillings[0].code, "\xF0\x9F\x98\x80");
}

// The filling cut sheet against the bill's filling rows, in every system.

#include "support/SampleSystems.h"

#include "calc/CalcResult.h"
#include "output/FillingCutSheet.h"

#include <gtest/gtest.h>

using namespace outtest;

TEST_P(EverySampleSystem, FillingCutSheetListsEveryBilledPieceByMaterial) {
    const Project& p = *world.project;
    const FillingCutSheet sheet = FillingCutSheet::build(p);
    EXPECT_EQ(sheet.pieceCount(), p.result.fillingPieces.size());
    // Every material row of the bill (the warning row aside) is one group with the same area.
    std::vector<const FillingRow*> billed;
    for (const FillingRow& f : p.result.fillings)
        if (f.code != "ВНИМАНИЕ")
            billed.push_back(&f);
    ASSERT_EQ(sheet.groups.size(), billed.size());
    for (size_t g = 0; g < billed.size(); ++g) {
        EXPECT_EQ(sheet.groups[g].code, billed[g]->code);
        EXPECT_EQ(sheet.groups[g].thickness, billed[g]->thickness);
        EXPECT_NEAR(sheet.groups[g].area, billed[g]->area, 1e-9) << billed[g]->code;
        for (const FillingCutPiece& piece : sheet.groups[g].pieces) {
            EXPECT_GT(piece.width, 0);
            // The listed sizes are the fitted ones (whole millimetres or tenths).
            EXPECT_NEAR(millimetres(piece.widthText), piece.width / 10.0, 0.5);
            EXPECT_NEAR(millimetres(piece.heightText), piece.height / 10.0, 0.5);
        }
    }
    // Printed as a caption and a piece table per material; the caption's thickness is the
    // bill's, the last material's too.
    const std::vector<ResultTable> tables = sheet.tables();
    ASSERT_EQ(tables.size(), 2 * sheet.groups.size());
    for (size_t g = 0; g < billed.size(); ++g) {
        EXPECT_GT(billed[g]->thickness, 0) << billed[g]->code;
        const ResultRow& row = tables[2 * g].rows.at(1);
        EXPECT_EQ(row.cells.at(0).text, "Толщина");
        EXPECT_EQ(row.cells.at(1).text, std::to_string(billed[g]->thickness / 10) + " мм");
    }
}

INSTANTIATE_TEST_SUITE_P(Systems, EverySampleSystem, testing::ValuesIn(kSampleSystems));

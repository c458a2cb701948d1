// One label per cut piece, in every system.

#include "support/SampleSystems.h"

#include "calc/CalcResult.h"
#include "output/ProductionLabel.h"

#include <gtest/gtest.h>

using namespace outtest;

TEST_P(EverySampleSystem, OneLabelPerCutPieceWithItsOrderPlaceAndSize) {
    const Project& p = *world.project;
    const std::vector<ProductionLabel> labels = ProductionLabel::listFor(p);
    // The pieces cut from bars: the frame and splitter profiles of the doors and whatever else
    // the system cuts (tracks, cover strips), counted from the bill's bar rows.
    std::vector<const CutPieceRow*> barPieces;
    for (const CutPieceRow& r : p.result.cutList)
        if (r.number.substr(r.number.find('-') + 1) != "0")
            barPieces.push_back(&r);
    size_t doorPieces = 0;
    for (int i = 0; i < p.doorCount; ++i) {
        const Door& d = p.doors->doors[static_cast<size_t>(i)];
        for (const Edge& e : d.edges)
            doorPieces += e.profile != nullptr;
        for (const auto& [id, s] : d.splitters)
            doorPieces += s.profile != nullptr;
    }
    EXPECT_GE(barPieces.size(), doorPieces);
    ASSERT_EQ(labels.size(), barPieces.size() + p.result.fillingPieces.size());

    auto endsWith = [](const std::string& s, const std::string& tail) {
        return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
    };
    for (size_t k = 0; k < labels.size(); ++k) {
        const ProductionLabel& label = labels[k];
        ASSERT_EQ(label.lines.size(), 4u);
        EXPECT_EQ(label.lines[0], "Заказ 00042, Иванов & Сын <ООО>");
        EXPECT_TRUE(endsWith(label.text(), "\n" + label.lines[3]));
        if (k < barPieces.size()) {
            const CutPieceRow& r = *barPieces[k];
            EXPECT_EQ(label.kind, ProductionLabel::Kind::Profile);
            EXPECT_TRUE(endsWith(label.lines[1], "метка " + r.mark + ", № " + r.number))
                << label.lines[1];
            EXPECT_EQ(label.lines[2].rfind(r.code, 0), 0u);
            EXPECT_EQ(label.lines[3], r.length + " мм");
        } else {
            const FillingPieceRow& r = p.result.fillingPieces[k - barPieces.size()];
            EXPECT_EQ(label.kind, ProductionLabel::Kind::Filling);
            EXPECT_EQ(label.lines[1], "Дверь " + std::to_string(r.doorIndex + 1) + ", метка " +
                                          r.mark + ", № " + r.number);
            EXPECT_EQ(label.lines[3], r.width + " × " + r.height + " мм");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Systems, EverySampleSystem, testing::ValuesIn(kSampleSystems));

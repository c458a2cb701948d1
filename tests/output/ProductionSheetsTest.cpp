// The workshop's sheets: filling cut sheet, door assembly sheet and labels, checked against the
// calculation's own lists for every system.

#include "OutputTestSupport.h"

#include "calc/CalcResult.h"
#include "model/OrderInfo.h"
#include "output/DoorAssemblySheet.h"
#include "output/FillingCutSheet.h"
#include "output/LabelGrid.h"
#include "output/ProductionLabel.h"
#include "output/QrCode.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>

using namespace outtest;

namespace {

const char* const kSystems[] = {"Ловен", "Мелоза", "Тавро", "Стенвик", "Кверт-Н",
                                "Дарсо", "Гартис", "Фольм", "Норсия"};

class EverySystem : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override { ASSERT_TRUE(buildSampleProject(world, GetParam())); }
    World world;
};

using PieceKey = std::pair<int32_t, std::string>; // door, mark

// "1234,5" -> 1234.5
double millimetres(std::string text) {
    for (char& c : text)
        c = c == ',' ? '.' : c;
    return std::stod(text);
}

} // namespace

TEST_P(EverySystem, AssemblySheetDimensionsEqualTheCutList) {
    const Project& p = *world.project;
    std::map<PieceKey, std::string> cut;
    for (const CutPieceRow& r : p.result.cutList)
        if (r.doorIndex >= 0)
            cut.emplace(PieceKey{r.doorIndex, r.mark}, r.length);
    std::map<PieceKey, std::pair<std::string, std::string>> fillings;
    for (const FillingPieceRow& r : p.result.fillingPieces)
        fillings[{r.doorIndex, r.mark}] = {r.width, r.height};

    const DoorAssemblySheet sheet = DoorAssemblySheet::build(p);
    ASSERT_EQ(static_cast<int>(sheet.doors.size()), p.doorCount);
    int splittersSeen = 0, fillingsSeen = 0;
    for (const AssemblyDoor& door : sheet.doors) {
        const Door& model = p.doors->doors[static_cast<size_t>(door.index)];
        EXPECT_EQ(door.width, model.width);
        EXPECT_EQ(door.height, model.height);
        for (const AssemblyEdge& e : door.edges) {
            auto it = cut.find({door.index, std::to_string(e.mark)});
            if (!e.code.empty() && it != cut.end()) {
                EXPECT_EQ(e.lengthText, it->second) << "edge " << e.mark;
            }
        }
        for (const AssemblySplitter& s : door.splitters) {
            EXPECT_GT(s.to, s.from);
            EXPECT_GE(s.axis, 0);
            EXPECT_LE(s.axis, s.vertical ? door.width : door.height);
            if (s.code.empty())
                continue;
            auto it = cut.find({door.index, std::to_string(s.mark)});
            ASSERT_NE(it, cut.end()) << "splitter " << s.mark << " of door " << door.index;
            EXPECT_EQ(s.lengthText, it->second) << "splitter " << s.mark;
            ++splittersSeen;
        }
        for (const AssemblyInsert& in : door.inserts) {
            // The fitted filling lies inside the door, measured from its left and bottom.
            EXPECT_GE(in.fillLeft, 0);
            EXPECT_GE(in.fillBottom, 0);
            EXPECT_LE(in.fillLeft + in.fillWidth, door.width);
            EXPECT_LE(in.fillBottom + in.fillHeight, door.height);
            if (in.material.empty())
                continue;
            auto it = fillings.find({door.index, std::to_string(in.mark)});
            ASSERT_NE(it, fillings.end()) << "insert " << in.mark;
            EXPECT_EQ(in.widthText, it->second.first);
            EXPECT_EQ(in.heightText, it->second.second);
            ++fillingsSeen;
        }
    }
    EXPECT_EQ(fillingsSeen, static_cast<int>(p.result.fillingPieces.size()));
    if (std::string(GetParam()) != "Гартис") {
        EXPECT_GT(splittersSeen, 0);
    }
}

TEST_P(EverySystem, FillingCutSheetListsEveryBilledPieceByMaterial) {
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
    // Printed as a caption and a piece table per material.
    EXPECT_EQ(sheet.tables().size(), 2 * sheet.groups.size());
}

TEST_P(EverySystem, OneLabelPerCutPieceWithItsOrderPlaceAndSize) {
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

INSTANTIATE_TEST_SUITE_P(Systems, EverySystem, testing::ValuesIn(kSystems));

TEST(LabelGrid, ParsesTheGridAndRefusesWhatDoesNotFitTheSheet) {
    const LabelGrid standard;
    EXPECT_EQ(standard.perPage(), 24);
    EXPECT_EQ(standard.left(), 0);
    EXPECT_EQ(standard.top(), 5); // 8 × 37 mm leave 1 mm, split above and below
    EXPECT_EQ(standard.labelLeft(4), 700);
    EXPECT_EQ(standard.labelTop(4), 375);
    EXPECT_EQ(standard.labelTop(24), 5); // the 25th label starts the next sheet

    auto grid = LabelGrid::parse("2x7:99x38");
    ASSERT_TRUE(grid);
    EXPECT_EQ(grid->columns, 2);
    EXPECT_EQ(grid->rows, 7);
    EXPECT_EQ(grid->labelWidth, 990);
    EXPECT_EQ(grid->labelHeight, 380);
    EXPECT_EQ(grid->describe(), "2 × 7, 99 × 38 мм");
    EXPECT_EQ(LabelGrid::parse("4X10:50x29")->perPage(), 40);
    for (const char* bad : {"", "3", "3x", "x8", "3x8:", "3x8:70", "3x8:70x", "3x8 ", "0x8",
                            "21x1:10x10", "4x8:70x37", "3x9:70x37", "3x8:70x5", "99999x1"})
        EXPECT_FALSE(LabelGrid::parse(bad)) << bad;
}

TEST(QrCode, EncodesTheLabelTextInTheSmallestSymbol) {
    auto small = QrCode::encode("Заказ"); // 10 bytes
    ASSERT_TRUE(small);
    EXPECT_EQ(small->size(), 21); // version 1: 21 modules
    // Finder pattern: the top-left 7 × 7 ring is dark, the ring inside it light.
    EXPECT_TRUE(small->dark(0, 0));
    EXPECT_TRUE(small->dark(6, 6));
    EXPECT_FALSE(small->dark(1, 1));
    EXPECT_TRUE(small->dark(3, 3));
    auto large = QrCode::encode(std::string(400, 'x'));
    ASSERT_TRUE(large);
    EXPECT_GT(large->size(), small->size());
    EXPECT_FALSE(QrCode::encode(std::string(5000, 'x'))); // beyond the largest symbol
}

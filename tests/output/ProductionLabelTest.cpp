// One label per cut piece, in every system: the pieces cut from bars, every piece of a profile
// billed by length (tracks, filler strips), the fillings; and one per offcut the plan keeps.

#include "support/SampleSystems.h"
#include "support/SystemBillSupport.h"

#include "calc/CalcResult.h"
#include "calc/RowFormat.h"
#include "calc/systems/DSSystemGartis.h"
#include "calc/systems/DSSystemLoven.h"
#include "catalog/Article.h"
#include "catalog/ProfileColor.h"
#include "output/ProductionLabel.h"
#include "plan/CuttingPlan.h"
#include "plan/OffcutStock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

using namespace outtest;

namespace {

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

bool isLengthLine(const CutPieceRow& r) {
    return endsWith(r.number, "-0");
}

// Whether the label's place line names the cut row "№ g-0" (alone or followed by the piece).
bool namesRow(const ProductionLabel& label, const std::string& number) {
    const std::string place = "№ " + number;
    return label.lines.size() > 1 &&
           (label.lines[1] == place || label.lines[1].rfind(place + ",", 0) == 0);
}

bool namesArticle(const ProductionLabel& label, const std::string& code) {
    return label.lines.size() > 2 &&
           (label.lines[2] == code || label.lines[2].rfind(code + " ", 0) == 0);
}

// "2400,0 мм" -> 24000 (0.1 mm)
int32_t tenthsOf(const std::string& sizeLine) {
    EXPECT_TRUE(endsWith(sizeLine, " мм")) << sizeLine;
    return static_cast<int32_t>(
        std::lround(millimetres(sizeLine.substr(0, sizeLine.size() - 4)) * 10));
}

} // namespace

TEST_P(EverySampleSystem, OneLabelPerCutPieceWithItsOrderPlaceAndSize) {
    const Project& p = *world.project;
    const std::vector<ProductionLabel> labels = ProductionLabel::listFor(p);
    // The pieces cut from bars (the frame and splitter profiles of the doors and whatever else
    // the system cuts from bars, such as cover strips), each with a label of its own; a length
    // line stands for as many pieces as it is cut into.
    std::vector<const CutPieceRow*> profilePieces;
    size_t barPieces = 0;
    for (const CutPieceRow& r : p.result.cutList) {
        if (!isLengthLine(r)) {
            profilePieces.push_back(&r);
            ++barPieces;
        }
        for (int32_t k = 0; isLengthLine(r) && k < r.pieceCount; ++k)
            profilePieces.push_back(&r);
    }
    size_t doorPieces = 0;
    for (int i = 0; i < p.doorCount; ++i) {
        const Door& d = p.doors->doors[static_cast<size_t>(i)];
        for (const Edge& e : d.edges)
            doorPieces += e.profile != nullptr;
        for (const auto& [id, s] : d.splitters)
            doorPieces += s.profile != nullptr;
    }
    EXPECT_GE(barPieces, doorPieces);
    EXPECT_GT(profilePieces.size(), barPieces) << "every system cuts tracks or filler strips";
    ASSERT_EQ(labels.size(), profilePieces.size() + p.result.fillingPieces.size());

    for (size_t k = 0; k < labels.size(); ++k) {
        const ProductionLabel& label = labels[k];
        ASSERT_EQ(label.lines.size(), 4u);
        EXPECT_EQ(label.lines[0], "Заказ 00042, Иванов & Сын <ООО>");
        EXPECT_TRUE(endsWith(label.text(), "\n" + label.lines[3]));
        if (k < profilePieces.size()) {
            const CutPieceRow& r = *profilePieces[k];
            EXPECT_EQ(label.kind, ProductionLabel::Kind::Profile);
            EXPECT_TRUE(namesArticle(label, r.code)) << label.lines[2];
            if (isLengthLine(r)) {
                EXPECT_TRUE(namesRow(label, r.number)) << label.lines[1];
                continue; // the sizes: LengthLineLabels
            }
            EXPECT_TRUE(endsWith(label.lines[1], "метка " + r.mark + ", № " + r.number))
                << label.lines[1];
            EXPECT_EQ(label.lines[3], r.length + " мм");
            // The bar length the bill bought is no size of the piece.
            EXPECT_FALSE(endsWith(label.lines[2], " м.")) << label.lines[2];
        } else {
            const FillingPieceRow& r = p.result.fillingPieces[k - profilePieces.size()];
            EXPECT_EQ(label.kind, ProductionLabel::Kind::Filling);
            EXPECT_EQ(label.lines[1], "Дверь " + std::to_string(r.doorIndex + 1) + ", метка " +
                                          r.mark + ", № " + r.number);
            EXPECT_EQ(label.lines[3], r.width + " × " + r.height + " мм");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Systems, EverySampleSystem, testing::ValuesIn(kSampleSystems));

// --- profiles billed by length ---

namespace {

enum class Variant { Usual, LovenPivot, MelozaInside, GartisOneRunner };

struct LengthLineCase {
    const char* system;
    int doors;
    Variant variant;
    // Every profile the order bills by length, with the pieces it is cut into.
    std::map<std::string, int> pieces;
    // Goods sold by length the order bills: no label.
    std::vector<std::string> unlabelled;
};

void PrintTo(const LengthLineCase& c, std::ostream* os) {
    *os << c.system << ", " << c.doors << " doors, variant " << static_cast<int>(c.variant);
}

const LengthLineCase kLengthLineCases[] = {
    {"Ловен", 3, Variant::Usual, {{"KL02", 1}, {"KL05", 1}}, {"KL13", "KL17"}},
    {"Ловен", 1, Variant::Usual, {{"KL03", 1}, {"KL06", 1}}, {"KL13"}},
    // The pivot profile at the top and at the bottom of the opening.
    {"Ловен", 2, Variant::LovenPivot, {{"KL04", 2}}, {"KL17"}},
    // Two tracks for two or four doors: an upper running profile each.
    {"Мелоза", 2, Variant::Usual, {{"ME01", 2}, {"ME02", 1}}, {"KL17"}},
    {"Мелоза", 4, Variant::Usual, {{"ME01", 2}, {"ME02", 1}}, {}},
    {"Мелоза", 1, Variant::Usual, {{"ME01", 1}, {"ME02", 1}}, {}},
    {"Мелоза", 2, Variant::MelozaInside, {{"ME01", 1}, {"ME02", 1}}, {}},
    // Odd door counts end on the same track: two small filler strips; even: one of each.
    {"Тавро", 3, Variant::Usual, {{"KI01", 1}, {"TL10NEW", 1}, {"TL06", 2}}, {"TL11", "KS15"}},
    {"Тавро",
     2,
     Variant::Usual,
     {{"KI01", 1}, {"TL10NEW", 1}, {"TL07", 1}, {"TL06", 1}},
     {"TL11", "KS15"}},
    {"Стенвик", 3, Variant::Usual, {{"KL02", 1}, {"KL05", 1}}, {"KL13", "TL11", "KS15"}},
    {"Кверт-Н", 1, Variant::Usual, {{"KL03", 1}, {"KL06", 1}}, {"KL13", "TL11"}},
    {"Дарсо", 2, Variant::Usual, {{"KL02", 1}, {"KL05", 1}}, {"KL13", "KL17"}},
    // The two-runner rail is guided at the top and at the bottom.
    {"Гартис", 3, Variant::Usual, {{"KG01", 1}, {"KG04", 2}}, {}},
    {"Гартис", 3, Variant::GartisOneRunner, {{"KG02", 1}, {"KG04", 1}}, {}},
    {"Фольм", 3, Variant::Usual, {{"KF01", 1}, {"KF05", 1}, {"KF07", 2}}, {"KF06"}},
    {"Норсия", 2, Variant::Usual, {{"KF01", 1}, {"KF05", 1}, {"KN06", 1}, {"KN07", 1}}, {"KN17"}},
};

class LengthLineLabels : public testing::TestWithParam<LengthLineCase> {
protected:
    void SetUp() override {
        const LengthLineCase& c = GetParam();
        ASSERT_TRUE(buildSampleProject(world, c.system));
        Project& p = *world.project;
        if (p.doorCount != c.doors) {
            ASSERT_TRUE(p.setDoorCount(c.doors));
        }
        switch (c.variant) {
        case Variant::Usual:
            break;
        case Variant::LovenPivot:
            dynamic_cast<DSSystemLoven&>(*p.system).choosePivotMode(*p.doors, true);
            p.recalculate(false);
            break;
        case Variant::MelozaInside:
            ASSERT_TRUE(p.toggleMountingMode());
            break;
        case Variant::GartisOneRunner:
            dynamic_cast<DSSystemGartis&>(*p.system).nextRailVariant();
            p.recalculate(false);
            break;
        }
        ASSERT_EQ(p.doorCount, c.doors);
    }
    World world;
};

} // namespace

TEST_P(LengthLineLabels, EveryPieceOfAProfileBilledByLengthGetsALabelAndSealsNone) {
    const LengthLineCase& c = GetParam();
    const Project& p = *world.project;
    const std::vector<ProductionLabel> labels = ProductionLabel::listFor(p);
    std::map<std::string, int> found;
    for (const CutPieceRow& row : p.result.cutList) {
        if (!isLengthLine(row))
            continue;
        const ArticleRow* billed = billtest::findArticle(p.result, row.code);
        ASSERT_NE(billed, nullptr) << row.code;
        std::vector<const ProductionLabel*> mine;
        for (const ProductionLabel& label : labels)
            if (namesRow(label, row.number))
                mine.push_back(&label);
        const auto expected = c.pieces.find(row.code);
        if (expected == c.pieces.end()) {
            // Goods sold by length and accessories sold by the piece are not cut.
            EXPECT_TRUE(mine.empty()) << row.code;
            const Article* article = world.catalog->articleByCode(row.code);
            EXPECT_TRUE(billed->counted == 1 || (article && article->kind == KindByLength))
                << row.code << " is a profile billed by length";
            continue;
        }
        found[row.code] = static_cast<int>(mine.size());
        ASSERT_EQ(mine.size(), static_cast<size_t>(expected->second)) << row.code;
        int64_t sum = 0;
        for (size_t k = 0; k < mine.size(); ++k) {
            const ProductionLabel& label = *mine[k];
            EXPECT_TRUE(namesArticle(label, row.code)) << label.lines[2];
            const int32_t length = tenthsOf(label.lines[3]);
            EXPECT_EQ(length, billed->quantity / expected->second) << row.code;
            sum += length;
            if (mine.size() > 1) {
                EXPECT_TRUE(endsWith(label.lines[1], ", отрезок " + std::to_string(k + 1) + " из " +
                                                         std::to_string(mine.size())))
                    << label.lines[1];
            }
        }
        EXPECT_EQ(sum, billed->quantity) << row.code;
    }
    EXPECT_EQ(found, c.pieces);
    for (const std::string& code : c.unlabelled) {
        EXPECT_NE(billtest::findArticle(p.result, code), nullptr) << code << " is billed";
        for (const ProductionLabel& label : labels)
            EXPECT_FALSE(namesArticle(label, code)) << code;
    }
}

INSTANTIATE_TEST_SUITE_P(Systems, LengthLineLabels, testing::ValuesIn(kLengthLineCases));

// --- offcuts ---

TEST(OffcutLabels, OneLabelPerKeptOffcutWithArticleColourAndLength) {
    struct Case {
        const char* what;
        int32_t minOffcut;
        bool colour;
    };
    const Case cases[] = {
        {"usual minimum", 3000, true},
        {"no profile colour", 3000, false},
        {"minimum longer than every bar", 100000, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        World world;
        ASSERT_TRUE(buildSampleProject(world, "Ловен"));
        Project& p = *world.project;
        // Doors 2 m high: two handle pieces to a 4,8 m bar leave 55,2 cm of each bar.
        ASSERT_TRUE(p.setHeight(20000));
        if (!c.colour)
            p.color = nullptr;
        ASSERT_EQ(p.color != nullptr, c.colour);
        PlanSettings settings;
        settings.minOffcut = c.minOffcut;
        const CuttingPlan plan = CuttingPlan::build(p, settings, OffcutStock());

        // What the plan leaves on its bars, at least the minimum long.
        std::vector<std::pair<std::string, int32_t>> kept;
        for (const ArticleCut& a : plan.articles)
            for (const PlannedBar& bar : a.plan.bars)
                if (bar.offcut > 0 && bar.offcut >= c.minOffcut)
                    kept.emplace_back(a.code + " " + a.name, bar.offcut);
        EXPECT_EQ(kept.empty(), c.minOffcut > 60000);

        const std::vector<ProductionLabel> labels = ProductionLabel::offcutLabels(p, plan);
        ASSERT_EQ(labels.size(), kept.size());
        const std::string colour = c.colour ? "Цвет: " + p.color->code : "Цвет: нет";
        for (size_t k = 0; k < labels.size(); ++k) {
            const ProductionLabel& label = labels[k];
            EXPECT_EQ(label.kind, ProductionLabel::Kind::Offcut);
            EXPECT_EQ(label.lines,
                      (std::vector<std::string>{"Заказ 00042, Иванов & Сын <ООО>",
                                                "Деловой остаток", kept[k].first, colour,
                                                rowformat::tenths(kept[k].second) + " мм"}));
        }
    }
}

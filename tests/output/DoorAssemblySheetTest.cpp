// The door assembly sheet against the cut list and the materials list, in every system.

#include "support/SampleSystems.h"

#include "calc/CalcResult.h"
#include "calc/DSSystem.h"
#include "calc/RowFormat.h"
#include "catalog/RollerKit.h"
#include "output/DoorAssemblySheet.h"
#include "output/ResultTables.h"

#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

using namespace outtest;

namespace {

using PieceKey = std::pair<int32_t, std::string>; // door, mark

} // namespace

TEST_P(EverySampleSystem, AssemblySheetDimensionsEqualTheCutList) {
    // A vertical splitter under the horizontal one of the first door: its stretch ends there.
    Door& first = world.project->doors->doors[0];
    ASSERT_TRUE(
        split(first, first.width / 8, first.height - 1000, true, world.project->splitterProfile));
    world.project->recalculate(true);
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
        // A splitter's axis is the edge of the inserts on both its sides, which the sheet
        // measures from the left and from the bottom as well; they lie along its stretch.
        for (const AssemblySplitter& s : door.splitters) {
            int before = 0, after = 0;
            for (const AssemblyInsert& in : door.inserts) {
                const bool along = s.vertical ? in.bottom >= s.from && in.top <= s.to
                                              : in.left >= s.from && in.right <= s.to;
                before += along && (s.vertical ? in.right : in.top) == s.axis;
                after += along && (s.vertical ? in.left : in.bottom) == s.axis;
            }
            EXPECT_TRUE(before > 0 && after > 0) << "splitter " << s.mark << " at " << s.axis;
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
    if (std::string(GetParam()) == "Ловен") {
        // The doors were 2370 mm high when split a third of the way down (790 mm) and are
        // 2360 mm high now: the splitter lies 1570 mm above the bottom.
        ASSERT_EQ(sheet.doors[0].splitters.size(), 3u);
        EXPECT_EQ(sheet.doors[0].splitters[1].axis, 15700);
    }
    if (std::string(GetParam()) != "Гартис") {
        EXPECT_GT(splittersSeen, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Systems, EverySampleSystem, testing::ValuesIn(kSampleSystems));

namespace {

struct Fitting {
    std::string what;
    std::string code;
    std::string amount;
};

std::vector<Fitting> fittingsOf(const AssemblyDoor& door) {
    std::vector<Fitting> out;
    for (const AssemblyAccessory& a : door.accessories)
        out.push_back({a.what, a.code, a.amount});
    return out;
}

bool operator==(const Fitting& a, const Fitting& b) {
    return a.what == b.what && a.code == b.code && a.amount == b.amount;
}

void PrintTo(const Fitting& f, std::ostream* out) {
    *out << f.what << " " << f.code << " " << f.amount;
}

std::string tenthsMm(int64_t tenths) {
    return rowformat::tenths(tenths) + " мм";
}

struct OneSystem : testing::Test {
    World world;
    Project& p = *world.project;
    DoorAssemblySheet use(const char* system) {
        EXPECT_TRUE(buildSampleProject(world, system));
        return DoorAssemblySheet::build(p);
    }
    int64_t share(const char* code, size_t door) const {
        for (const DoorShareLine& line : p.result.doorShares)
            if (line.code == code)
                return line.perDoor.at(door).amount;
        ADD_FAILURE() << code << " is not shared out";
        return 0;
    }
};

} // namespace

TEST_F(OneSystem, ADoorIsToldItsOwnShareOfTheBrushStopperRollersAndSeals) {
    const DoorAssemblySheet sheet = use("Стенвик");
    ASSERT_EQ(sheet.doors.size(), 3u);
    const int32_t edge = p.doors->doors[0].edges[EdgeLeft].cutLength;
    EXPECT_EQ(sheet.doors[1].track, "передняя");
    EXPECT_EQ(fittingsOf(sheet.doors[1]),
              (std::vector<Fitting>{{"Щётка", "KL13", "2 × " + tenthsMm(edge)},
                                    {"Стопор", "KL14", "1 шт."},
                                    {"Ролики", "W1406", "1 шт."},
                                    {"Уплотнитель", "KS15", tenthsMm(share("KS15", 1))},
                                    {"Уплотнитель", "TL11", tenthsMm(share("TL11", 1))}}));
    EXPECT_EQ(sheet.doors[2].track, "задняя");
}

TEST_F(OneSystem, TheFittingsTableNamesTheTrackThenEveryAccessoryOfTheDoor) {
    const DoorAssemblySheet sheet = use("Стенвик");
    ASSERT_EQ(sheet.doors.size(), 3u);
    const char* const tracks[] = {"задняя", "передняя", "задняя"};
    for (size_t i = 0; i < sheet.doors.size(); ++i) {
        SCOPED_TRACE(i);
        const AssemblyDoor& door = sheet.doors[i];
        const std::vector<ResultTable> tables = DoorAssemblySheet::fittingTables(door);
        ASSERT_EQ(tables.size(), 1u);
        std::vector<std::vector<std::string>> rows;
        for (const ResultRow& row : tables[0].rows) {
            rows.emplace_back();
            for (const ResultCell& cell : row.cells)
                rows.back().push_back(cell.text);
        }
        ASSERT_EQ(rows.size(), 2 + door.accessories.size());
        EXPECT_EQ(rows[0],
                  (std::vector<std::string>{"Фурнитура", "Артикул, наименование", "На дверь"}));
        EXPECT_EQ(rows[1], (std::vector<std::string>{"Направляющая", "", tracks[i]}));
        EXPECT_EQ(rows[2], (std::vector<std::string>{"Щётка", "KL13 " + door.accessories[0].name,
                                                     door.accessories[0].amount}));
    }
}

TEST_F(OneSystem, WhatIsNotAWholeShareOfADoorIsGivenForTheOrder) {
    // A three-door roller kit serves the three doors of Тавро's sample.
    DoorAssemblySheet sheet = use("Тавро");
    for (const AssemblyDoor& door : sheet.doors) {
        ASSERT_FALSE(door.accessories.empty());
        EXPECT_EQ(fittingsOf(door).front(),
                  (Fitting{"Ролики", "TL12-1", "на заказ 1 шт., комплект на 3 двери"}));
    }
    // Гартис's shock-absorbing stoppers sit between the doors; with one door there is none. Its
    // guide parts and screws are the door's own.
    sheet = use("Гартис");
    EXPECT_EQ(fittingsOf(sheet.doors[0]),
              (std::vector<Fitting>{{"Ролики", "KG05", "2 шт."},
                                    {"Деталь", "KG16", "2 шт."},
                                    {"Деталь", "KG06", "2 шт."},
                                    {"Стопор", "KG07", "на заказ 2 шт., между дверями"}}));
    ASSERT_TRUE(p.setDoorCount(1));
    sheet = DoorAssemblySheet::build(p);
    EXPECT_EQ(fittingsOf(sheet.doors[0]), (std::vector<Fitting>{{"Ролики", "KG05", "2 шт."},
                                                                {"Деталь", "KG16", "2 шт."},
                                                                {"Деталь", "KG06", "2 шт."}}));
    EXPECT_EQ(sheet.doors[0].track, "одна");
}

TEST_F(OneSystem, ADoorWithoutGlassGetsNoGlassSealAndABillErrorIsShown) {
    use("Норсия");
    for (auto& [id, in] : p.doors->doors[1].inserts)
        if (in.material != nullptr && in.material->thickness == 40)
            in.material = nullptr;
    p.recalculate(true);
    DoorAssemblySheet sheet = DoorAssemblySheet::build(p);
    const auto hasSeal = [](const AssemblyDoor& door) {
        for (const AssemblyAccessory& a : door.accessories)
            if (a.code == "KN17")
                return true;
        return false;
    };
    EXPECT_TRUE(hasSeal(sheet.doors[0]));
    EXPECT_FALSE(hasSeal(sheet.doors[1]));

    // Rollers that do not fit the handle: the sheet says so where it names them.
    use("Ловен");
    RollerKit* other = nullptr;
    for (RollerKit* kit : p.system->rollerKits())
        if (kit->code == "KL010/011B")
            other = kit;
    ASSERT_NE(other, nullptr);
    p.system->selectedRollerKit = other;
    p.recalculate(false);
    sheet = DoorAssemblySheet::build(p);
    ASSERT_FALSE(sheet.doors[0].accessories.empty());
    const AssemblyAccessory& rollers = sheet.doors[0].accessories.front();
    EXPECT_EQ(rollers.code, "KL010/011B");
    EXPECT_NE(rollers.name.find(std::string("\n") + calctext::kRollersDoNotFit), std::string::npos)
        << rollers.name;

    // Мелоза inside the opening hangs both doors on one track.
    use("Мелоза");
    ASSERT_TRUE(p.toggleMountingMode());
    sheet = DoorAssemblySheet::build(p);
    for (const AssemblyDoor& door : sheet.doors)
        EXPECT_EQ(door.track, "одна на все двери");
}

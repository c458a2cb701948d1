// Project operations: validation, selection rules, door resets, numbering, element list and the
// recalculation sequence. The rules are checked against small recording systems whose behaviour
// the tests control; the default project is also checked against the real catalog.
#include "support/LayoutHelpers.h"
#include "support/TempFolder.h"

#include "calc/DSSystem.h"
#include "calc/SystemFactory.h"
#include "catalog/Catalog.h"
#include "catalog/Material.h"
#include "model/Project.h"
#include "text/Format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

namespace {

// A system that records how the project calls it. Geometry: every door gets the opening width
// divided by the door count and the door set's height minus 100 (through the shared door sizing);
// left and right edges carry the handle profile, the bottom edge an article of its own, the top
// edge nothing. Calculation: one priced row, one cut row per door and one per splitter with a
// profile, one accessory row, and a filling piece row per insert with a material.
class RecordingSystem : public DSSystem {
public:
    RecordingSystem(int32_t index, const char* name, int32_t minPlinth, int32_t maxDoorsAllowed,
                    uint8_t edgeOptionOffered)
        : DSSystem(index, name, 0, 0, edgeOptionOffered), minPlinth_(minPlinth),
          maxDoors_(maxDoorsAllowed) {
        bottom.code = "BOTTOM";
    }

    int geometryCalls = 0;
    int calculateCalls = 0;
    int setHeightCalls = 0;
    int assignTrackCalls = 0;
    std::vector<bool> keepArguments;
    const ProfileColor* lastColor = nullptr;
    Article bottom;

    void updateGeometry(DoorSet& ds, bool keepDoorWidths) override {
        ++geometryCalls;
        keepArguments.push_back(keepDoorWidths);
        if (!keepDoorWidths) {
            resizeDoors(ds, ds.height - 100, ds.openingWidth / ds.doorCount);
        }
        for (int i = 0; i < ds.doorCount; ++i) {
            Door& d = ds.doors[i];
            d.edges[EdgeLeft].profile = ds.handleProfile;
            d.edges[EdgeRight].profile = ds.handleProfile;
            d.edges[EdgeTop].profile = nullptr;
            d.edges[EdgeBottom].profile = &bottom;
        }
    }

    void calculate(DoorSet& ds, CalcResult& result, const ProfileColor* color) override {
        ++calculateCalls;
        lastColor = color;
        clearResult(result);
        result.articles.push_back({"A", "Артикул", 0, 1, 12345, "", 1});
        result.cutList.push_back({"1-0", "ACC", "Аксессуар", "2", "0", -1});
        for (int i = 0; i < ds.doorCount; ++i) {
            const Door& d = ds.doors[i];
            result.cutList.push_back({"1-1", "EDGE", "Кромка", "100,0",
                                      text::format("%d", d.edges[EdgeBottom].number), i});
            for (const auto& [id, s] : d.splitters) {
                if (s.profile) {
                    result.cutList.push_back(
                        {"2-1", "SPL", "Разделитель", "50,0", text::format("%d", s.number), i});
                }
            }
            for (const auto& [id, in] : d.inserts) {
                if (in.material) {
                    result.fillingPieces.push_back({"1-1", in.material->code, in.material->name,
                                                    "10", "10", text::format("%d", in.number), i});
                }
            }
        }
    }

    void setHeight(DoorSet& ds, int32_t h, int32_t t, int32_t p) override {
        ++setHeightCalls;
        DSSystem::setHeight(ds, h, t, p);
    }
    void assignTracks(DoorSet& ds) override {
        ++assignTrackCalls;
        DSSystem::assignTracks(ds);
    }
    int maxDoors() override { return maxDoors_; }
    int clampDoorCount(int n) override { return n < maxDoors_ ? n : maxDoors_; }
    int minPlinthHeight() override { return minPlinth_; }

    void setMaxDoors(int n) { maxDoors_ = n; }

    void resetCounters() {
        geometryCalls = calculateCalls = setHeightCalls = assignTrackCalls = 0;
        keepArguments.clear();
    }

private:
    int32_t minPlinth_;
    int maxDoors_;
};

// Two recording systems with their own handle profiles, colours and splitter profiles.
struct RecordingCatalog : ::testing::Test {
    TempFolder folder;
    std::unique_ptr<Catalog> catalog;
    RecordingSystem* first = nullptr;
    RecordingSystem* second = nullptr;

    ProfileColor silver{0, "Серебро", 0, 0xC0C0C0};
    ProfileColor gold{1, "Золото", 0, 0x00D7FF};
    ProfileColor black{2, "Чёрный", 0, 0};
    HandleProfile handleA{0, "HA", 0, "Ручка A"};
    HandleProfile handleB{1, "HB", 0, "Ручка B"};
    HandleProfile handleNoColors{2, "HN", 0, "Ручка без цветов"};
    SplitterProfile splitterA{0, "SA", 0, "Разделитель A"};
    SplitterProfile splitterB{1, "SB", 0, "Разделитель B"};
    Material oak;

    void SetUp() override {
        handleA.colorChoices = {{&silver, false}, {&gold, false}};
        handleB.colorChoices = {{&black, false}, {&gold, true}};
        oak.code = "OAK";
        oak.name = "Дуб";
        catalog = std::make_unique<Catalog>(folder.path(), [](Catalog&) {
            std::vector<Catalog::SystemEntry> systems;
            systems.push_back(
                systemEntry(std::make_unique<RecordingSystem>(0, "Первая", 0, 10, 0)));
            systems.push_back(
                systemEntry(std::make_unique<RecordingSystem>(1, "Вторая", 650, 4, 1)));
            return systems;
        });
        ASSERT_EQ(catalog->systems().size(), 2u);
        first = dynamic_cast<RecordingSystem*>(catalog->systems()[0]);
        second = dynamic_cast<RecordingSystem*>(catalog->systems()[1]);
        ASSERT_TRUE(first && second);
        first->handleProfiles = {&handleA, &handleB};
        first->splitterProfiles = {&splitterA, &splitterB};
        second->handleProfiles = {&handleB};
        second->splitterProfiles = {&splitterB};
    }

    // Draws the doors in use side by side at scale 0.1, as the sketch would.
    static void draw(Project& p) { layout::placeDoorsOnScreen(*p.doors); }
};

using ProjectRules = RecordingCatalog;

} // namespace

TEST_F(ProjectRules, ConstructionTakesTheFirstOfEverythingAndCalculatesOnce) {
    Project p(*catalog);
    EXPECT_EQ(p.system, first);
    EXPECT_EQ(p.handleProfile, &handleA);
    EXPECT_EQ(p.color, &silver);
    EXPECT_EQ(p.splitterProfile, &splitterA);
    EXPECT_EQ(p.openingWidth, 30000);
    EXPECT_EQ(p.height, 20000);
    EXPECT_EQ(p.doorCount, 3);
    EXPECT_EQ(p.plinthHeight, 540);
    EXPECT_EQ(p.chipboardThickness, 160);
    EXPECT_EQ(p.discountPercent, 0.0);
    EXPECT_FALSE(p.splitterMode);
    EXPECT_TRUE(p.splitterVertical);
    EXPECT_EQ(p.order.orderNumber, "00001");
    ASSERT_TRUE(p.doors);
    EXPECT_EQ(p.doors->handleProfile, &handleA);
    EXPECT_EQ(first->geometryCalls, 1);
    EXPECT_EQ(first->calculateCalls, 1);
    EXPECT_EQ(first->keepArguments, std::vector<bool>{false});
    EXPECT_EQ(first->lastColor, &silver);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(p.doors->doors[i].width, 10000);
        EXPECT_EQ(p.doors->doors[i].height, 19900);
        EXPECT_EQ(p.doors->doors[i].track, i % 2);
    }
    EXPECT_EQ(p.priceTotal(), 12345);
}

TEST_F(ProjectRules, SizeSettersAcceptOnlyTheirRange) {
    Project p(*catalog);
    first->resetCounters();
    EXPECT_FALSE(p.setOpeningWidth(999));
    EXPECT_FALSE(p.setOpeningWidth(1000001));
    EXPECT_FALSE(p.setHeight(999));
    EXPECT_FALSE(p.setHeight(100001));
    EXPECT_FALSE(p.setChipboardThickness(-1));
    EXPECT_FALSE(p.setChipboardThickness(1001));
    EXPECT_EQ(first->geometryCalls, 0) << "an ignored value must not recalculate";
    EXPECT_EQ(p.openingWidth, 30000);
    EXPECT_EQ(p.height, 20000);
    EXPECT_EQ(p.chipboardThickness, 160);

    EXPECT_TRUE(p.setOpeningWidth(1000));
    EXPECT_EQ(p.doors->openingWidth, 1000);
    EXPECT_EQ(p.doors->doors[0].width, 1000 / 3);
    EXPECT_TRUE(p.setOpeningWidth(1000000));
    EXPECT_EQ(p.openingWidth, 1000000);
    EXPECT_TRUE(p.setHeight(1000));
    EXPECT_EQ(p.doors->height, 1000);
    EXPECT_EQ(p.doors->doors[2].height, 900);
    EXPECT_TRUE(p.setHeight(100000));
    EXPECT_TRUE(p.setChipboardThickness(0));
    EXPECT_TRUE(p.setChipboardThickness(1000));
    EXPECT_EQ(p.chipboardThickness, 1000);
    // Every accepted size is first tried on a scratch door set (one setHeight and one geometry
    // update each), then applied.
    EXPECT_EQ(first->setHeightCalls, 6 + 4) << "height and thickness go through the system";
    EXPECT_EQ(first->geometryCalls, 6 + 6);
    EXPECT_EQ(first->keepArguments, std::vector<bool>(12, false));
    EXPECT_TRUE(p.setPlinthHeight(700));
    EXPECT_EQ(p.plinthHeight, 700);
    EXPECT_EQ(first->setHeightCalls, 12);
}

TEST_F(ProjectRules, DoorCountValidationAndZoom) {
    Project p(*catalog);
    p.doors->zoomDoor = 1;
    first->resetCounters();
    EXPECT_FALSE(p.setDoorCount(3));
    EXPECT_EQ(p.doors->zoomDoor, 1) << "the same count changes nothing";
    EXPECT_FALSE(p.setDoorCount(0));
    EXPECT_FALSE(p.setDoorCount(11));
    EXPECT_FALSE(p.setDoorCount(-2));
    EXPECT_EQ(first->geometryCalls, 0);
    EXPECT_EQ(p.doorCount, 3);

    ASSERT_TRUE(p.setDoorCount(10));
    EXPECT_EQ(p.doors->zoomDoor, -1);
    EXPECT_EQ(p.doors->doorCount, 10);
    EXPECT_EQ(first->assignTrackCalls, 1);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(p.doors->doors[i].width, 3000) << "a new count gives standard widths";
    }
    first->setMaxDoors(4);
    EXPECT_FALSE(p.setDoorCount(5)) << "the system allows four doors";
    EXPECT_TRUE(p.setDoorCount(4));
}

TEST_F(ProjectRules, DoorsBeyondTheCountKeepTheirContent) {
    Project p(*catalog);
    ASSERT_TRUE(p.setDoorCount(5));
    draw(p);
    // Door 5 (index 4) gets a splitter and a material.
    const ScreenPoint inDoor5{p.doors->doors[4].rect.left + 300, 500};
    ASSERT_TRUE(p.addSplitterAtPoint(inDoor5));
    Door& d5 = p.doors->doors[4];
    ASSERT_EQ(d5.splitters.size(), 1u);
    d5.inserts.at(2).material = &oak;
    const int32_t position = d5.splitters.at(1).position;

    ASSERT_TRUE(p.setDoorCount(3));
    EXPECT_TRUE(std::none_of(p.result.elements.begin(), p.result.elements.end(),
                             [](const ElementRow& r) { return r.door == "5"; }));
    ASSERT_TRUE(p.setDoorCount(5));
    ASSERT_EQ(d5.splitters.size(), 1u);
    EXPECT_EQ(d5.inserts.at(2).material, &oak);
    EXPECT_EQ(d5.width, 30000 / 5) << "standard width again";
    EXPECT_EQ(d5.splitters.at(1).position, position) << "same width, same position";
    EXPECT_EQ(d5.layoutFault(), "");
    EXPECT_TRUE(
        std::any_of(p.result.elements.begin(), p.result.elements.end(),
                    [](const ElementRow& r) { return r.door == "5" && r.kind == "Вставка"; }));
}

TEST_F(ProjectRules, ColourChangeRecalculatesPricesOnly) {
    Project p(*catalog);
    draw(p);
    ASSERT_TRUE(p.addSplitterAtPoint({300, 500}));
    Splitter& s = p.doors->doors[0].splitters.at(1);
    s.number = 99;                   // a renumbering would overwrite it
    p.doors->doors[1].width = 12345; // a geometry update with resize would overwrite it
    first->resetCounters();
    p.doors->changed = false;
    EXPECT_FALSE(p.setColor(&silver));
    EXPECT_EQ(first->calculateCalls, 0);
    ASSERT_TRUE(p.setColor(&gold));
    EXPECT_EQ(p.color, &gold);
    EXPECT_TRUE(p.doors->changed);
    EXPECT_EQ(first->calculateCalls, 1);
    EXPECT_EQ(first->geometryCalls, 0);
    EXPECT_EQ(first->lastColor, &gold);
    EXPECT_EQ(s.number, 99);
    EXPECT_EQ(p.doors->doors[1].width, 12345);
    EXPECT_FALSE(p.result.elements.empty()) << "the element list is rebuilt after the calculation";
}

TEST_F(ProjectRules, ColourRecheckFollowsTheHandleProfile) {
    Project p(*catalog);
    ASSERT_TRUE(p.setColor(&gold));
    // gold is offered by handle B as well: kept.
    ASSERT_TRUE(p.setHandleProfile(&handleB));
    EXPECT_EQ(p.color, &gold);
    EXPECT_EQ(p.doors->handleProfile, &handleB);
    // silver is not offered by handle B: its first colour is taken.
    ASSERT_TRUE(p.setHandleProfile(&handleA));
    ASSERT_TRUE(p.setColor(&silver));
    ASSERT_TRUE(p.setHandleProfile(&handleB));
    EXPECT_EQ(p.color, &black);
    // A profile without colours leaves the colour in place.
    ASSERT_TRUE(p.setHandleProfile(&handleNoColors));
    EXPECT_EQ(p.color, &black);
    // No handle profile: no colour.
    ASSERT_TRUE(p.setHandleProfile(nullptr));
    EXPECT_EQ(p.color, nullptr);
    EXPECT_EQ(p.doors->handleProfile, nullptr);
    EXPECT_FALSE(p.setHandleProfile(nullptr));
}

TEST_F(ProjectRules, HandleChangeKeepsManualWidthProportions) {
    Project p(*catalog);
    // Door widths set by hand (the door widths dialog): 800, 1200 and 1000 mm.
    const int32_t widths[] = {8000, 12000, 10000};
    for (int i = 0; i < 3; ++i) {
        Door& d = p.doors->doors[i];
        d.laidOutWidth = d.width;
        d.width = widths[i];
        d.relayout(false);
    }
    p.recalculate(true);
    first->resetCounters();
    ASSERT_TRUE(p.setHandleProfile(&handleB));
    // The scratch door set the new handle is tried on, then the project's.
    EXPECT_EQ(first->keepArguments, (std::vector<bool>{false, false}));
    EXPECT_FALSE(p.doors->resizeAllDoors) << "the geometry update consumed the flag";
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(p.doors->doors[i].width, widths[i]);
    }
    // A new opening width scales them in proportion; the last door takes the rounding.
    ASSERT_TRUE(p.setOpeningWidth(20000));
    // Nominal 3 × 6666 = 19998: 0.2667 × 19998 -> 5333, 0.4 × 19998 -> 7999, the rest 6666.
    EXPECT_EQ(p.doors->doors[0].width, 5333);
    EXPECT_EQ(p.doors->doors[1].width, 7999);
    EXPECT_EQ(p.doors->doors[2].width, 6666);
}

TEST_F(ProjectRules, SystemChangeResetsPlinthDoorsAndSelections) {
    Project p(*catalog);
    ASSERT_TRUE(p.setDoorCount(6));
    p.setPlinthHeight(900); // larger than the new system's minimum
    draw(p);
    ASSERT_TRUE(p.addSplitterAtPoint({200, 500}));
    p.doors->doors[0].inserts.at(1).material = &oak;
    ASSERT_TRUE(p.setSplitterProfile(&splitterB));

    EXPECT_FALSE(p.setSystem(nullptr));
    EXPECT_FALSE(p.setSystem(first));
    second->resetCounters();
    ASSERT_TRUE(p.setSystem(second));
    EXPECT_EQ(p.system, second);
    EXPECT_EQ(p.plinthHeight, 650) << "always the new system's minimum";
    EXPECT_EQ(p.doorCount, 4);
    EXPECT_EQ(p.doors->doorCount, 4);
    EXPECT_EQ(p.handleProfile, &handleB);
    EXPECT_EQ(p.color, &black);
    EXPECT_EQ(p.splitterProfile, &splitterB) << "still offered: kept";
    for (const Door& d : p.doors->doors) {
        EXPECT_TRUE(d.splitters.empty());
        ASSERT_EQ(d.inserts.size(), 1u);
        EXPECT_EQ(d.inserts.begin()->second.material, nullptr);
    }
    EXPECT_EQ(second->assignTrackCalls, 1);
    EXPECT_EQ(second->setHeightCalls, 2); // the scratch door set, then the project's
    EXPECT_EQ(second->keepArguments, (std::vector<bool>{false, false}));

    // Back: splitter profile B is still offered by the first system, the handle is retaken.
    ASSERT_TRUE(p.setSystem(first));
    EXPECT_EQ(p.plinthHeight, 0);
    EXPECT_EQ(p.doorCount, 4);
    EXPECT_EQ(p.handleProfile, &handleA);
    EXPECT_EQ(p.color, &silver) << "black is not a colour of handle A: its first colour";
}

TEST_F(ProjectRules, SplitterProfileRecheckAndMissingProfiles) {
    Project p(*catalog);
    EXPECT_FALSE(p.setSplitterProfile(&splitterA)) << "already the current one";
    ASSERT_EQ(p.splitterProfile, &splitterA);
    ASSERT_TRUE(p.setSystem(second));
    EXPECT_EQ(p.splitterProfile, &splitterB) << "not offered: the first of the new system";
    // A system without splitter profiles: none, and no splitter can be added.
    first->splitterProfiles.clear();
    first->handleProfiles.clear();
    ASSERT_TRUE(p.setSystem(first));
    EXPECT_EQ(p.splitterProfile, nullptr);
    EXPECT_EQ(p.handleProfile, nullptr);
    EXPECT_EQ(p.color, nullptr);
    draw(p);
    first->resetCounters();
    EXPECT_FALSE(p.addSplitterAtPoint({300, 500}));
    EXPECT_EQ(first->geometryCalls, 0);
    EXPECT_TRUE(p.doors->doors[0].splitters.empty());
}

TEST_F(ProjectRules, SystemOptionsChangeRaisesButNeverLowersThePlinth) {
    Project p(*catalog);
    ASSERT_TRUE(p.setSystem(second));
    p.setPlinthHeight(900);
    ASSERT_TRUE(p.setDoorCount(4));
    second->setMaxDoors(2);
    p.systemOptionsChanged();
    EXPECT_EQ(p.plinthHeight, 900);
    EXPECT_EQ(p.doorCount, 2);
    EXPECT_EQ(p.doors->doorCount, 2);
    p.setPlinthHeight(100);
    p.systemOptionsChanged();
    EXPECT_EQ(p.plinthHeight, 650);
}

TEST_F(ProjectRules, EdgeOptionOnlyWhereOffered) {
    Project p(*catalog);
    first->resetCounters();
    EXPECT_FALSE(p.toggleEdgeOption());
    EXPECT_EQ(first->edgeOption, 0);
    EXPECT_EQ(first->geometryCalls, 0);
    ASSERT_TRUE(p.setSystem(second));
    second->resetCounters();
    ASSERT_TRUE(p.toggleEdgeOption());
    EXPECT_EQ(second->edgeOption, 1);
    EXPECT_EQ(second->keepArguments, std::vector<bool>{true});
    ASSERT_TRUE(p.toggleEdgeOption());
    EXPECT_EQ(second->edgeOption, 0);
}

TEST_F(ProjectRules, NumberingAndElementList) {
    Project p(*catalog);
    draw(p);
    // Door 1: two splitters (one vertical, one horizontal); door 3: one splitter without profile.
    ASSERT_TRUE(p.addSplitterAtPoint({500, 500}));
    p.splitterVertical = false;
    draw(p);
    ASSERT_TRUE(p.addSplitterAtPoint({200, 1000}));
    p.doors->doors[2].splitters.clear();
    draw(p);
    ASSERT_TRUE(p.addSplitterAtPoint({2500, 1000}));
    p.doors->doors[2].splitters.begin()->second.profile = nullptr;
    p.doors->doors[0].inserts.at(3).material = &oak;
    p.doors->doors[2].inserts.at(1).material = &oak;
    p.recalculate(true);

    const DoorSet& ds = *p.doors;
    // Edges left, (top has no profile), right, bottom; then the splitters with a profile.
    EXPECT_EQ(ds.doors[0].edges[EdgeLeft].number, 1);
    EXPECT_EQ(ds.doors[0].edges[EdgeTop].number, 0);
    EXPECT_EQ(ds.doors[0].edges[EdgeRight].number, 2);
    EXPECT_EQ(ds.doors[0].edges[EdgeBottom].number, 3);
    EXPECT_EQ(ds.doors[0].splitters.at(1).number, 4);
    EXPECT_EQ(ds.doors[0].splitters.at(2).number, 5);
    EXPECT_EQ(ds.doors[1].edges[EdgeLeft].number, 6);
    EXPECT_EQ(ds.doors[2].edges[EdgeLeft].number, 9);
    EXPECT_EQ(ds.doors[2].edges[EdgeBottom].number, 11);
    EXPECT_EQ(ds.doors[2].splitters.begin()->second.number, 0);
    EXPECT_EQ(ds.nextProfileNumber, 12);
    // Inserts run on across the doors.
    EXPECT_EQ(ds.doors[0].inserts.at(1).number, 1);
    EXPECT_EQ(ds.doors[0].inserts.at(3).number, 3);
    EXPECT_EQ(ds.doors[1].inserts.at(1).number, 4);
    EXPECT_EQ(ds.doors[2].inserts.at(1).number, 5);
    EXPECT_EQ(ds.doors[2].inserts.at(2).number, 6);

    // Per door: its profiles, then its fillings; no accessory lines.
    std::vector<std::string> rows;
    for (const ElementRow& r : p.result.elements) {
        rows.push_back(r.door + " " + r.kind + " " + r.code + " " + r.mark);
    }
    EXPECT_EQ(rows, (std::vector<std::string>{
                        "1 Профиль EDGE 3", "1 Профиль SPL 4", "1 Профиль SPL 5", "1 Вставка OAK 3",
                        "2 Профиль EDGE 8", "3 Профиль EDGE 11", "3 Вставка OAK 5"}));
}

TEST_F(ProjectRules, SketchEditsRecalculateKeepingDoorWidths) {
    Project p(*catalog);
    draw(p);
    first->resetCounters();
    EXPECT_FALSE(p.deleteSplitterAtPoint({500, 500}));
    EXPECT_FALSE(p.finishDrag({500, 500}));
    EXPECT_FALSE(p.removeMaterialOfHoveredInsert());
    EXPECT_FALSE(p.setInsertSize(3000, InsertSide::Before));
    EXPECT_EQ(first->geometryCalls, 0) << "refused edits do not recalculate";

    ASSERT_TRUE(p.addSplitterAtPoint({500, 500}));
    draw(p);
    ASSERT_TRUE(p.doors->chooseMaterialTargetAtPoint({200, 500}));
    EXPECT_TRUE(p.assignMaterial(&oak));
    EXPECT_EQ(p.doors->doors[0].inserts.at(1).material, &oak);
    ASSERT_TRUE(p.setInsertSize(4000, InsertSide::Before));
    EXPECT_EQ(p.doors->doors[0].splitters.at(1).position, 4000);
    EXPECT_EQ(first->keepArguments, (std::vector<bool>{true, true, true}));

    draw(p);
    p.doors->clearPressedElements();
    ASSERT_NE(p.doors->doors[0].hitInsert({200, 500}), nullptr);
    EXPECT_TRUE(p.removeMaterialOfHoveredInsert());
    EXPECT_EQ(p.doors->doors[0].inserts.at(1).material, nullptr);
    ASSERT_TRUE(p.deleteSplitterAtPoint({400, 500}));
    EXPECT_TRUE(p.doors->doors[0].splitters.empty());
}

TEST_F(ProjectRules, PasteAndAlignRecalculateWithStandardSizes) {
    Project p(*catalog);
    draw(p);
    ASSERT_TRUE(p.addSplitterAtPoint({300, 500}));
    p.copyDoor(0);
    first->resetCounters();
    EXPECT_EQ(p.pasteDoor(5), PasteNoSource);
    EXPECT_EQ(first->geometryCalls, 0);
    p.copyDoor(0);
    EXPECT_EQ(p.pasteDoor(2), PasteDone);
    EXPECT_EQ(first->keepArguments, std::vector<bool>{false});
    EXPECT_EQ(p.doors->doors[2].splitters.at(1).position, 3000);
    p.alignSplitters(2, true);
    EXPECT_EQ(p.doors->doors[2].splitters.at(1).position, 5000);
    EXPECT_EQ(first->keepArguments, (std::vector<bool>{false, false}));
}

TEST_F(ProjectRules, ResetDoorsAndTotals) {
    Project p(*catalog);
    draw(p);
    ASSERT_TRUE(p.addSplitterAtPoint({300, 500}));
    p.resetDoors();
    ASSERT_NE(p.doors.get(), nullptr);
    EXPECT_TRUE(p.doors->doors[0].splitters.empty());
    EXPECT_EQ(p.doors->doorCount, 3);
    EXPECT_EQ(p.doors->selectedSplitter, nullptr);

    EXPECT_FALSE(p.setDiscountPercent(-0.5));
    EXPECT_FALSE(p.setDiscountPercent(100.5));
    ASSERT_TRUE(p.setDiscountPercent(10.0));
    EXPECT_EQ(p.result.discountPercent, 10.0);
    EXPECT_EQ(p.discountAmount(), 1235);
    p.order.assemblyCost = 1500;
    p.order.deliveryCost = -3;
    EXPECT_EQ(p.grandTotal(), 12345 - 1235 + 150000);
    EXPECT_EQ(p.grandTotalText(), "1611,10 руб.");
}

// The real catalog with the real systems, from an empty data folder.
TEST(ProjectDefault, DefaultProjectWithTheRealCatalog) {
    TempFolder folder;
    Catalog catalog(folder.path(), makeAllSystems);
    ASSERT_FALSE(catalog.systems().empty());
    Project p(catalog);
    EXPECT_EQ(p.system, catalog.systems().front());
    EXPECT_EQ(p.system->code, "Ловен");
    ASSERT_FALSE(p.system->handleProfiles.empty());
    EXPECT_EQ(p.handleProfile, p.system->handleProfiles.front());
    ASSERT_NE(p.handleProfile, nullptr);
    if (!p.handleProfile->colorChoices.empty()) {
        EXPECT_EQ(p.color, p.handleProfile->colorChoices.front().color);
    }
    int32_t sum = 0;
    for (int i = 0; i < p.doorCount; ++i) {
        EXPECT_GT(p.doors->doors[i].width, 0);
        EXPECT_GT(p.doors->doors[i].height, 0);
        EXPECT_EQ(p.doors->doors[i].layoutFault(), "");
        sum += p.doors->doors[i].width;
    }
    EXPECT_EQ(sum, p.doors->doorsNominalWidth);
    EXPECT_FALSE(p.result.articles.empty());
    EXPECT_FALSE(p.result.elements.empty());
    for (const ElementRow& r : p.result.elements) {
        EXPECT_TRUE(r.door == "1" || r.door == "2" || r.door == "3");
    }
    // Without prices nothing is priced: the totals show the error state.
    EXPECT_EQ(p.priceTotal(), 0);
    EXPECT_EQ(p.grandTotalText(), "ОШИБКА");
}

TEST(ProjectDefault, OpeningWidthMovesSplittersInProportion) {
    TempFolder folder;
    Catalog catalog(folder.path(), makeAllSystems);
    Project p(catalog);
    RecordingCatalog::draw(p);
    Door& d = p.doors->doors[1];
    const ScreenPoint inDoor{d.rect.left + d.rect.width() / 2, d.rect.top + 100};
    ASSERT_TRUE(p.addSplitterAtPoint(inDoor));
    const Splitter& s = d.splitters.at(1);
    const int32_t before = s.position;
    const int32_t widthBefore = d.width;
    ASSERT_TRUE(p.setOpeningWidth(p.openingWidth / 2));
    EXPECT_NEAR(s.position, static_cast<double>(before) * d.width / widthBefore, 1.0);
    EXPECT_EQ(d.layoutFault(), "");
    EXPECT_GT(s.cutLength, 0) << "the calculation sized the new splitter";
}

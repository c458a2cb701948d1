// The project with the real catalog and the nine real systems (data folder left empty).
#include "support/LayoutHelpers.h"
#include "support/TempFolder.h"

#include "calc/DSSystem.h"
#include "calc/SystemFactory.h"
#include "calc/systems/DSSystemMeloza.h"
#include "catalog/Catalog.h"
#include "catalog/Material.h"
#include "model/Project.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

struct RealSystems : ::testing::Test {
    TempFolder folder;
    std::unique_ptr<Catalog> catalog;

    void SetUp() override {
        catalog = std::make_unique<Catalog>(folder.path(), makeAllSystems);
        ASSERT_EQ(catalog->systems().size(), 9u);
    }

    DSSystem* system(const char* name) {
        DSSystem* s = catalog->systemByName(name);
        EXPECT_NE(s, nullptr) << name;
        return s;
    }

    static void draw(Project& p) { layout::placeDoorsOnScreen(*p.doors); }

    static void expectDoorsWhole(const Project& p) {
        for (int i = 0; i < kMaxDoors; ++i) {
            EXPECT_EQ(p.doors->doors[i].layoutFault(), "") << "door " << i + 1;
        }
    }
};

} // namespace

TEST_F(RealSystems, DoorCountFiveThreeFiveKeepsTheHiddenDoors) {
    Project p(*catalog);
    ASSERT_TRUE(p.setDoorCount(5));
    draw(p);
    Door& d5 = p.doors->doors[4];
    const ScreenPoint inDoor5{d5.rect.left + d5.rect.width() / 3, d5.rect.top + 200};
    ASSERT_TRUE(p.addSplitterAtPoint(inDoor5));
    Material glass;
    glass.code = "GLASS";
    d5.inserts.at(2).material = &glass;
    const int32_t standardWidth = d5.width;

    ASSERT_TRUE(p.setDoorCount(3));
    ASSERT_TRUE(p.setDoorCount(5));
    EXPECT_EQ(d5.width, standardWidth);
    ASSERT_EQ(d5.splitters.size(), 1u);
    EXPECT_EQ(d5.inserts.at(2).material, &glass);
    expectDoorsWhole(p);
    bool listed = false;
    for (const ElementRow& r : p.result.elements) {
        listed = listed || (r.door == "5" && r.code == "GLASS");
    }
    EXPECT_TRUE(listed) << "the hidden door's filling is back in the element list";
}

TEST_F(RealSystems, SystemChangeResetsPlinthEvenDownwardsAndClampsTheCount) {
    Project p(*catalog);
    ASSERT_TRUE(p.setDoorCount(6));
    draw(p);
    ASSERT_TRUE(p.addSplitterAtPoint({200, 500}));

    ASSERT_TRUE(p.setSystem(system("Фольм")));
    EXPECT_EQ(p.plinthHeight, 650);
    EXPECT_EQ(p.doorCount, 6);
    EXPECT_TRUE(p.doors->doors[0].splitters.empty());
    p.setPlinthHeight(900);
    ASSERT_TRUE(p.setSystem(system("Тавро")));
    EXPECT_EQ(p.plinthHeight, 540) << "lowered to the new minimum, not kept";
    ASSERT_TRUE(p.setSystem(system("Мелоза")));
    EXPECT_EQ(p.plinthHeight, 0);
    EXPECT_LE(p.doorCount, p.system->maxDoors());
    EXPECT_EQ(p.doors->doorCount, p.doorCount);
    EXPECT_EQ(p.handleProfile == nullptr, p.color == nullptr);
    expectDoorsWhole(p);
}

TEST_F(RealSystems, EverySystemCalculatesTheDefaultProject) {
    Project p(*catalog);
    for (DSSystem* s : catalog->systems()) {
        SCOPED_TRACE(s->code);
        p.setSystem(s);
        EXPECT_EQ(p.system, s);
        if (s->handleProfiles.empty()) {
            EXPECT_EQ(p.handleProfile, nullptr);
            EXPECT_EQ(p.color, nullptr);
        }
        if (!s->splitterProfiles.empty()) {
            EXPECT_EQ(p.splitterProfile, s->splitterProfiles.front());
        } else {
            EXPECT_EQ(p.splitterProfile, nullptr);
        }
        int32_t sum = 0;
        for (int i = 0; i < p.doorCount; ++i) {
            EXPECT_GT(p.doors->doors[i].width, 0);
            sum += p.doors->doors[i].width;
        }
        EXPECT_EQ(sum, p.doors->doorsNominalWidth);
        EXPECT_FALSE(p.result.articles.empty());
        draw(p);
        if (p.splitterProfile) {
            EXPECT_TRUE(p.addSplitterAtPoint({300, 500}));
        }
        expectDoorsWhole(p);
    }
}

TEST_F(RealSystems, MountingModeOnlyForMeloza) {
    Project p(*catalog);
    EXPECT_FALSE(p.toggleMountingMode());
    ASSERT_TRUE(p.setSystem(system("Мелоза")));
    auto* meloza = dynamic_cast<DSSystemMeloza*>(p.system);
    ASSERT_NE(meloza, nullptr);
    ASSERT_EQ(meloza->mountingMode, 1);
    EXPECT_EQ(p.doorCount, 4) << "three doors become four in the usual mounting";
    EXPECT_FALSE(p.setDoorCount(5));
    ASSERT_TRUE(p.toggleMountingMode());
    EXPECT_EQ(meloza->mountingMode, 0);
    EXPECT_EQ(p.doorCount, 2) << "inside the opening at most two doors";
    for (int i = 0; i < p.doorCount; ++i) {
        EXPECT_EQ(p.doors->doors[i].track, 0);
    }
    ASSERT_TRUE(p.toggleMountingMode());
    EXPECT_EQ(meloza->mountingMode, 1);
    EXPECT_EQ(p.doorCount, 2);
}

TEST_F(RealSystems, HandleChangeKeepsWidthProportionsWithLoven) {
    Project p(*catalog);
    ASSERT_GE(p.system->handleProfiles.size(), 2u);
    draw(p);
    // Drag the boundary between doors 1 and 2 by 200 mm to the right.
    Door& d1 = p.doors->doors[0];
    d1.edges[EdgeRight].rect = {d1.rect.right - 4, d1.rect.top, d1.rect.right, d1.rect.bottom};
    ASSERT_NE(d1.hitEdge({d1.rect.right - 2, 100}), nullptr);
    ASSERT_TRUE(p.finishDrag({p.doors->doors[1].rect.left + 200, 100}));
    const double nominal = p.doors->doorsNominalWidth;
    const double share0 = p.doors->doors[0].width / nominal;
    const double share1 = p.doors->doors[1].width / nominal;
    ASSERT_GT(share0, share1);

    HandleProfile* other = p.system->handleProfiles[1];
    ASSERT_TRUE(p.setHandleProfile(other));
    const double after = p.doors->doorsNominalWidth;
    EXPECT_NEAR(p.doors->doors[0].width / after, share0, 1.0 / after);
    EXPECT_NEAR(p.doors->doors[1].width / after, share1, 1.0 / after);
    EXPECT_EQ(p.doors->doors[0].width + p.doors->doors[1].width + p.doors->doors[2].width,
              p.doors->doorsNominalWidth);
    expectDoorsWhole(p);
}

// Whatever a user does through the project's operations, the program can open what it saved:
// random operations, then save, read back into another project and save again, byte for byte.
#include "support/OutputTestSupport.h"

#include "calc/DSSystem.h"
#include "catalog/HandleProfile.h"
#include "model/SketchFile.h"
#include "model/SketchLayout.h"

#include <gtest/gtest.h>

#include <random>

using namespace outtest;

namespace {

class RandomUser {
public:
    RandomUser(World& w, unsigned seed) : w_(w), p_(*w.project), rng_(seed) {}

    void act() {
        layoutSketch(*p_.doors, screenFrame(*p_.doors, {0, 0, 1200, 700}, 96));
        p_.doors->changed = false;
        switch (pick(22)) {
        case 0:
            p_.setOpeningWidth(size(1000000));
            break;
        case 1:
            p_.setHeight(size(100000));
            break;
        case 2:
            p_.setDoorCount(pick(12) - 1);
            break;
        case 3:
            p_.setChipboardThickness(size(1000));
            break;
        case 4:
            p_.setPlinthHeight(size(100000));
            break;
        case 5:
            p_.setSystem(any(w_.catalog->systems()));
            break;
        case 6:
            p_.setHandleProfile(any(p_.system->handleProfiles));
            break;
        case 7:
            if (p_.handleProfile && !p_.handleProfile->colorChoices.empty())
                p_.setColor(any(p_.handleProfile->colorChoices).color);
            break;
        case 8:
            p_.setSplitterProfile(any(p_.system->splitterProfiles));
            break;
        case 9:
            p_.toggleEdgeOption();
            break;
        case 10:
            p_.toggleMountingMode();
            break;
        case 11:
            p_.resetDoors();
            break;
        case 12:
        case 13:
        case 14:
            p_.splitterVertical = pick(2) == 0;
            p_.addSplitterAtPoint(point());
            break;
        case 15:
            p_.deleteSplitterAtPoint(point());
            break;
        case 16:
            if (hitTestSketch(*p_.doors, point()).door >= 0)
                p_.finishDrag(point());
            break;
        case 17:
            p_.doors->chooseMaterialTargetAtPoint(point());
            p_.assignMaterial(material());
            break;
        case 18:
            p_.doors->chooseMaterialTargetAtPoint(point());
            p_.assignMaterialAcrossDoors(material(), pick(12) - 1, pick(12) - 1);
            break;
        case 19:
            if (hitTestSketch(*p_.doors, point()).door >= 0)
                p_.setInsertSize(size(30000),
                                 pick(2) == 0 ? InsertSide::Before : InsertSide::After);
            break;
        case 20:
            p_.copyDoor(pick(10));
            p_.pasteDoor(pick(10));
            break;
        case 21:
            p_.alignSplitters(pick(10), pick(2) == 0);
            break;
        }
    }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    // Mostly plausible sizes, now and then the edges of the ranges and beyond.
    int32_t size(int32_t max) {
        switch (pick(4)) {
        case 0:
            return std::uniform_int_distribution<int32_t>(-10, 2000)(rng_);
        case 1:
            return std::uniform_int_distribution<int32_t>(max - 10, max + 10)(rng_);
        default:
            return std::uniform_int_distribution<int32_t>(0, max)(rng_);
        }
    }
    template <typename T>
    auto any(const std::vector<T>& v) -> T {
        return v.empty() ? T{} : v[static_cast<std::size_t>(pick(static_cast<int>(v.size())))];
    }
    ScreenPoint point() { return {pick(1200), pick(700)}; }
    const Material* material() {
        static const char* keys[][2] = {
            {"Зеркало", "серебро.jpg"}, {"Зеркало", "фото\\a.jpg"}, {"ЛДСП", "дуб.jpg"}};
        const auto* k = keys[pick(3)];
        return pick(5) == 0 ? nullptr : w_.material(k[0], k[1]);
    }

    World& w_;
    Project& p_;
    std::mt19937 rng_;
};

} // namespace

TEST(ProjectRoundTrip, RandomEditsAlwaysSaveReadAndSaveAgainUnchanged) {
    for (unsigned seed = 1; seed <= 60; ++seed) {
        SCOPED_TRACE(seed);
        World w;
        RandomUser user(w, seed);
        for (int step = 0; step < 60; ++step) {
            user.act();
            std::optional<std::string> saved = SketchFile::toBytes(*w.project);
            ASSERT_TRUE(saved.has_value()) << "step " << step;
            Project other(*w.catalog);
            ASSERT_EQ(SketchFile::fromBytes(other, *saved), SketchFile::ReadOk) << "step " << step;
            ASSERT_TRUE(SketchFile::toBytes(other) == saved)
                << "saved again differently, step " << step;
        }
    }
}

TEST(ProjectRoundTrip, ACabinetLowerThanItsChipboardAndPlinthIsRefused) {
    World w;
    Project& p = *w.project;
    DSSystem* folm = w.catalog->systemByName("Фольм");
    ASSERT_NE(folm, nullptr);
    ASSERT_TRUE(p.setSystem(folm));
    ASSERT_TRUE(p.setChipboardThickness(1000));
    ASSERT_TRUE(p.setPlinthHeight(1000));
    // 100 mm of cabinet, 100 mm of chipboard and 100 mm of plinth leave no door.
    EXPECT_FALSE(p.setHeight(1000));
    EXPECT_EQ(p.height, 20000);
    ASSERT_TRUE(p.setHeight(2000));
    EXPECT_FALSE(p.setPlinthHeight(2000));
    EXPECT_FALSE(p.setChipboardThickness(-1));
    EXPECT_EQ(p.plinthHeight, 1000);
    EXPECT_GE(p.doors->height, 0);
    std::optional<std::string> saved = SketchFile::toBytes(p);
    ASSERT_TRUE(saved.has_value());
    Project other(*w.catalog);
    EXPECT_EQ(SketchFile::fromBytes(other, *saved), SketchFile::ReadOk);
}

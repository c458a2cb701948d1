// The factory builds the nine systems in catalog order with their fixed flags.
#include "support/CalcTestSupport.h"
#include "support/TempFolder.h"

#include "calc/SystemFactory.h"
#include "catalog/Catalog.h"

#include <gtest/gtest.h>

namespace {

struct Expected {
    const char* name;
    int32_t pictureId;
    SystemKind systemKind;
    uint8_t cabinetMode;
    uint8_t hasEdgeOption;
    uint8_t tracksSwapped;
};

constexpr Expected kSystems[] = {
    {"Ловен", 118, SystemLoven, 0, 0, 0},   {"Стенвик", 115, SystemStenvik, 0, 0, 0},
    {"Дарсо", 315, SystemDarso, 0, 0, 0},   {"Кверт-Н", 119, SystemKvert, 0, 0, 0},
    {"Тавро", 116, SystemTavro, 1, 1, 0},   {"Мелоза", 300, SystemMeloza, 0, 0, 1},
    {"Гартис", 120, SystemGartis, 0, 0, 0}, {"Фольм", 319, SystemFolm, 1, 0, 0},
    {"Норсия", 330, SystemNorsia, 1, 0, 0},
};

} // namespace

TEST(SystemFactoryTest, NineSystemsInCatalogOrder) {
    TempFolder folder;
    Catalog catalog(folder.path(), makeAllSystems);
    ASSERT_EQ(catalog.systems().size(), 9u);
    for (int i = 0; i < 9; ++i) {
        const DSSystem& s = *catalog.systems()[i];
        const Expected& e = kSystems[i];
        SCOPED_TRACE(e.name);
        EXPECT_EQ(s.code, e.name);
        EXPECT_EQ(s.index, i);
        EXPECT_EQ(s.pictureId, e.pictureId);
        EXPECT_TRUE(s.name.empty());
        EXPECT_EQ(s.systemKind, e.systemKind);
        EXPECT_EQ(s.cabinetMode, e.cabinetMode);
        EXPECT_EQ(s.hasEdgeOption, e.hasEdgeOption);
        EXPECT_EQ(s.tracksSwapped, e.tracksSwapped);
        EXPECT_EQ(s.edgeOption, 0);
        EXPECT_EQ(s.maxDoorCount, 10);
        // Every system but Гартис offers handle profiles; the lists come from the catalog.
        EXPECT_EQ(s.handleProfiles.empty(), e.systemKind == SystemGartis);
        EXPECT_FALSE(s.systemArticles.empty());
    }
}

TEST(SystemFactoryTest, NamesCompareExactly) {
    EXPECT_EQ(createSystem(0, "ловен", 118), nullptr);
    EXPECT_EQ(createSystem(0, "Loven", 118), nullptr);
    EXPECT_EQ(createSystem(0, "", 0), nullptr);
    std::unique_ptr<DSSystem> s = createSystem(3, "Ловен", 7);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->index, 3);
    EXPECT_EQ(s->pictureId, 7);
}

TEST(CatalogLookups, SystemsAreFoundByTheirExactName) {
    TempFolder folder;
    Catalog catalog(folder.path(), makeAllSystems);
    ASSERT_FALSE(catalog.systems().empty());
    DSSystem* loven = catalog.systemByName("Ловен");
    ASSERT_NE(loven, nullptr);
    EXPECT_EQ(loven->index, 0);
    EXPECT_EQ(catalog.systemByName("ловен"), nullptr);
    EXPECT_EQ(catalog.systemByName("Ловен "), nullptr);
    EXPECT_EQ(catalog.systemByName("Норсия"), catalog.systems()[8]);
}

TEST(CatalogLookups, SystemsReceiveTheirLists) {
    TempFolder folder;
    Catalog catalog(folder.path(), makeAllSystems);
    EXPECT_EQ(catalog.systems().size(), 9u);
    for (DSSystem* system : catalog.systems()) {
        const SystemLists& lists = catalog.systemLists(system->index);
        EXPECT_EQ(system->handleProfiles, lists.handleProfiles) << system->code;
        EXPECT_EQ(system->splitterProfiles, lists.splitterProfiles) << system->code;
        EXPECT_EQ(system->systemArticles, lists.systemArticles) << system->code;
        EXPECT_EQ(system->selectedRollerKit, nullptr) << system->code;
    }
}

TEST(CatalogInstance, TheProgramCatalogIsBuiltOnceBesideTheExecutable) {
    Catalog& first = programCatalog();
    EXPECT_EQ(&first, &programCatalog());
    EXPECT_EQ(first.baseFolder(), Catalog::executableFolder());
    EXPECT_EQ(first.systems().size(), 9u);
}

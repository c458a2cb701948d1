// The registry and its built-in product range: lookups, the price rule, the tables and the lists
// every system offers.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "catalog/Catalog.h"
#include "catalog/CatalogTables.h"
#include "support/TempFolder.h"

namespace {

std::unique_ptr<Catalog> emptyCatalog(const TempFolder& folder) {
    return std::make_unique<Catalog>(folder.path());
}

std::vector<std::string> codesOf(const std::vector<Article*>& list) {
    std::vector<std::string> codes;
    for (const Article* a : list)
        codes.push_back(a->code);
    return codes;
}

template <typename T>
std::vector<std::string> codesOfAny(const std::vector<T*>& list) {
    std::vector<std::string> codes;
    for (const T* a : list)
        codes.push_back(a->code);
    return codes;
}

} // namespace

TEST(CatalogLookups, CodesIgnoreCaseButSystemNamesDoNot) {
    TempFolder folder;
    Catalog catalog(folder.path());
    ASSERT_NE(catalog.handleByCode("kl01"), nullptr);
    EXPECT_EQ(catalog.handleByCode("kl01")->code, "KL01");
    EXPECT_EQ(catalog.handleByCode("Kl300n"), catalog.handleTable()[3]);
    // Cyrillic names are lower-cased too.
    ASSERT_NE(catalog.colorByName("ХРОМ МАТОВЫЙ (АНОД)"), nullptr);
    EXPECT_EQ(catalog.colorByName("ХРОМ МАТОВЫЙ (АНОД)")->index, 36);
    EXPECT_EQ(catalog.splitterByCode("tl08"), catalog.splitterTable()[0]);
    EXPECT_EQ(catalog.articleByCode("kg12/kg13"), catalog.articleList()[48]);
    EXPECT_EQ(catalog.articleByCode("me-shl-1")->index, 61);
    // A code is not found in another table, and near misses find nothing.
    EXPECT_EQ(catalog.handleByCode("TL08"), nullptr);
    EXPECT_EQ(catalog.articleByCode("KL01"), nullptr);
    EXPECT_EQ(catalog.articleByCode("KG12"), nullptr);
    EXPECT_EQ(catalog.handleByCode(" KL01"), nullptr);
    EXPECT_EQ(catalog.colorByName(""), nullptr);
    // Without a factory there are no system objects to find.
    EXPECT_TRUE(catalog.systems().empty());
    EXPECT_EQ(catalog.systemByName("Ловен"), nullptr);
}

TEST(ArticlePrice, ColourCategoryPicksItsPriceOrFallsBackToStandard) {
    TempFolder folder;
    // Хром матовый: "анод" in Ловен (0), "премиум" in Тавро (4), standard elsewhere.
    folder.writeCp1251("profiles/colors_price.csv",
                       "цвет;Ловен;Тавро\nХром матовый;анод;премиум\n");
    Catalog catalog(folder.path());
    const ProfileColor* chrome = catalog.colorByName("Хром матовый");
    ASSERT_NE(chrome, nullptr);
    ASSERT_EQ(chrome->categoryRow, &catalog.colorCategories()[0]);

    Article article(0, "X", 0, "", KindProfile);
    article.prices = {1000, 0, 1500, 0, 0, 0, 0, 0};
    EXPECT_EQ(article.price(chrome, 0), 1500);
    EXPECT_EQ(article.price(chrome, 4), 1000); // "премиум" has no price
    EXPECT_EQ(article.price(chrome, 1), 1000); // category 1
    EXPECT_EQ(article.price(nullptr, 0), 1000);
    // A system index outside the catalog cannot pick a category.
    EXPECT_EQ(article.price(chrome, -1), 1000);
    EXPECT_EQ(article.price(chrome, 9), 1000);

    article.prices = {1000, 1200, 1500, 0, 0, 0, 0, 8800};
    EXPECT_EQ(article.price(chrome, 4), 1200);
    EXPECT_EQ(article.price(nullptr, 4), 1000);
    // A colour without categories (not from a catalog) pays the standard price.
    ProfileColor loose(0, "loose", 0, 0);
    EXPECT_EQ(article.price(&loose, 0), 1000);
}

TEST(ArticleStock, StockChoiceSelectsTheLengthAndSettingSizesResetsIt) {
    Article article(0, "X", 0, "", KindProfile);
    article.setSizes(10, 20, 30, 55000, 48000, 45000);
    EXPECT_EQ(article.stockLength(), 55000);
    article.stockChoice = 2;
    EXPECT_EQ(article.stockLength(), 48000);
    article.stockChoice = 3;
    EXPECT_EQ(article.stockLength(), 45000);
    article.stockChoice = 7;
    EXPECT_EQ(article.stockLength(), 55000);
    article.stockChoice = 3;
    article.setSizes(1, 2, 3, 100);
    EXPECT_EQ(article.stockChoice, 1);
    EXPECT_EQ(article.stockLength3, 0);
}

TEST(CatalogTables, EmptyDataFolderKeepsEveryDefault) {
    TempFolder folder;
    auto catalog = emptyCatalog(folder);
    EXPECT_EQ(catalog->handleTable().size(), 23u);
    EXPECT_EQ(catalog->colorTable().size(), 61u);
    EXPECT_EQ(catalog->splitterTable().size(), 9u);
    EXPECT_EQ(catalog->articleList().size(), 80u);
    EXPECT_TRUE(catalog->materialGroups().empty());
    EXPECT_TRUE(catalog->materialGroupNames().empty());
    for (const auto& row : catalog->colorCategories())
        for (int32_t category : row)
            EXPECT_EQ(category, 1);
    const auto noPrices = [](const Article* a) {
        return std::all_of(a->prices.begin(), a->prices.end(), [](int32_t p) { return p == 0; });
    };
    for (const Article* a : catalog->handleTable())
        EXPECT_TRUE(noPrices(a)) << a->code;
    for (const Article* a : catalog->splitterTable())
        EXPECT_TRUE(noPrices(a)) << a->code;
    for (const Article* a : catalog->articleList())
        EXPECT_TRUE(noPrices(a)) << a->code;
    // The built-in default kits.
    EXPECT_EQ(codesOf(catalog->systemLists(1).systemArticles).back(), "W1406");
    EXPECT_EQ(catalog->systemLists(6).systemArticles.back()->code, "KG05");
}

TEST(CatalogTables, MissingBaseFolderIsLikeAnEmptyOne) {
    Catalog catalog("/nonexistent/tavrolab/folder");
    EXPECT_EQ(catalog.articleList().size(), 80u);
    EXPECT_TRUE(catalog.materialGroups().empty());
}

TEST(CatalogTables, EveryRecordSitsAtItsIndex) {
    TempFolder folder;
    Catalog catalog(folder.path());
    for (size_t i = 0; i < catalog.handleTable().size(); ++i) {
        EXPECT_EQ(catalog.handleTable()[i]->index, static_cast<int32_t>(i));
        EXPECT_EQ(catalog.handleTable()[i]->kind, KindHandle);
        EXPECT_EQ(catalog.handleTable()[i]->stockChoice, 1);
    }
    for (size_t i = 0; i < catalog.colorTable().size(); ++i) {
        EXPECT_EQ(catalog.colorTable()[i]->index, static_cast<int32_t>(i));
        EXPECT_TRUE(catalog.colorTable()[i]->name.empty());
        EXPECT_EQ(catalog.colorTable()[i]->categoryRow, &catalog.colorCategories()[i]);
    }
    for (size_t i = 0; i < catalog.splitterTable().size(); ++i) {
        EXPECT_EQ(catalog.splitterTable()[i]->index, static_cast<int32_t>(i));
        EXPECT_EQ(catalog.splitterTable()[i]->kind, KindSplitter);
        EXPECT_EQ(catalog.splitterTable()[i]->stockLength3, 0);
    }
    for (size_t i = 0; i < catalog.articleList().size(); ++i) {
        const Article* a = catalog.articleList()[i];
        EXPECT_EQ(a->index, static_cast<int32_t>(i));
        // Every kit is a RollerKit record, and only kits are.
        EXPECT_EQ(a->kind == KindRollerKit, dynamic_cast<const RollerKit*>(a) != nullptr)
            << a->code;
        // Only the four rail and frame parts of Гартис have pictures.
        const bool pictured =
            a->code == "KG01" || a->code == "KG02" || a->code == "KG03" || a->code == "KG04";
        EXPECT_EQ(a->pictureId != 0, pictured) << a->code;
    }
    EXPECT_EQ(catalog.articleByCode("KG03")->pictureId, 215);
    EXPECT_EQ(catalog.articleByCode("KG04")->pictureId, 216);
}

TEST(CatalogTables, HandleProfilesHoldSizesInTenthsOfAMillimetre) {
    TempFolder folder;
    Catalog catalog(folder.path());
    const HandleProfile* kl01 = catalog.handleByCode("KL01");
    EXPECT_EQ(kl01->name, "Вертикальный ассиметричный профиль");
    EXPECT_EQ(kl01->pictureId, 132);
    EXPECT_EQ(kl01->dimA, 260);
    EXPECT_EQ(kl01->dimB, 252);
    EXPECT_EQ(kl01->dimC, 171);
    EXPECT_EQ(kl01->stockLength1, 55000);
    EXPECT_EQ(kl01->stockLength2, 48000);
    EXPECT_EQ(kl01->stockLength3, 45000);
    EXPECT_EQ(kl01->rollerKind, 1);

    const HandleProfile* tl01 = catalog.handleTable()[4];
    EXPECT_EQ(tl01->code, "TL01");
    EXPECT_EQ(tl01->dimA, 145);
    EXPECT_EQ(tl01->dimC, 12);
    EXPECT_EQ(tl01->stockLength2, 0);

    const HandleProfile* ks11 = catalog.handleByCode("KS11");
    EXPECT_EQ(ks11->stockLength1, 48000); // the order of the stock bars is kept
    EXPECT_EQ(ks11->stockLength2, 55000);
    EXPECT_EQ(ks11->stockLength3, 44000);
    EXPECT_EQ(catalog.handleByCode("KQ01")->dimA, 198);
    EXPECT_EQ(catalog.handleByCode("KL220")->dimB, 269);

    // Symmetric profiles take symmetric kits.
    std::vector<std::string> symmetric;
    for (const HandleProfile* h : catalog.handleTable())
        if (h->rollerKind == 0)
            symmetric.push_back(h->code);
    EXPECT_EQ(symmetric, (std::vector<std::string>{"KL300N", "KL150", "KL120", "KL130"}));
    EXPECT_EQ(catalog.handleTable()[22]->code, "KN01");
    EXPECT_EQ(catalog.handleTable()[22]->pictureId, 325);
}

TEST(CatalogTables, ColoursKeepTheirSwatchColour) {
    TempFolder folder;
    Catalog catalog(folder.path());
    EXPECT_EQ(catalog.colorTable()[0]->code, "Хром матовый");
    EXPECT_EQ(catalog.colorTable()[0]->rgb, 0x00D2D2D2u);
    // Red is the low byte: 204, 198, 122.
    EXPECT_EQ(catalog.colorTable()[1]->rgb, 0x007AC6CCu);
    EXPECT_EQ(catalog.colorByName("Ром глянец")->rgb, 0x004377B0u);
    EXPECT_EQ(catalog.colorByName("Лиственница белая")->index, 60);
    EXPECT_EQ(catalog.colorByName("Береза структурная")->pictureId, 146);
    EXPECT_EQ(catalog.colorByName("Черный матовый (анод)")->pictureId, 166);
}

TEST(CatalogTables, ColourListsKeepOrderDuplicatesAndOnOrderMarks) {
    TempFolder folder;
    Catalog catalog(folder.path());

    const HandleProfile* tl01 = catalog.handleByCode("TL01");
    ASSERT_EQ(tl01->colorChoices.size(), 7u);
    EXPECT_EQ(tl01->colorChoices.front().color->code, "Софт тач черный");
    EXPECT_FALSE(tl01->colorChoices.front().onOrder);
    std::vector<std::string> onOrder;
    for (const ColorChoice& choice : tl01->colorChoices)
        if (choice.onOrder)
            onOrder.push_back(choice.color->code);
    EXPECT_EQ(onOrder, (std::vector<std::string>{"Хром матовый", "Шампань глянец"}));

    const HandleProfile* kl300n = catalog.handleByCode("KL300N");
    int black = 0;
    std::vector<bool> pearl;
    for (const ColorChoice& choice : kl300n->colorChoices) {
        if (choice.color->code == "Черный зерно") {
            ++black;
            EXPECT_FALSE(choice.onOrder);
        }
        if (choice.color->code == "Жемчуг зерно")
            pearl.push_back(choice.onOrder);
    }
    EXPECT_EQ(black, 2);
    EXPECT_EQ(pearl, (std::vector<bool>{false, true}));

    // Lengths of every list (regular + on order): a misspelt colour would be dropped silently.
    const std::vector<std::pair<std::string, size_t>> lengths = {
        {"KL01", 45}, {"KL001", 17}, {"KL11", 17},  {"KL100", 4},   {"KL120", 1}, {"KL130", 20},
        {"KL150", 2}, {"KL200", 59}, {"KL220", 4},  {"KL300N", 47}, {"TL01", 7},  {"TL02", 4},
        {"KS11", 25}, {"KS12", 6},   {"KS201", 21}, {"KS301", 17},  {"KI03", 5},  {"KQ01", 10},
        {"KD01", 18}, {"KD02", 18},  {"KD03", 2},   {"KF02", 1},    {"KN01", 3}};
    for (const auto& [code, length] : lengths)
        EXPECT_EQ(catalog.handleByCode(code)->colorChoices.size(), length) << code;
    for (const catalog_tables::ColorListRow& row : catalog_tables::colorListRows())
        EXPECT_EQ(catalog.handleByCode(row.handleCode)->colorChoices.size(),
                  row.regular.size() + row.onOrder.size())
            << row.handleCode;

    // On-order colours always follow the regular ones.
    for (const HandleProfile* h : catalog.handleTable()) {
        EXPECT_FALSE(h->colorChoices.empty()) << h->code;
        EXPECT_FALSE(h->colorChoices.front().onOrder) << h->code;
        EXPECT_TRUE(std::is_partitioned(h->colorChoices.begin(), h->colorChoices.end(),
                                        [](const ColorChoice& c) { return !c.onOrder; }))
            << h->code;
    }
    EXPECT_EQ(catalog.handleByCode("KL01")->colorChoices[32].color->code, "Лиственница белая");
    EXPECT_EQ(catalog.handleByCode("KL01")->colorChoices[33].color->code,
              "Венге красный структурный");
    EXPECT_TRUE(catalog.handleByCode("KL01")->colorChoices[33].onOrder);
}

TEST(CatalogTables, SplitterProfilesAndTheirExtraSizes) {
    TempFolder folder;
    Catalog catalog(folder.path());
    const SplitterProfile* tl08 = catalog.splitterTable()[0];
    EXPECT_EQ(tl08->code, "TL08");
    EXPECT_EQ(tl08->name, "Профиль разделительный ДСП+Стекло");
    EXPECT_EQ(tl08->dimA, 140);
    EXPECT_EQ(tl08->dimC, 14);
    EXPECT_EQ(tl08->stockLength1, 49000);
    EXPECT_EQ(tl08->stockLength2, 59000);
    EXPECT_EQ(tl08->dimD, 63);
    EXPECT_EQ(tl08->splitterType, 1);
    EXPECT_EQ(catalog.splitterByCode("KI05")->splitterType, 2);
    EXPECT_EQ(catalog.splitterByCode("KI05")->dimB, 206);
    EXPECT_EQ(catalog.splitterByCode("KL91")->dimE, 45);
    const SplitterProfile* kn09 = catalog.splitterTable()[8];
    EXPECT_EQ(kn09->code, "KN09");
    EXPECT_EQ(kn09->dimB, 219);
    int flagged = 0;
    for (const SplitterProfile* s : catalog.splitterTable())
        flagged += s->splitterFlag;
    EXPECT_EQ(flagged, 1);
    EXPECT_EQ(kn09->splitterFlag, 1);
}

TEST(CatalogTables, ArticlesAndRollerKits) {
    TempFolder folder;
    Catalog catalog(folder.path());
    const Article* kl07 = catalog.articleByCode("KL07");
    EXPECT_EQ(kl07->kind, KindProfile);
    EXPECT_EQ(kl07->dimA, 570);
    EXPECT_EQ(kl07->dimC, 470);
    EXPECT_EQ(kl07->stockLength1, 59000);
    EXPECT_EQ(catalog.articleByCode("KL13")->dimC, 30);
    EXPECT_EQ(catalog.articleByCode("KL13")->kind, KindByLength);
    EXPECT_EQ(catalog.articleByCode("ME-SHL")->dimC, 100);
    EXPECT_EQ(catalog.articleByCode("KI02")->kind, KindMainFrame);
    EXPECT_EQ(catalog.articleByCode("KN02")->kind, KindRearDoor);
    EXPECT_EQ(catalog.articleByCode("KN02")->dimA, 218);
    EXPECT_EQ(catalog.articleByCode("KN03")->dimC, 20);
    EXPECT_EQ(catalog.articleByCode("KG16")->stockLength1, 0);

    struct Kit {
        const char* code;
        int32_t type;
        int perSet;
        int count;
    };
    const Kit kits[] = {{"KL10/11B", 2, 0, 1}, {"KL010/011B", 1, 0, 1}, {"KL16", 0, 0, 2},
                        {"W1406", 0, 0, 1},    {"KQ04/05", 0, 0, 1},    {"KSA", 0, 1, 2},
                        {"TL12", 0, 1, 2},     {"TL12-1", 0, 1, 3},     {"KIR2", 0, 1, 2},
                        {"KIR3", 0, 1, 3},     {"KG05", 0, 0, 2},       {"ME03", 0, 0, 1},
                        {"ME10", 0, 0, 2},     {"KFR01", 0, 1, 2},      {"KNR01", 0, 1, 2}};
    int kitCount = 0;
    for (const Article* a : catalog.articleList())
        kitCount += a->kind == KindRollerKit;
    EXPECT_EQ(kitCount, static_cast<int>(std::size(kits)));
    for (const Kit& expected : kits) {
        const auto* kit = dynamic_cast<const RollerKit*>(catalog.articleByCode(expected.code));
        ASSERT_NE(kit, nullptr) << expected.code;
        EXPECT_EQ(kit->rollerType, expected.type) << expected.code;
        EXPECT_EQ(kit->perSet, expected.perSet) << expected.code;
        EXPECT_EQ(kit->count, expected.count) << expected.code;
    }
    EXPECT_EQ(catalog.articleList()[79]->code, "KNR01");
}

TEST(CatalogTables, SystemListsWithoutRollerFile) {
    TempFolder folder;
    Catalog catalog(folder.path());
    using Codes = std::vector<std::string>;

    const SystemLists& loven = catalog.systemLists(0);
    EXPECT_EQ(codesOfAny(loven.handleProfiles),
              (Codes{"KL001", "KL01", "KL11", "KL100", "KL120", "KL130", "KL200", "KL300N"}));
    EXPECT_EQ(codesOfAny(loven.splitterProfiles), (Codes{"KL09", "KL91"}));
    EXPECT_EQ(codesOf(loven.systemArticles),
              (Codes{"KL02", "KL03", "KL04", "KL05", "KL06", "KL07", "KL08", "KL13", "KL14", "KL17",
                     "KL10/11B", "KL010/011B", "KL16"}));
    ASSERT_NE(loven.pivotKit, nullptr);
    EXPECT_EQ(loven.pivotKit->code, "KL16");

    const SystemLists& tavro = catalog.systemLists(4);
    EXPECT_EQ(codesOfAny(tavro.handleProfiles), (Codes{"TL01", "TL02"}));
    EXPECT_EQ(codesOfAny(tavro.splitterProfiles), (Codes{"TL13", "TL08"}));
    const Codes tavroArticles = codesOf(tavro.systemArticles);
    ASSERT_GE(tavroArticles.size(), 2u);
    EXPECT_EQ(Codes(tavroArticles.end() - 2, tavroArticles.end()), (Codes{"TL12", "TL12-1"}));
    EXPECT_EQ(tavro.selectedRollerKit, nullptr);

    const SystemLists& gartis = catalog.systemLists(6);
    EXPECT_TRUE(gartis.handleProfiles.empty());
    EXPECT_TRUE(gartis.splitterProfiles.empty());
    EXPECT_EQ(gartis.systemArticles.size(), 15u);
    ASSERT_NE(gartis.railVariant, nullptr);
    ASSERT_NE(gartis.frameVariant, nullptr);
    EXPECT_EQ(gartis.railVariant->code, "KG01");
    EXPECT_EQ(gartis.frameVariant->code, "KG04");

    EXPECT_EQ(codesOf(catalog.systemLists(3).systemArticles).back(), "KSA");
    EXPECT_EQ(codesOf(catalog.systemLists(5).systemArticles).size(), 12u);
    EXPECT_EQ(codesOf(catalog.systemLists(8).systemArticles),
              (Codes{"KN02", "KN03", "KN06", "KN07", "KN99", "KN17", "KF01", "KF05", "KNR01"}));
    EXPECT_EQ(codesOfAny(catalog.systemLists(1).handleProfiles),
              (Codes{"KS11", "KS12", "KS201", "TL01", "TL02", "KQ01"}));
    EXPECT_EQ(codesOfAny(catalog.systemLists(7).splitterProfiles), (Codes{"KF03"}));

    // Links belong to their own systems only.
    for (int s = 0; s < Catalog::systemCount; ++s) {
        const SystemLists& lists = catalog.systemLists(s);
        EXPECT_EQ(lists.pivotKit != nullptr, s == 0);
        EXPECT_EQ(lists.railVariant != nullptr, s == 6);
        EXPECT_EQ(lists.frameVariant != nullptr, s == 6);
        EXPECT_EQ(lists.selectedRollerKit, nullptr);
        // No code named by the tables was lost on the way.
        const catalog_tables::SystemRow& row = catalog_tables::systemRows()[s];
        EXPECT_EQ(lists.handleProfiles.size(), row.handleProfiles.size());
        EXPECT_EQ(lists.splitterProfiles.size(), row.splitterProfiles.size());
        EXPECT_EQ(lists.systemArticles.size(),
                  row.systemArticles.size() + row.defaultRollerKits.size());
    }
    EXPECT_TRUE(catalog.systemLists(9).systemArticles.empty());
    EXPECT_TRUE(catalog.systemLists(-1).handleProfiles.empty());
}

TEST(CatalogTables, SomeRecordsBelongToNoSystem) {
    TempFolder folder;
    Catalog catalog(folder.path());
    int stenvikOnly = 0;
    for (int s = 0; s < Catalog::systemCount; ++s) {
        const SystemLists& lists = catalog.systemLists(s);
        for (const char* code : {"KS301", "KI03", "KL220", "KL150"})
            EXPECT_EQ(std::count(lists.handleProfiles.begin(), lists.handleProfiles.end(),
                                 catalog.handleByCode(code)),
                      0);
        for (const char* code : {"KI02", "KI04", "KI06", "KI07", "KIR2", "KIR3", "KI10", "ME10"})
            EXPECT_EQ(std::count(lists.systemArticles.begin(), lists.systemArticles.end(),
                                 catalog.articleByCode(code)),
                      0);
        stenvikOnly +=
            static_cast<int>(std::count(lists.systemArticles.begin(), lists.systemArticles.end(),
                                        catalog.articleByCode("W1406")));
    }
    EXPECT_EQ(stenvikOnly, 1);
    EXPECT_NE(catalog.handleByCode("KS301"), nullptr);
    EXPECT_NE(catalog.articleByCode("ME10"), nullptr);
}

TEST(CatalogInstance, ExecutableFolderIsTheFolderOfTheRunningProgram) {
    EXPECT_EQ(Catalog::executableFolder(), std::string(TAV_BINARY_DIR) + "/tests");
}

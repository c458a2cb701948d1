// The profile price file, the colour category file and the roller file.
#include <gtest/gtest.h>

#include <memory>

#include "catalog/Catalog.h"
#include "catalog/DataFileReader.h"
#include "support/TempFolder.h"
#include "text/Encoding.h"

namespace {

// A catalog built from a folder holding only the given profile files (UTF-8 texts, stored as
// Windows-1251); an empty text leaves the file out.
std::unique_ptr<Catalog> catalogWith(const std::string& prices, const std::string& colours = {},
                                     const std::string& rollers = {}) {
    TempFolder folder;
    if (!prices.empty())
        folder.writeCp1251("profiles/price.csv", prices);
    if (!colours.empty())
        folder.writeCp1251("profiles/colors_price.csv", colours);
    if (!rollers.empty())
        folder.writeCp1251("profiles/rollers.csv", rollers);
    return std::make_unique<Catalog>(folder.path());
}

std::unique_ptr<Catalog> bareCatalog() {
    return std::make_unique<Catalog>("/nonexistent/tavrolab");
}

const std::string priceHeader = "код;коллекция;цена\n";

} // namespace

// --- profile price file ---

TEST(ProfilePriceFile, HeaderNamesIgnoreCaseAndSpacesAndExtraColumns) {
    auto catalog = catalogWith("Артикул;Код ; Коллекция;ЦЕНА\r\nx;kl01;;99\r\n");
    EXPECT_EQ(catalog->handleByCode("KL01")->prices[0], 9900);
    // A later column of the same name counts.
    catalog = catalogWith("код;коллекция;цена;цена\nkl01;;1;2\n");
    EXPECT_EQ(catalog->handleByCode("KL01")->prices[0], 200);
}

TEST(ProfilePriceFile, CategoryWordsPickThePrice) {
    auto catalog = catalogWith(priceHeader + "kl01;;1250,5\n"
                                             "kl01;премиум;1250.5\n"
                                             "KL01; Анод ;10\n"
                                             "kl01;глянец;80\n"
                                             "kl01;золото;777\n"
                                             "kl100;;0\n"
                                             "kl100;;-5\n"
                                             "kl100;;abc\n");
    const HandleProfile* kl01 = catalog->handleByCode("KL01");
    EXPECT_EQ(kl01->prices, (std::array<int32_t, 8>{125050, 125050, 1000, 0, 0, 0, 0, 8000}));
    EXPECT_EQ(catalog->handleByCode("KL100")->prices, (std::array<int32_t, 8>{}));
}

TEST(ProfilePriceFile, PricesAreConvertedExactlyFromTheirDecimalText) {
    auto catalog = catalogWith(priceHeader + "kl01;;1250,57\nkl100;;12,349\nkl200;;0,29\n"
                                             "tl01;;21474836,48\ntl02;;21474835,99\n");
    EXPECT_EQ(catalog->handleByCode("KL01")->prices[0], 125057);
    EXPECT_EQ(catalog->handleByCode("KL100")->prices[0], 1234);
    EXPECT_EQ(catalog->handleByCode("KL200")->prices[0], 29);
    // A price that does not fit the kopeck counter is ignored, the largest one that fits is kept.
    EXPECT_EQ(catalog->handleByCode("TL01")->prices[0], 0);
    EXPECT_EQ(catalog->handleByCode("TL02")->prices[0], 2147483599);
}

TEST(ProfilePriceFile, CodesReachHandlesSplittersAndArticlesLaterRowsWin) {
    auto catalog = catalogWith(priceHeader + "tl08;;100\nkg12/kg13;;5,5\nkl16;акция;3\n"
                                             "tl08;;200\n");
    EXPECT_EQ(catalog->splitterByCode("TL08")->prices[0], 20000);
    EXPECT_EQ(catalog->articleByCode("KG12/KG13")->prices[0], 550);
    EXPECT_EQ(catalog->articleByCode("KL16")->prices[5], 300);
}

TEST(ProfilePriceFile, HandleProfileWinsOverAnArticleOfTheSameCode) {
    // The roller file can create an article whose code is also a handle profile's.
    auto catalog =
        catalogWith(priceHeader + "kl01;;10\n", {}, "\nЛовен\nKL01;Двойник;симметричный;1\n");
    const Article* twin = catalog->articleByCode("KL01");
    ASSERT_NE(twin, nullptr);
    EXPECT_EQ(twin->prices[0], 0);
    EXPECT_EQ(catalog->handleByCode("KL01")->prices[0], 1000);
}

TEST(ProfilePriceFile, LastLineCountsOnlyWhenItsPriceIsClosed) {
    EXPECT_EQ(catalogWith(priceHeader + "kl01;;1250")->handleByCode("KL01")->prices[0], 0);
    EXPECT_EQ(catalogWith(priceHeader + "kl01;;1250;")->handleByCode("KL01")->prices[0], 125000);
    // The price column need not be the last one.
    EXPECT_EQ(catalogWith("цена;код;коллекция\n15;kl01;")->handleByCode("KL01")->prices[0], 1500);
}

TEST(ProfilePriceFile, ResultCodes) {
    auto catalog = bareCatalog();
    EXPECT_EQ(DataFileReader::readProfilePriceFile(*catalog, "/nonexistent/price.csv"),
              DataFileReader::CannotOpen);
    EXPECT_EQ(DataFileReader::readProfilePrices(*catalog, ""), DataFileReader::Empty);
    EXPECT_EQ(DataFileReader::readProfilePrices(*catalog, text::utf8ToCp1251("код;коллекция;цена")),
              DataFileReader::Empty);
    EXPECT_EQ(DataFileReader::readProfilePrices(*catalog, text::utf8ToCp1251("код;цена\nkl01;5\n")),
              DataFileReader::MissingColumn);
    EXPECT_EQ(catalog->handleByCode("KL01")->prices[0], 0);
    EXPECT_EQ(DataFileReader::readProfilePrices(*catalog, text::utf8ToCp1251(priceHeader)),
              DataFileReader::Ok);
}

// --- colour category file ---

TEST(ColourCategoryFile, SystemColumnsSetTheirCellsOnly) {
    auto catalog = catalogWith({}, "цвет;Ловен;Тавро\nХром матовый;анод;\n");
    EXPECT_EQ(catalog->colorCategories()[0][0], 3);
    EXPECT_EQ(catalog->colorCategories()[0][4], 1);
    for (int s = 1; s < Catalog::systemCount; ++s)
        EXPECT_EQ(catalog->colorCategories()[0][s], 1) << s;
}

TEST(ColourCategoryFile, NamesWordsAndColumnsCompareLowerCasedAndStripped) {
    auto catalog = catalogWith({}, " ЦВЕТ ;КВЕРТ-Н;норсия;Цена\r\n"
                                   " хром глянец ; ГЛЯНЕЦ ;Хром;x\r\n"
                                   "Нет такого;анод;анод;x\r\n"
                                   "Белый глянец;золото;новинка;x\r\n");
    const int chrome = catalog->colorByName("Хром глянец")->index;
    const int white = catalog->colorByName("Белый глянец")->index;
    EXPECT_EQ(catalog->colorCategories()[chrome][3], 8);
    EXPECT_EQ(catalog->colorCategories()[chrome][8], 7);
    EXPECT_EQ(catalog->colorCategories()[white][3], 1); // not a category word
    EXPECT_EQ(catalog->colorCategories()[white][8], 5);
}

TEST(ColourCategoryFile, LaterRowsAndColumnsOverwrite) {
    auto catalog = catalogWith({}, "цвет;Ловен;Ловен;Дарсо\n"
                                   "Хром матовый;анод;премиум;хром\n"
                                   "Хром матовый;;;акция\n");
    EXPECT_EQ(catalog->colorCategories()[0][0], 2);
    EXPECT_EQ(catalog->colorCategories()[0][2], 6);
}

TEST(ColourCategoryFile, UnterminatedLastRowIsLost) {
    auto catalog = catalogWith({}, "цвет;Ловен\nХром матовый;анод\nЗолото матовое;анод");
    EXPECT_EQ(catalog->colorCategories()[0][0], 3);
    EXPECT_EQ(catalog->colorCategories()[1][0], 1);
}

TEST(ColourCategoryFile, ResultCodes) {
    auto catalog = bareCatalog();
    const auto read = [&](const std::string& utf8) {
        return DataFileReader::readColorCategories(*catalog, text::utf8ToCp1251(utf8));
    };
    EXPECT_EQ(read(""), DataFileReader::Empty);
    EXPECT_EQ(read("цвет;Ловен"), DataFileReader::Empty);
    EXPECT_EQ(read("колер;Ловен\nХром матовый;анод\n"), DataFileReader::MissingColumn);
    EXPECT_EQ(read("цвет;Гардероб\nХром матовый;анод\n"), DataFileReader::NoSystemColumn);
    EXPECT_EQ(catalog->colorCategories()[0][0], 1);
    EXPECT_EQ(read("цвет;Ловен\nХром матовый;анод\n"), DataFileReader::Ok);
    EXPECT_EQ(catalog->colorCategories()[0][0], 3);
}

// --- roller file ---

TEST(RollerFile, NewKitIsCreatedAppendedAndSelected) {
    auto catalog = catalogWith({}, {}, "системы\nТавро\nTL99;Комплект новый;асимметричный;02\n");
    const auto* kit = dynamic_cast<const RollerKit*>(catalog->articleByCode("TL99"));
    ASSERT_NE(kit, nullptr);
    EXPECT_EQ(kit->index, 80);
    EXPECT_EQ(catalog->articleList().back(), kit);
    EXPECT_EQ(kit->name, "Комплект новый");
    EXPECT_EQ(kit->kind, KindRollerKit);
    EXPECT_EQ(kit->rollerType, 2);
    EXPECT_EQ(kit->perSet, 1);
    EXPECT_EQ(kit->count, 2);
    EXPECT_EQ(kit->pictureId, 0);
    const SystemLists& tavro = catalog->systemLists(4);
    EXPECT_EQ(tavro.selectedRollerKit, kit);
    EXPECT_EQ(tavro.systemArticles.back(), kit);
    // The file's kit replaces the default kits.
    EXPECT_EQ(catalog->articleByCode("TL12")->index, 27);
    for (const Article* a : tavro.systemArticles)
        EXPECT_TRUE(a->code != "TL12" && a->code != "TL12-1") << a->code;
    // Other systems keep their defaults.
    EXPECT_EQ(catalog->systemLists(1).systemArticles.back()->code, "W1406");
}

TEST(RollerFile, BlocksTypesAndQuantities) {
    auto catalog = catalogWith({}, {},
                               "Ловен\n"                   // the first line is skipped
                               "XX1;до первого блока;;1\n" // before any block
                               "ловен\n"                   // lower-cased name starts a block
                               " X1 ; Первый ; СИММЕТРИЧНЫЙ ; 2 \n"
                               "X2;Второй;другой;1\n"
                               "X3;Без количества;симметричный;\n"
                               "X4;Мало полей\n"
                               "Тавро \n" // not stripped: still Ловен's block
                               "X5;Пятый;асимметричный;3\r\n"
                               "Норсия\r\n"
                               "X6;Последний;симметричный;01"); // read without a line break
    EXPECT_EQ(catalog->articleByCode("XX1"), nullptr);
    EXPECT_EQ(catalog->articleByCode("X3"), nullptr);
    EXPECT_EQ(catalog->articleByCode("X4"), nullptr);

    const auto* x1 = dynamic_cast<const RollerKit*>(catalog->articleByCode("X1"));
    ASSERT_NE(x1, nullptr);
    EXPECT_EQ(x1->code, "X1");
    EXPECT_EQ(x1->name, "Первый");
    EXPECT_EQ(x1->rollerType, 1);
    EXPECT_EQ(x1->perSet, 0);
    EXPECT_EQ(x1->count, 2);
    EXPECT_EQ(dynamic_cast<const RollerKit*>(catalog->articleByCode("X2"))->rollerType, 0);

    const SystemLists& loven = catalog->systemLists(0);
    EXPECT_EQ(loven.selectedRollerKit, x1);
    ASSERT_GE(loven.systemArticles.size(), 3u);
    EXPECT_EQ(loven.systemArticles[10]->code, "X1");
    EXPECT_EQ(loven.systemArticles[11]->code, "X2");
    EXPECT_EQ(loven.systemArticles[12]->code, "X5");
    EXPECT_EQ(loven.systemArticles.size(), 13u); // no default kits
    EXPECT_EQ(loven.pivotKit, catalog->articleByCode("KL16"));

    const auto* x6 = dynamic_cast<const RollerKit*>(catalog->articleByCode("X6"));
    ASSERT_NE(x6, nullptr);
    EXPECT_EQ(x6->perSet, 1);
    EXPECT_EQ(x6->count, 1);
    EXPECT_EQ(catalog->systemLists(8).selectedRollerKit, x6);
    // Indexes continue the article list.
    EXPECT_EQ(x1->index, 80);
    EXPECT_EQ(x6->index, 83);
    EXPECT_EQ(catalog->articleList().size(), 84u);
}

TEST(RollerFile, ExistingArticlesAreUsedUnchanged) {
    auto catalog = catalogWith({}, {},
                               "\nДарсо\n"
                               "KL16;Другое имя;асимметричный;5\n"
                               "KL16;Ещё раз;;1\n"
                               "Кверт-Н\n"
                               "kl16;Маленькими;;1\n");
    const auto* kl16 = dynamic_cast<const RollerKit*>(catalog->articleByCode("KL16"));
    EXPECT_EQ(kl16->name, "Пивотный механизм");
    EXPECT_EQ(kl16->rollerType, 0);
    EXPECT_EQ(kl16->count, 2);
    EXPECT_EQ(catalog->articleList().size(), 80u);

    const SystemLists& darso = catalog->systemLists(2);
    EXPECT_EQ(darso.selectedRollerKit, kl16);
    EXPECT_EQ(std::count(darso.systemArticles.begin(), darso.systemArticles.end(), kl16), 1);
    EXPECT_EQ(darso.systemArticles.back(), kl16);

    // A code written in other letters finds the article but selects nothing (the selection
    // compares exactly), so the system also gets its default kits.
    const SystemLists& kvert = catalog->systemLists(3);
    EXPECT_EQ(kvert.selectedRollerKit, nullptr);
    const auto n = kvert.systemArticles.size();
    ASSERT_GE(n, 3u);
    EXPECT_EQ(kvert.systemArticles[n - 3], kl16);
    EXPECT_EQ(kvert.systemArticles[n - 2]->code, "KQ04/05");
    EXPECT_EQ(kvert.systemArticles[n - 1]->code, "KSA");
}

TEST(RollerFile, LinesThatCannotMakeAUsableKitAreSkipped) {
    auto catalog = catalogWith({}, {},
                               "\nФольм\n"
                               ";Без кода;симметричный;1\n"
                               "Z0;Ноль;симметричный;0\n"
                               "Z1;Минус;симметричный;-1\n"
                               "Z2;Слишком;симметричный;300\n"
                               "KL02;Профиль;симметричный;1\n");
    EXPECT_EQ(catalog->articleByCode(""), nullptr);
    EXPECT_EQ(catalog->articleByCode("Z0"), nullptr);
    EXPECT_EQ(catalog->articleByCode("Z1"), nullptr);
    EXPECT_EQ(catalog->articleByCode("Z2"), nullptr);
    // A profile named in a block joins the list but is never the selected kit.
    const SystemLists& folm = catalog->systemLists(7);
    EXPECT_EQ(folm.selectedRollerKit, nullptr);
    EXPECT_EQ(folm.systemArticles[folm.systemArticles.size() - 2]->code, "KL02");
    EXPECT_EQ(folm.systemArticles.back()->code, "KFR01");
}

// --- whatever the files hold, the catalog builds ---

TEST(DataFileRobustness, GarbageLongLinesAndMissingColumnsKeepTheDefaults) {
    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += static_cast<char>((i * 7919) % 256);
    const std::string longLine(2 * 1024 * 1024, 'x');
    const std::string manySeparators(1024 * 1024, ';');
    for (const std::string& bytes :
         {garbage, longLine, longLine + "\n" + longLine, manySeparators + "\n" + manySeparators,
          std::string("\n"), std::string("\0\0\n\0", 4)}) {
        TempFolder folder;
        folder.writeBytes("profiles/price.csv", bytes);
        folder.writeBytes("profiles/colors_price.csv", bytes);
        folder.writeBytes("profiles/rollers.csv", bytes);
        folder.writeBytes("materials/g/price.csv", bytes);
        folder.makeFolder("materials/g/images");
        Catalog catalog(folder.path());
        EXPECT_EQ(catalog.handleTable().size(), 23u);
        EXPECT_EQ(catalog.articleList().size(), 80u);
        EXPECT_EQ(catalog.handleByCode("KL01")->prices[0], 0);
        EXPECT_EQ(catalog.colorCategories()[0][0], 1);
        ASSERT_EQ(catalog.materialGroups().size(), 1u);
        EXPECT_TRUE(catalog.materialGroups()[0]->materials.empty());
    }
}

TEST(DataFileRobustness, AFolderWhereAFileShouldBe) {
    TempFolder folder;
    folder.makeFolder("profiles/price.csv");
    folder.makeFolder("profiles/rollers.csv");
    auto catalog = std::make_unique<Catalog>(folder.path());
    EXPECT_EQ(DataFileReader::readProfilePriceFile(*catalog, folder.pathOf("profiles/price.csv")),
              DataFileReader::CannotOpen);
    EXPECT_EQ(catalog->articleList().size(), 80u);
}

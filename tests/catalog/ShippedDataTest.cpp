// The data folder shipped with the program loads completely.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "catalog/Catalog.h"
#include "catalog/CsvText.h"
#include "catalog/DataFileReader.h"
#include "catalog/DataPaths.h"

namespace {

const std::string shippedFolder = TAV_SOURCE_DIR "/data";

// Rows of a shipped file as UTF-8 fields (header included).
std::vector<std::vector<std::string>> rowsOf(const std::string& path) {
    std::string bytes;
    EXPECT_TRUE(DataFileReader::readWholeFile(path, bytes)) << path;
    std::vector<std::vector<std::string>> rows;
    for (const csv_text::Line& line : csv_text::splitLines(bytes)) {
        EXPECT_TRUE(line.terminated) << path << ": every line ends with a line break";
        std::vector<std::string> fields;
        for (const csv_text::Field& field : csv_text::splitFields(line))
            fields.push_back(csv_text::stripped(field.text));
        rows.push_back(fields);
    }
    return rows;
}

} // namespace

TEST(ShippedData, EveryPriceRowNamesAKnownCodeAndEveryRecordHasAPrice) {
    Catalog catalog(shippedFolder);
    const auto rows = rowsOf(DataPaths::profilePricePath(shippedFolder));
    ASSERT_GT(rows.size(), 100u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"код", "коллекция", "цена"}));
    std::set<std::string> categories;
    for (size_t i = 1; i < rows.size(); ++i) {
        ASSERT_EQ(rows[i].size(), 3u) << "row " << i;
        const std::string& code = rows[i][0];
        EXPECT_TRUE(catalog.handleByCode(code) || catalog.splitterByCode(code) ||
                    catalog.articleByCode(code))
            << code;
        EXPECT_TRUE(rows[i][1].empty() || DataPaths::categoryFromWord(rows[i][1]) != 0)
            << rows[i][1];
        categories.insert(rows[i][1]);
        EXPECT_TRUE(csv_text::decimalNumber(rows[i][2]).positive()) << code;
    }
    EXPECT_GE(categories.size(), 4u); // the standard price and several others
    for (const Article* a : catalog.handleTable())
        EXPECT_GT(a->prices[0], 0) << a->code;
    for (const Article* a : catalog.splitterTable())
        EXPECT_GT(a->prices[0], 0) << a->code;
    for (const Article* a : catalog.articleList())
        EXPECT_GT(a->prices[0], 0) << a->code;
}

TEST(ShippedData, ColourCategoriesNameKnownColoursAndSystems) {
    Catalog catalog(shippedFolder);
    const auto rows = rowsOf(DataPaths::colorPricePath(shippedFolder));
    ASSERT_GT(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], "цвет");
    for (size_t c = 1; c < rows[0].size(); ++c) {
        bool known = false;
        for (int s = 0; s < Catalog::systemCount; ++s)
            known = known || Catalog::systemInfo(s).name == rows[0][c];
        EXPECT_TRUE(known) << rows[0][c];
    }
    int changed = 0;
    for (size_t i = 1; i < rows.size(); ++i) {
        EXPECT_NE(catalog.colorByName(rows[i][0]), nullptr) << rows[i][0];
        for (size_t c = 1; c < rows[i].size(); ++c)
            EXPECT_TRUE(rows[i][c].empty() || DataPaths::categoryFromWord(rows[i][c]) != 0)
                << rows[i][c];
    }
    for (const auto& row : catalog.colorCategories())
        for (int32_t category : row)
            changed += category != 1;
    EXPECT_GE(changed, 6);
}

TEST(ShippedData, RollerFileAddsNoKits) {
    Catalog catalog(shippedFolder);
    EXPECT_EQ(catalog.articleList().size(), 80u);
    for (int s = 0; s < Catalog::systemCount; ++s)
        EXPECT_EQ(catalog.systemLists(s).selectedRollerKit, nullptr);
}

TEST(ShippedData, EveryGroupHasItsMaterialsAndEveryPictureExists) {
    namespace fs = std::filesystem;
    Catalog catalog(shippedFolder);
    for (const char* name : {"ДСП", "Зеркало", "Стекло", "Лакобель", "Фотопечать"})
        EXPECT_NE(catalog.materialGroupByName(name), nullptr) << name;
    bool someFromFolder = false;
    std::set<int32_t> thicknesses;
    for (const MaterialGroup* group : catalog.materialGroups()) {
        EXPECT_GE(group->materials.size(), 6u) << group->name;
        // Every row of the group's file gave at least one material.
        const auto rows = rowsOf(group->priceFile);
        std::set<std::string> codes;
        for (const Material& m : group->materials) {
            EXPECT_TRUE(fs::is_regular_file(m.imagePath)) << m.imagePath;
            EXPECT_GT(m.price, 0) << m.code;
            EXPECT_GT(m.thickness, 0) << m.code;
            EXPECT_GT(m.width, 0) << m.code;
            EXPECT_GT(m.length, 0) << m.code;
            EXPECT_FALSE(m.name.empty()) << m.code;
            EXPECT_EQ(group->findByKey(m.pictureKey()), &m) << m.pictureKey();
            someFromFolder = someFromFolder || m.fromFolder;
            codes.insert(m.code);
            thicknesses.insert(m.thickness);
        }
        EXPECT_EQ(codes.size() + 1, rows.size()) << group->name;
    }
    EXPECT_TRUE(someFromFolder);
    for (int32_t t : {40, 80, 100, 160})
        EXPECT_TRUE(thicknesses.count(t)) << t;
}

TEST(ShippedData, ConfigFolderHoldsLogoAndInformationButNoOrderNumber) {
    namespace fs = std::filesystem;
    const std::string config = DataPaths::configPath(shippedFolder);
    EXPECT_TRUE(fs::is_regular_file(config + "/logo.jpg"));
    EXPECT_TRUE(fs::is_regular_file(config + "/info.txt"));
    EXPECT_FALSE(fs::exists(config + "/number.txt"));
    std::string info;
    ASSERT_TRUE(DataFileReader::readWholeFile(config + "/info.txt", info));
    // Windows-1251 Russian text: bytes above 0x7F, no UTF-8 lead bytes of Cyrillic (0xD0, 0xD1
    // followed by a continuation byte).
    EXPECT_NE(info.find('\xEE'), std::string::npos); // "о"
    EXPECT_EQ(info.find("\xD0\xBE"), std::string::npos);
}

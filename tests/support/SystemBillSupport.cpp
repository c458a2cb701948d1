#include "support/SystemBillSupport.h"

#include "calc/DSSystem.h"
#include "calc/SystemFactory.h"

namespace billtest {

void expectArticles(const CalcResult& r, const std::vector<Art>& expected) {
    ASSERT_EQ(r.articles.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const ArticleRow& row = r.articles[i];
        const Art& e = expected[i];
        SCOPED_TRACE("article row " + std::to_string(i) + " " + e.code);
        EXPECT_EQ(row.code, e.code);
        EXPECT_EQ(row.stockLength, e.stockLength);
        EXPECT_EQ(row.quantity, e.quantity);
        EXPECT_EQ(row.cost, e.cost);
        EXPECT_EQ(row.counted, e.counted);
        EXPECT_EQ(row.error, e.error);
    }
}

void expectCuts(const CalcResult& r, const std::vector<Cut>& expected) {
    ASSERT_EQ(r.cutList.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const CutPieceRow& row = r.cutList[i];
        const Cut& e = expected[i];
        SCOPED_TRACE("cut row " + std::to_string(i) + " " + e.number + " " + e.code);
        EXPECT_EQ(row.number, e.number);
        EXPECT_EQ(row.code, e.code);
        EXPECT_EQ(row.length, e.length);
        EXPECT_EQ(row.mark, e.mark);
        EXPECT_EQ(row.doorIndex, e.door);
    }
}

void expectFillings(const CalcResult& r, const std::vector<Fill>& expected) {
    ASSERT_EQ(r.fillings.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const FillingRow& row = r.fillings[i];
        const Fill& e = expected[i];
        SCOPED_TRACE("filling row " + std::to_string(i) + " " + e.code);
        EXPECT_EQ(row.code, e.code);
        EXPECT_EQ(row.thickness, e.thickness);
        EXPECT_NEAR(row.area, e.area, 1e-9);
        EXPECT_EQ(row.cost, e.cost);
        EXPECT_EQ(row.error, e.error);
    }
}

void expectPieces(const CalcResult& r, const std::vector<Piece>& expected) {
    ASSERT_EQ(r.fillingPieces.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const FillingPieceRow& row = r.fillingPieces[i];
        const Piece& e = expected[i];
        SCOPED_TRACE("filling piece " + std::to_string(i) + " " + e.number);
        EXPECT_EQ(row.number, e.number);
        EXPECT_EQ(row.code, e.code);
        EXPECT_EQ(row.height, e.height);
        EXPECT_EQ(row.width, e.width);
        EXPECT_EQ(row.mark, e.mark);
        EXPECT_EQ(row.doorIndex, e.door);
    }
}

const ArticleRow* findArticle(const CalcResult& r, const std::string& code) {
    for (const ArticleRow& row : r.articles)
        if (row.code == code)
            return &row;
    return nullptr;
}

void SystemBillTest::build(const std::string& system, const std::string& priceRows,
                           const std::string& colorFile) {
    folder.writeCp1251("profiles/price.csv", "код;коллекция;цена\n" + priceRows);
    if (!colorFile.empty())
        folder.writeCp1251("profiles/colors_price.csv", colorFile);
    folder.writeCp1251("materials/Материалы/price.csv", "код;изображение;название;цена;толщина\n"
                                                        "DSP16;dsp.jpg;ДСП белое;800;16\n"
                                                        "ZR4;zr.jpg;Зеркало;2000;4\n"
                                                        "P10;p10.jpg;Панель;1500;10\n");
    for (const char* picture : {"dsp.jpg", "zr.jpg", "p10.jpg"})
        folder.writeBytes(std::string("materials/Материалы/images/") + picture, "picture");
    catalog = std::make_unique<Catalog>(folder.path(), makeAllSystems);
    project = std::make_unique<Project>(*catalog);
    DSSystem* s = catalog->systemByName(system);
    ASSERT_NE(s, nullptr) << system;
    if (s != project->system) {
        ASSERT_TRUE(project->setSystem(s));
    }
}

const Material* SystemBillTest::material(const char* key) const {
    const MaterialGroup* g = catalog->materialGroupByName("Материалы");
    return g != nullptr ? g->findByKey(key) : nullptr;
}

const SplitterProfile* SystemBillTest::splitterProfile(const char* code) const {
    return project->system->splitterProfileByCode(code);
}

Splitter* SystemBillTest::split(int i, int32_t pos, bool vertical, int32_t inside,
                                const char* profile) {
    const SplitterProfile* p = profile != nullptr ? splitterProfile(profile) : nullptr;
    if (profile != nullptr) {
        EXPECT_NE(p, nullptr) << profile;
    }
    Splitter* s = calctest::split(door(i), pos, vertical, inside, p);
    EXPECT_NE(s, nullptr) << "split of door " << i << " at " << pos;
    return s;
}

} // namespace billtest

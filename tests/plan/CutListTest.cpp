// Reading a cut list: refusals naming their line, encodings, decimal comma, defaults; planning
// it, with a piece larger than every stock listed as not cut.

#include "plan/CutList.h"
#include "plan/CutListPlan.h"
#include "plan/SheetStockPlanner.h"

#include "text/Encoding.h"

#include <gtest/gtest.h>

#include <chrono>
#include <tuple>

namespace {

const char* const kPieceHeader = "Материал;Обозначение;Длина;Ширина;Количество;Поворот\n";
const char* const kStockHeader = "Материал;Длина;Ширина;Количество;Цена\n";

std::vector<CutListPiece> pieces(const std::string& bytes, bool rotate = true) {
    auto read = CutList::readPieces(bytes, rotate);
    if (const auto* e = std::get_if<CutListError>(&read))
        ADD_FAILURE() << e->message;
    return std::holds_alternative<std::vector<CutListPiece>>(read)
               ? std::get<std::vector<CutListPiece>>(read)
               : std::vector<CutListPiece>{};
}

TEST(CutListReader, RefusesABadRowNamingItsLineAndReason) {
    struct Case {
        const char* pieces;
        int line;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {"Материал;Размер\nДСП;100\n", 1, "нет столбца «Длина»"},
        {"Обозначение;Длина\nА;100\n", 1, "нет столбца «Материал»"},
        {"Материал;Длина\nБрус;100\nБрус;сто\n", 3, "длина «сто» не число"},
        {"Материал;Длина\nБрус;1,2,3\n", 2, "не число"},
        {"Материал;Длина\nБрус;100,25\n", 2, "больше одного знака после запятой"},
        {"Материал;Длина;Количество\nБрус;100;-2\n", 2, "количество «-2» должно быть целым"},
        {"Материал;Длина;Количество\nБрус;100;1,5\n", 2, "количество «1,5» должно быть целым"},
        {"Материал;Длина\nБрус;100\n\nБрус;13000\n", 4, "длина 13000 мм вне пределов 1–12000 мм"},
        {"Материал;Длина\nБрус;0,5\n", 2, "длина 0,5 мм вне пределов 1–12000 мм"},
        {"Материал;Длина;Ширина\nДСП;6000,1;100\n", 2, "длина 6000,1 мм вне пределов 1–6000 мм"},
        {"Материал;Длина;Ширина\nДСП;600;3501\n", 2, "ширина 3501 мм вне пределов 1–3500 мм"},
        {"Материал;Длина;Поворот\nБрус;100;может\n", 2, "поворот «может»"},
        {"Материал;Длина\n;100\n", 2, "не указан материал"},
        {"Материал;Длина;Количество\nБрус;100;15000\nБрус;100;5001\n", 3, "больше 20000 деталей"},
    };
    for (const Case& c : cases) {
        auto read = CutList::readPieces(c.pieces, true);
        ASSERT_TRUE(std::holds_alternative<CutListError>(read)) << c.pieces;
        const CutListError& e = std::get<CutListError>(read);
        EXPECT_EQ(e.line, c.line) << c.pieces;
        EXPECT_EQ(e.message.rfind("Строка " + std::to_string(c.line) + ": ", 0), 0u) << e.message;
        EXPECT_NE(e.message.find(c.reason), std::string::npos) << e.message;
        // The window's table takes the same rows renumbered as its rows: the same refusal,
        // naming the table's row.
        auto rows = CutList::pieceRows(c.pieces);
        if (c.line == 1) {
            ASSERT_TRUE(std::holds_alternative<CutListError>(rows)) << c.pieces;
            continue;
        }
        std::vector<CutListRow> table = std::get<std::vector<CutListRow>>(rows);
        for (CutListRow& row : table)
            row.line += 100;
        auto fromTable = CutList::readPieceRows(table, true);
        ASSERT_TRUE(std::holds_alternative<CutListError>(fromTable)) << c.pieces;
        const CutListError& t = std::get<CutListError>(fromTable);
        EXPECT_EQ(t.line, c.line + 100);
        EXPECT_EQ(t.message.substr(t.message.find(": ")), e.message.substr(e.message.find(": ")));
    }
}

TEST(CutListReader, TableRowsInColumnOrderReadAsTheFileDoes) {
    // The file's columns in another order; the rows come back in the table's order.
    const std::string file = "Количество;Длина;Обозначение;Материал;Ширина\n"
                             "2;2000;Стойка;Брус;\n"
                             ";;;;\n"
                             "1;600,5;Полка;ДСП;400\n";
    auto rows = CutList::pieceRows(file);
    ASSERT_TRUE(std::holds_alternative<std::vector<CutListRow>>(rows));
    const auto& table = std::get<std::vector<CutListRow>>(rows);
    ASSERT_EQ(table.size(), 2u); // the blank line is left out
    EXPECT_EQ(table[1].line, 4);
    EXPECT_EQ(table[0].fields, (std::vector<std::string>{"Брус", "Стойка", "2000", "", "2", ""}));
    // Rows as a table gives them: short rows, spaces around the fields, blank rows between.
    const std::vector<CutListRow> typed = {{1, {" Брус ", "Стойка", "2000 ", "", "2"}},
                                           {2, {"", " ", ""}},
                                           {3, {"ДСП", "Полка", "600,5", "400"}}};
    const std::vector<CutListPiece> fromFile = pieces(file);
    auto fromTable = CutList::readPieceRows(typed, true);
    ASSERT_TRUE(std::holds_alternative<std::vector<CutListPiece>>(fromTable));
    const auto& read = std::get<std::vector<CutListPiece>>(fromTable);
    ASSERT_EQ(read.size(), fromFile.size());
    for (size_t i = 0; i < read.size(); ++i) {
        EXPECT_EQ(std::tie(read[i].material, read[i].name, read[i].length, read[i].width,
                           read[i].count, read[i].canRotate),
                  std::tie(fromFile[i].material, fromFile[i].name, fromFile[i].length,
                           fromFile[i].width, fromFile[i].count, fromFile[i].canRotate));
    }
    EXPECT_EQ(read[1].line, 3);

    auto stockRows = CutList::stockRows("Цена;Материал;Длина\n500;Брус;6000\n");
    ASSERT_TRUE(std::holds_alternative<std::vector<CutListRow>>(stockRows));
    EXPECT_EQ(std::get<std::vector<CutListRow>>(stockRows)[0].fields,
              (std::vector<std::string>{"Брус", "6000", "", "", "500"}));
    auto badStock = CutList::readStockRows({{7, {"Брус", "6000", "", "", "дорого"}}});
    ASSERT_TRUE(std::holds_alternative<CutListError>(badStock));
    EXPECT_EQ(std::get<CutListError>(badStock).message.rfind("Строка 7: цена «дорого»", 0), 0u);
}

TEST(CutListReader, RefusesABadStockRow) {
    struct Case {
        const char* stock;
        int line;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {"Материал;Длина;Ширина\nДСП;2800;2070\n", 1, "нет столбца «Цена»"},
        {"Материал;Длина;Цена\nБрус;6000;12,345\n", 2, "цена «12,345»"},
        {"Материал;Длина;Цена\nБрус;6000;-1\n", 2, "цена -1 руб. вне пределов"},
        {"Материал;Длина;Цена\nБрус;6000;\n", 2, "цена «»"},
        {"Материал;Длина;Ширина;Цена\nДСП;2800;3600;100\n", 2, "ширина 3600 мм вне пределов"},
        {"Материал;Длина;Количество;Цена\nБрус;6000;-3;0\n", 2, "количество «-3»"},
    };
    for (const Case& c : cases) {
        auto read = CutList::readStock(c.stock);
        ASSERT_TRUE(std::holds_alternative<CutListError>(read)) << c.stock;
        const CutListError& e = std::get<CutListError>(read);
        EXPECT_EQ(e.line, c.line) << c.stock;
        EXPECT_NE(e.message.find(c.reason), std::string::npos) << e.message;
    }
}

TEST(CutListReader, ReadsEitherEncodingAnyColumnOrderAndDecimalComma) {
    const std::string utf8 = "Количество;Лишний;Длина;Материал;Обозначение\n"
                             "2;x;1200,5;Брус сосна;Стойка\n"
                             "\n"
                             "  ;;800.0; Брус сосна ;Ригель\n";
    for (const std::string& bytes : {utf8, "\xEF\xBB\xBF" + utf8, text::utf8ToCp1251(utf8)}) {
        const std::vector<CutListPiece> read = pieces(bytes);
        ASSERT_EQ(read.size(), 2u);
        EXPECT_EQ(read[0].material, "Брус сосна");
        EXPECT_EQ(read[0].name, "Стойка");
        EXPECT_EQ(read[0].length, 12005);
        EXPECT_EQ(read[0].count, 2);
        EXPECT_TRUE(read[0].isBar());
        EXPECT_EQ(read[1].line, 4);
        EXPECT_EQ(read[1].material, "Брус сосна");
        EXPECT_EQ(read[1].length, 8000);
        EXPECT_EQ(read[1].count, 1); // an empty count is one piece
    }
}

TEST(CutListReader, AnEmptyTurnFollowsTheSettingAndAWordOverridesIt) {
    const std::string bytes = std::string(kPieceHeader) + "ДСП;Полка;500;300;;\n"
                                                          "ДСП;Дно;500;300;;ДА\n"
                                                          "ДСП;Бок;500;300;;нет\n";
    for (bool setting : {true, false}) {
        const std::vector<CutListPiece> read = pieces(bytes, setting);
        ASSERT_EQ(read.size(), 3u);
        EXPECT_EQ(read[0].canRotate, setting);
        EXPECT_TRUE(read[1].canRotate);
        EXPECT_FALSE(read[2].canRotate);
        EXPECT_EQ(read[0].width, 3000);
    }
}

TEST(CutListReader, StockReadsOffcutsUnlimitedRowsAndKopecks) {
    auto read = CutList::readStock(std::string(kStockHeader) + "Брус;6000;;;350,5\n"
                                                               "Брус;1500;;2;0\n"
                                                               "ДСП;2800;2070;;4200.75\n");
    ASSERT_TRUE(std::holds_alternative<std::vector<CutStock>>(read));
    const auto& stock = std::get<std::vector<CutStock>>(read);
    ASSERT_EQ(stock.size(), 3u);
    EXPECT_EQ(stock[0].price, 35050);
    EXPECT_EQ(stock[0].count, -1);
    EXPECT_FALSE(stock[0].isOffcut());
    EXPECT_TRUE(stock[1].isOffcut());
    EXPECT_EQ(stock[1].count, 2);
    EXPECT_FALSE(stock[2].isBar());
    EXPECT_EQ(stock[2].price, 420075);
}

TEST(CutListReader, AMaterialWithoutStockOfItsKindIsRefusedOnThePieceLine) {
    CutList list;
    list.stock = std::get<std::vector<CutStock>>(
        CutList::readStock(std::string(kStockHeader) + "Брус;6000;;;100\nДСП;2800;2070;;900\n"));
    struct Case {
        const char* row;
        const char* reason; // empty: the list is fine
    };
    const std::vector<Case> cases = {
        {"брус ;Стойка;900;;;\n", ""},
        {"ДСП;Полка;600;300;;\n", ""},
        {"Фанера;Полка;600;300;;\n", "материала «Фанера» нет на складе"},
        {"ДСП;Кромка;600;;;\n", "на складе нет хлыстов"},
        {"Брус;Щит;600;300;;\n", "на складе нет листов"},
    };
    for (const Case& c : cases) {
        list.pieces = pieces(std::string(kPieceHeader) + "Брус;А;100;;;\n" + c.row);
        const std::optional<CutListError> e = list.missingStock();
        if (*c.reason == '\0') {
            EXPECT_FALSE(e) << c.row;
            continue;
        }
        ASSERT_TRUE(e) << c.row;
        EXPECT_EQ(e->line, 3);
        EXPECT_NE(e->message.find(c.reason), std::string::npos) << e->message;
    }
}

CutList listOf(const std::string& piecesCsv, const std::string& stockCsv) {
    CutList list;
    list.settings.secondsPerMaterial = 0.05;
    list.pieces = pieces(std::string(kPieceHeader) + piecesCsv);
    list.stock =
        std::get<std::vector<CutStock>>(CutList::readStock(std::string(kStockHeader) + stockCsv));
    return list;
}

TEST(CutListPlanning, APieceLargerThanEveryStockIsNotCutAndTheRestIs) {
    const CutList list = listOf("Брус;Стойка;2000;;3;\n"
                                "Брус;Балка;7000;;;\n"
                                "ДСП;Бок;2000;600;2;нет\n"
                                "ДСП;Стол;3000;3000;;нет\n",
                                "Брус;6000;;;500\nДСП;2800;2070;;3000\n");
    const CutListPlan plan = CutListPlan::build(list);
    ASSERT_EQ(plan.totals.size(), 2u);
    ASSERT_EQ(plan.cuts.articles.size(), 1u);
    const ArticleCut& bars = plan.cuts.articles[0];
    ASSERT_EQ(bars.plan.unplaced.size(), 1u);
    EXPECT_EQ(bars.names[static_cast<size_t>(bars.plan.unplaced[0])], "Балка");
    EXPECT_EQ(plan.totals[0].notCut, 1);
    int cut = 0;
    for (const PlannedBar& b : bars.plan.bars) {
        for (int p : b.pieces)
            EXPECT_EQ(bars.names[static_cast<size_t>(p)], "Стойка");
        cut += static_cast<int>(b.pieces.size());
    }
    EXPECT_EQ(cut, 3);

    EXPECT_TRUE(plan.totals[1].sheets);
    EXPECT_EQ(plan.totals[1].notCut, 1);
    ASSERT_FALSE(plan.cuts.materials.empty());
    const MaterialCut& sheets = plan.cuts.materials[0];
    ASSERT_EQ(sheets.plan.unplaced.size(), 1u);
    EXPECT_EQ(sheets.names[static_cast<size_t>(sheets.plan.unplaced[0])], "Стол");
    EXPECT_EQ(plan.sources.size(), plan.cuts.materials.size());
}

TEST(CutListPlanning, TellsEachMaterialAndStopsWithTheBestPlansSoFar) {
    // Many different lengths: neither material is proven within a moment.
    std::string piecesCsv;
    for (int i = 0; i < 400; ++i)
        piecesCsv +=
            "Брус;Б" + std::to_string(i) + ";" + std::to_string(401 + (i * 37) % 1900) + ";;;\n";
    for (int i = 0; i < 150; ++i)
        piecesCsv += "ДСП;Д" + std::to_string(i) + ";" + std::to_string(211 + (i * 53) % 900) +
                     ";" + std::to_string(157 + (i * 29) % 700) + ";;нет\n";
    CutList list = listOf(piecesCsv, "Брус;6000;;;500\nДСП;2800;2070;;3000\n");
    list.settings.secondsPerMaterial = 60;
    std::atomic<bool> stop{false};
    std::vector<std::tuple<int, int, std::string>> told;
    CutListControl control;
    control.stop = &stop;
    control.progress = [&](int done, int total, const std::string& material) {
        told.emplace_back(done, total, material);
        if (done == 0)
            stop.store(true); // as "Стоп" pressed while the first material is planned
    };
    const auto start = std::chrono::steady_clock::now();
    const CutListPlan plan = CutListPlan::build(list, control);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 20.0); // not the two minutes the planners were given
    EXPECT_EQ(told, (std::vector<std::tuple<int, int, std::string>>{
                        {0, 2, "Брус"}, {1, 2, "ДСП"}, {2, 2, ""}}));
    ASSERT_EQ(plan.totals.size(), 2u);
    for (const CutListTotal& t : plan.totals) {
        EXPECT_TRUE(t.stopped) << t.material;
        EXPECT_FALSE(t.proven) << t.material;
        EXPECT_EQ(t.notCut, 0) << t.material;
        EXPECT_GE(t.newCount, t.lowerBound) << t.material;
    }
    // Every piece is on the stopped plans.
    size_t onBars = 0, onSheets = 0;
    for (const PlannedBar& b : plan.cuts.articles.at(0).plan.bars)
        onBars += b.pieces.size();
    for (const MaterialCut& m : plan.cuts.materials)
        for (const PlannedSheet& sheet : m.plan.sheets)
            onSheets += sheet.pieces.size();
    EXPECT_EQ(onBars, 400u);
    EXPECT_EQ(onSheets, 150u);

    // Without the stop the same list is planned in full and nothing says stopped.
    list.settings.secondsPerMaterial = 0.05;
    const CutListPlan full = CutListPlan::build(list);
    for (const CutListTotal& t : full.totals)
        EXPECT_FALSE(t.stopped) << t.material;
}

} // namespace

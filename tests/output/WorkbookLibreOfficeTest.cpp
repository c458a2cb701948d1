// The workbook as a Linux shop sees it: LibreOffice opens it and every sheet's visible cells,
// exported as text, must read as the bill does. Skipped where LibreOffice is not installed (the
// set-up script installs it).
#include "support/OutputTestSupport.h"

#include "model/OrderInfo.h"
#include "output/ResultTables.h"
#include "output/WorkbookWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <regex>
#include <string>
#include <vector>

using namespace outtest;

namespace {

using Row = std::vector<std::string>;

// Fields of one ";"-separated line; fields in double quotes may hold ";", doubled quotes and line
// ends.
std::vector<Row> parseCsv(const std::string& text) {
    std::vector<Row> rows;
    Row row;
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ';') {
            row.push_back(field);
            field.clear();
        } else if (c == '\n') {
            row.push_back(field);
            field.clear();
            rows.push_back(row);
            row.clear();
        } else if (c != '\r') {
            field += c;
        }
    }
    if (!field.empty() || !row.empty()) {
        row.push_back(field);
        rows.push_back(row);
    }
    return rows;
}

// A number as the bill writes it ("27911,22", "1500 руб.", "2360,0") or as LibreOffice shows it
// in its English default ("27,911.22p." for money, "2360" or "484.5" in the General format).
bool billNumber(std::string s, double& v) {
    static const std::regex form("-?[0-9]+(,[0-9]+)?( руб\\.)?");
    if (!std::regex_match(s, form))
        return false;
    s = s.substr(0, s.find(' '));
    for (char& c : s)
        if (c == ',')
            c = '.';
    v = std::stod(s);
    return true;
}

bool shownNumber(std::string s, bool money, double& v) {
    static const std::regex general("-?[0-9]+(\\.[0-9]+)?");
    static const std::regex moneyForm("-?[0-9]{1,3}(,[0-9]{3})*\\.[0-9]{2}p\\.");
    if (!std::regex_match(s, money ? moneyForm : general))
        return false;
    std::string digits;
    for (char c : s)
        if ((c >= '0' && c <= '9') || c == '.' || c == '-')
            digits += c;
    if (money)
        digits.pop_back(); // the "." of "p."
    v = std::stod(digits);
    return true;
}

// A visible cell against the bill's text: numbers by value (money columns in the workbook's
// money format, every other number plain), everything else letter for letter.
void expectCell(const std::string& shown, const std::string& bill, bool money,
                const std::string& where) {
    double want = 0;
    if (billNumber(bill, want)) {
        double got = 0;
        EXPECT_TRUE(shownNumber(shown, money, got) && std::abs(got - want) < 0.005)
            << where << ": shown \"" << shown << "\", the bill has \"" << bill << "\"";
        return;
    }
    EXPECT_EQ(shown, bill) << where;
}

void expectSheet(const std::vector<Row>& shown, const std::vector<Row>& bill,
                 const std::vector<bool>& moneyColumns, const std::string& sheet,
                 std::size_t moneyFromRow = 1) {
    ASSERT_EQ(shown.size(), bill.size()) << sheet;
    for (std::size_t r = 0; r < bill.size(); ++r) {
        for (std::size_t c = 0; c < bill[r].size(); ++c) {
            std::string cell = c < shown[r].size() ? shown[r][c] : std::string();
            bool money = r >= moneyFromRow && c < moneyColumns.size() && moneyColumns[c];
            expectCell(cell, bill[r][c], money,
                       sheet + " row " + std::to_string(r + 1) + " column " +
                           std::to_string(c + 1));
        }
        for (std::size_t c = bill[r].size(); c < shown[r].size(); ++c)
            EXPECT_EQ(shown[r][c], "") << sheet << " row " << r + 1;
    }
}

Row texts(const ResultRow& row, std::size_t width, std::size_t offset = 0) {
    Row out(offset);
    for (const ResultCell& cell : row.cells)
        out.push_back(cell.text);
    out.resize(std::max(width, out.size()));
    return out;
}

} // namespace

TEST(WorkbookInLibreOffice, EverySheetShowsTheBill) {
    if (std::system("command -v soffice > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "soffice (libreoffice-calc-nogui) is not installed";
    setenv("TZ", "UTC", 1);
    World s;
    ASSERT_TRUE(buildSampleProject(s, "Ловен"));
    s.project->order.assemblyCost = 1500;
    s.project->order.deliveryCost = 300;
    const std::filesystem::path file = s.dir / "order.xml";
    ASSERT_FALSE(exportWorkbook(*s.project, file, WorkbookSheets{}));

    // A profile of its own, so that runs side by side do not share one.
    const std::filesystem::path out = s.dir / "csv";
    const std::string command =
        "cd '" + s.dir.path() + "' && LC_ALL=C.UTF-8 timeout 300 soffice --headless " +
        "-env:UserInstallation=file://" + (s.dir / "profile").string() +
        " --convert-to 'csv:Text - txt - csv (StarCalc):59,34,76,1,,0,false,true,true,false,false,"
        "-1' --outdir '" +
        out.string() + "' order.xml > soffice.log 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << readFile(s.dir / "soffice.log");
    auto sheet = [&](const std::string& name) {
        const std::filesystem::path csv = out / ("order-" + name + ".csv");
        EXPECT_TRUE(std::filesystem::exists(csv)) << readFile(s.dir / "soffice.log");
        return parseCsv(std::filesystem::exists(csv) ? readFile(csv) : std::string());
    };
    Project& p = *s.project;

    // "Заказ": the order card, the costs as plain numbers.
    std::map<std::string, std::string> card;
    const std::vector<ResultTable> orderPage = buildResultTables(p, ResultPage::Order);
    for (const ResultRow& row : orderPage.front().rows)
        card[row.cells[0].text] = row.cells[1].text;
    std::vector<Row> order;
    for (const Row& shownRow : sheet("Заказ")) {
        std::string label = shownRow.empty() ? std::string() : shownRow[0];
        std::string value = card.count(label) ? card[label] : "нет";
        if (label == "№ заказа")
            value = p.order.orderNumberText();
        order.push_back({label, value});
    }
    EXPECT_EQ(order.size(), 12u);
    EXPECT_EQ(card["Сборка"], "1500 руб.");
    EXPECT_EQ(card["Доставка"], "300 руб.");
    expectSheet(sheet("Заказ"), order, {}, "Заказ");

    // "Рассчет цены": the price table, an empty row, the totals in columns 4 and 5.
    std::vector<ResultTable> price = buildResultTables(p, ResultPage::Price);
    std::vector<Row> priceBill;
    for (const ResultRow& row : price[0].rows)
        priceBill.push_back(texts(row, 5));
    priceBill.push_back(Row(5));
    for (const ResultRow& row : price[1].rows)
        priceBill.push_back(texts(row, 5, 3));
    expectSheet(sheet("Рассчет цены"), priceBill, {false, false, false, false, true},
                "Рассчет цены");

    // "Профили и материалы": cut list, an empty row, the filling pieces.
    std::vector<ResultTable> pieces = buildResultTables(p, ResultPage::Profiles);
    std::vector<Row> piecesBill;
    for (const ResultRow& row : pieces[0].rows)
        piecesBill.push_back(texts(row, 6));
    piecesBill.push_back(Row(6));
    for (const ResultRow& row : pieces[1].rows)
        piecesBill.push_back(texts(row, 6));
    expectSheet(sheet("Профили и материалы"), piecesBill, {}, "Профили и материалы");

    // "Сборка": the element list.
    std::vector<Row> assembly;
    const std::vector<ResultTable> assemblyPage = buildResultTables(p, ResultPage::Assembly);
    for (const ResultRow& row : assemblyPage.front().rows)
        assembly.push_back(texts(row, 5));
    expectSheet(sheet("Сборка"), assembly, {}, "Сборка");
}

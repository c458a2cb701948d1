#include "support/OutputTestSupport.h"

#include "calc/DSSystem.h"
#include "output/AccountingCsv.h"
#include "output/WorkbookWriter.h"
#include "text/Encoding.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>

using namespace outtest;

namespace {

std::string workbookText(Project& p, const WorkbookSheets& sheets = {}) {
    return text::cp1251ToUtf8(workbookBytes(p, sheets));
}

// Rows of a fixed price result, so the texts do not depend on any system's calculation.
void setPriceRows(Project& p) {
    CalcResult& r = p.result;
    r.articles.clear();
    r.fillings.clear();
    r.articles.push_back({"KL001", "Профиль вертикальный", 54000, 3, 123450, "", 1});
    r.articles.push_back({"KL13", "Щетка & уплотнитель", 0, 24500, 2450, "", 0});
    r.articles.push_back({"KL14", "Стопор", 0, 4, 51000, "", 1});
    r.fillings.push_back({"З-01", "Зеркало <серебро>", 40, 1.23456, 185185, ""});
    r.pricesDirty = 1;
    r.discountPercent = 0.0;
    p.discountPercent = 0.0;
}

std::string sheetOf(const std::string& xml, const std::string& name) {
    std::size_t a = xml.find("<Worksheet ss:Name=\"" + name + "\">");
    if (a == std::string::npos)
        return {};
    std::size_t b = xml.find("</Worksheet>", a);
    return xml.substr(a, b - a);
}

int countOf(const std::string& s, const std::string& what) {
    int n = 0;
    for (std::size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1))
        ++n;
    return n;
}

int declaredRows(const std::string& sheet) {
    std::smatch m;
    if (!std::regex_search(sheet, m, std::regex("ss:ExpandedRowCount=\"(\\d+)\"")))
        return -1;
    return std::stoi(m[1]);
}

void useUtc() {
    setenv("TZ", "UTC", 1);
    tzset();
}

// Compares with a committed golden file; TAV_UPDATE_GOLDEN=1 rewrites it instead.
void expectGolden(const std::string& bytes, const std::string& name) {
    std::filesystem::path golden =
        std::filesystem::path(TAV_SOURCE_DIR) / "tests" / "output" / "golden" / name;
    if (std::getenv("TAV_UPDATE_GOLDEN") != nullptr) {
        writeFile(golden, bytes);
        return;
    }
    ASSERT_TRUE(std::filesystem::exists(golden)) << golden;
    EXPECT_TRUE(readFile(golden) == bytes) << "differs from " << golden;
}

} // namespace

TEST(Workbook, PricedProjectMatchesTheGoldenFileAndParsesAsXml) {
    useUtc();
    World s;
    ASSERT_TRUE(buildSampleProject(s, "Ловен"));
    ASSERT_GT(s.project->priceTotal(), 0) << "the sample project must be priced";
    std::filesystem::path file = s.dir / "00042.xml";
    ASSERT_FALSE(exportWorkbook(*s.project, file, WorkbookSheets{}));
    std::string bytes = readFile(file);
    expectGolden(bytes, "loven_order.xml");

    std::string xml = text::cp1251ToUtf8(bytes);
    for (const char* name : {"Заказ", "Рассчет цены", "Профили и материалы", "Сборка"}) {
        std::string sheet = sheetOf(xml, name);
        ASSERT_FALSE(sheet.empty()) << name;
        EXPECT_EQ(declaredRows(sheet), countOf(sheet, "<Row>")) << name;
        EXPECT_EQ(countOf(sheet, "<Row>"), countOf(sheet, "</Row>")) << name;
    }
    const CalcResult& r = s.project->result;
    EXPECT_EQ(declaredRows(sheetOf(xml, "Рассчет цены")),
              static_cast<int>(r.articles.size() + r.fillings.size()) + 7);
    EXPECT_EQ(declaredRows(sheetOf(xml, "Профили и материалы")),
              static_cast<int>(r.cutList.size() + r.fillingPieces.size()) + 3);
    EXPECT_EQ(declaredRows(sheetOf(xml, "Сборка")), static_cast<int>(r.elements.size()) + 1);

    std::string command = "python3 " TAV_SOURCE_DIR "/tests/output/check_workbook.py '" +
                          file.string() + "' > /dev/null";
    if (std::system("python3 -c 'import xml.etree.ElementTree' 2>/dev/null") == 0) {
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
    }
}

TEST(Workbook, HeaderAndClosingLines) {
    World s;
    std::string xml = workbookText(*s.project, {false, false, false, true});
    EXPECT_EQ(xml.rfind("<?xml version=\"1.0\" encoding=\"windows-1251\"?>\n"
                        "<?mso-application progid=\"Excel.Sheet\"?>\n"
                        "<Workbook xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\"\n"
                        " xmlns:o=\"urn:schemas-microsoft-com:office:office\"\n",
                        0),
              0u);
    EXPECT_NE(xml.find("\n  <LastAuthor>orfa</LastAuthor>\n"), std::string::npos);
    EXPECT_NE(xml.find("\n    <Border ss:Position=\"Bottom\" ss:LineStyle=\"Continuous\" "
                       "ss:Weight=\"1\"/>\n"),
              std::string::npos);
    EXPECT_NE(xml.find("\n   <NumberFormat ss:Format=\"#,##0.00&quot;p.&quot;\"/>\n"),
              std::string::npos);
    // Only the assembly sheet, then the closing line and nothing after it.
    EXPECT_EQ(countOf(xml, "<Worksheet "), 1);
    EXPECT_NE(xml.find("<Worksheet ss:Name=\"Сборка\">\n<Table ss:ExpandedColumnCount=\"5\" "
                       "ss:ExpandedRowCount="),
              std::string::npos);
    EXPECT_EQ(xml.substr(xml.size() - 26), "</Worksheet>\n </Workbook>\n");
    EXPECT_NE(xml.find("\n </Table>\n<WorksheetOptions"), std::string::npos);
    EXPECT_NE(xml.find("\n x:Right=\"0.78740157499999996\" x:Top=\"0.984251969\"/>\n"),
              std::string::npos);
    EXPECT_NE(xml.find("\n <Number>3</Number>\n"), std::string::npos);
    EXPECT_EQ(xml.find('\r'), std::string::npos);
}

TEST(Workbook, PriceSheetTextsAndNumbers) {
    World s;
    Project& p = *s.project;
    setPriceRows(p);
    p.order.assemblyCost = 0;
    p.order.deliveryCost = 300;
    std::string sheet = sheetOf(workbookText(p), "Рассчет цены");
    EXPECT_EQ(declaredRows(sheet), 4 + 7);
    // Bars: the stock length in metres after the name, pieces as "шт.".
    EXPECT_NE(sheet.find(">Профиль вертикальный 5,4 м.<"), std::string::npos);
    EXPECT_NE(sheet.find("<Data ss:Type=\"String\">3 шт.</Data>"), std::string::npos);
    // By the metre, with a decimal comma in the String cell.
    EXPECT_NE(sheet.find("<Data ss:Type=\"String\">2,45 м.</Data>"), std::string::npos);
    EXPECT_NE(sheet.find("<Data ss:Type=\"String\">1,2346 м2</Data>"), std::string::npos);
    // Number cells carry a decimal point.
    EXPECT_NE(sheet.find("<Cell ss:StyleID=\"s23\"><Data ss:Type=\"Number\">1234.50</Data>"),
              std::string::npos);
    EXPECT_NE(sheet.find("<Cell ss:StyleID=\"s24\"><Data ss:Type=\"Number\">4</Data>"),
              std::string::npos);
    EXPECT_EQ(sheet.find("Number\">1234,50"), std::string::npos);
    // Model texts are escaped.
    EXPECT_NE(sheet.find(">Щетка &amp; уплотнитель<"), std::string::npos);
    EXPECT_NE(sheet.find(">Зеркало &lt;серебро&gt;<"), std::string::npos);
    // Totals at column 4: 1234.50 + 24.50 + 510.00 + 1851.85 = 3620.85.
    EXPECT_NE(sheet.find("<Row>\n</Row>\n<Row>\n<Cell ss:Index=\"4\" ss:StyleID=\"s23\"><Data "
                         "ss:Type=\"String\">Сумма</Data></Cell>\n<Cell ss:StyleID=\"s23\"><Data "
                         "ss:Type=\"Number\">3620.85</Data></Cell>\n</Row>"),
              std::string::npos);
    EXPECT_NE(sheet.find(">Сборка</Data></Cell>\n<Cell ss:StyleID=\"s23\"><Data "
                         "ss:Type=\"Number\">0.00<"),
              std::string::npos);
    EXPECT_NE(sheet.find(">Итого</Data></Cell>\n<Cell ss:StyleID=\"s23\"><Data "
                         "ss:Type=\"Number\">3920.85<"),
              std::string::npos);
}

TEST(Workbook, ErrorRowsShowTheirTextAndZeroTheSum) {
    World s;
    Project& p = *s.project;
    setPriceRows(p);
    p.result.articles[0].error = "ОШИБКА: Ролики не подходят к выбранным ручкам.";
    p.order.assemblyCost = 1500;
    std::string sheet = sheetOf(workbookText(p), "Рассчет цены");
    EXPECT_NE(sheet.find(">Профиль вертикальный 5,4 м. \nОШИБКА: Ролики не подходят"),
              std::string::npos);
    EXPECT_NE(sheet.find(">Сумма</Data></Cell>\n<Cell ss:StyleID=\"s23\"><Data "
                         "ss:Type=\"Number\">0.00<"),
              std::string::npos);
    EXPECT_NE(sheet.find(">Итого</Data></Cell>\n<Cell ss:StyleID=\"s23\"><Data "
                         "ss:Type=\"Number\">1500.00<"),
              std::string::npos);
}

TEST(Workbook, OrderSheetRowsAndValues) {
    useUtc();
    World s;
    Project& p = *s.project;
    p.order.orderNumber = "7";
    p.order.clientName = "O'Brien \"Ltd\"";
    p.order.assemblyCost = 0;
    p.order.deliveryCost = 250;
    p.order.orderDate = kOrderDate;
    p.color = nullptr;
    std::string sheet = sheetOf(workbookText(p), "Заказ");
    ASSERT_EQ(p.system->cabinetMode, 0);
    EXPECT_EQ(declaredRows(sheet), 12);
    EXPECT_EQ(countOf(sheet, "<Row>"), 12);
    EXPECT_NE(sheet.find("<Cell ss:StyleID=\"s38\"><Data ss:Type=\"String\">00007</Data>"),
              std::string::npos);
    EXPECT_NE(sheet.find(">O&apos;Brien &quot;Ltd&quot;<"), std::string::npos);
    EXPECT_NE(sheet.find(">Сборка</Data></Cell>\n<Cell ss:StyleID=\"s37\"><Data "
                         "ss:Type=\"String\">нет<"),
              std::string::npos);
    EXPECT_NE(sheet.find(">Доставка</Data></Cell>\n<Cell ss:StyleID=\"s37\"><Data "
                         "ss:Type=\"Number\">250<"),
              std::string::npos);
    EXPECT_NE(sheet.find(">15.03.2026<"), std::string::npos);
    EXPECT_NE(sheet.find(">Высота проема<"), std::string::npos);
    EXPECT_NE(sheet.find(">2000 мм<"), std::string::npos);
    EXPECT_EQ(sheet.find("Цоколь"), std::string::npos);
    EXPECT_NE(sheet.find(">Цвет профилей</Data></Cell>\n<Cell ss:StyleID=\"s37\"><Data "
                         "ss:Type=\"String\"></Data>"),
              std::string::npos);

    p.order.orderNumber = "без номера";
    EXPECT_NE(workbookText(p).find(">00000<"), std::string::npos);

    for (DSSystem* system : s.catalog->systems()) {
        if (!system->cabinetMode)
            continue;
        ASSERT_TRUE(p.setSystem(system));
        std::string cabinet = sheetOf(workbookText(p), "Заказ");
        EXPECT_EQ(declaredRows(cabinet), 14) << system->code;
        EXPECT_EQ(countOf(cabinet, "<Row>"), 14);
        EXPECT_NE(cabinet.find(">Высота шкафа<"), std::string::npos);
        EXPECT_NE(cabinet.find(">Цоколь<"), std::string::npos);
        EXPECT_NE(cabinet.find(">Ширина ЛДСП<"), std::string::npos);
    }
}

TEST(Workbook, TextsOutsideWindows1251AndControlCharactersStayWellFormed) {
    World s;
    Project& p = *s.project;
    p.order.clientName = std::string("Zoë 😀 \x01 конец");
    std::string bytes = workbookBytes(p, {true, false, false, false});
    EXPECT_EQ(bytes.find('\x1a'), std::string::npos);
    EXPECT_EQ(bytes.find('\x01'), std::string::npos);
    EXPECT_NE(text::cp1251ToUtf8(bytes).find(">Zo? ? ? конец<"), std::string::npos);
}

TEST(Workbook, ChoiceOfSheetsAndFailures) {
    World s;
    std::filesystem::path file = s.dir / "none.xml";
    EXPECT_FALSE(exportWorkbook(*s.project, file, {false, false, false, false}));
    EXPECT_FALSE(std::filesystem::exists(file));

    EXPECT_TRUE(exportWorkbook(*s.project, s.dir / "нет" / "a.xml", WorkbookSheets{}));
    writeFile(s.dir / "old.xml", "old");
    std::filesystem::create_directories(s.dir / "dir.xml" / "x");
    EXPECT_TRUE(exportWorkbook(*s.project, s.dir / "dir.xml", WorkbookSheets{}));
    EXPECT_EQ(readFile(s.dir / "old.xml"), "old");

    EXPECT_EQ(accountingCsvPathFor("/tmp/00012.xml"), "/tmp/00012.csv");
    EXPECT_EQ(accountingCsvPathFor("/tmp/заказ.xml"), "/tmp/заказ.csv");
    EXPECT_EQ(accountingCsvPathFor("/tmp/счёт"), "/tmp/сcsv"); // characters, not bytes
}

TEST(AccountingCsv, PricedProjectMatchesTheGoldenFile) {
    World s;
    ASSERT_TRUE(buildSampleProject(s, "Ловен"));
    std::filesystem::path file = s.dir / "00042.csv";
    ASSERT_FALSE(exportAccountingCsv(*s.project, file));
    std::string bytes = readFile(file);
    expectGolden(bytes, "loven_order.csv");
    std::string csv = text::cp1251ToUtf8(bytes);
    EXPECT_EQ(csv.rfind("№ заказа;00042\r\n№;Артикул;Название;Кол-во;Ед.изм.;Цена,руб.\r\n", 0),
              0u);
    EXPECT_EQ(csv.substr(csv.size() - 2), "\r\n");
}

TEST(AccountingCsv, LinesFieldsAndTotals) {
    World s;
    Project& p = *s.project;
    setPriceRows(p);
    p.order.orderNumber = "12";
    p.order.assemblyCost = 0;
    p.order.deliveryCost = 300;
    p.result.articles[1].name = "Щетка; торцевая";
    std::string csv = text::cp1251ToUtf8(accountingCsvBytes(p));
    EXPECT_EQ(csv, "№ заказа;00012\r\n"
                   "№;Артикул;Название;Кол-во;Ед.изм.;Цена,руб.\r\n"
                   "1;KL001;Профиль вертикальный 5,4 м.;3;шт;1234,50\r\n"
                   "2;KL13;Щетка; торцевая;2,45;м;24,50\r\n"
                   "3;KL14;Стопор;4;шт;510,00\r\n"
                   "4;З-01;Зеркало <серебро>;1,2346;м2;1851,85\r\n"
                   "Сумма;3620,85\r\n"
                   "Скидка;0,00\r\n"
                   "Сборка;0,00\r\n"
                   "Доставка;300,00\r\n"
                   "Итого;3920,85\r\n");
}

TEST(AccountingCsv, ErrorRowsWarningRowAndDiscount) {
    World s;
    Project& p = *s.project;
    setPriceRows(p);
    p.result.fillings.push_back({"ВНИМАНИЕ", "ОТДЕЛОЧНЫЙ МАТЕРИАЛ НЕ УКАЗАН", 0, 0.5, 0, ""});
    p.result.discountPercent = 10.0;
    p.result.pricesDirty = 1;
    std::string csv = text::cp1251ToUtf8(accountingCsvBytes(p));
    EXPECT_NE(csv.find("\r\n5;ВНИМАНИЕ;ОТДЕЛОЧНЫЙ МАТЕРИАЛ НЕ УКАЗАН;0,5000;м2;0,00\r\nСумма;"
                       "3620,85\r\nСкидка;362,09\r\n"),
              std::string::npos);

    p.result.articles[2].error = "ОШИБКА! Есть отрезки профилей больше 5,4 м.";
    p.result.pricesDirty = 1;
    csv = text::cp1251ToUtf8(accountingCsvBytes(p));
    EXPECT_NE(csv.find("3;KL14;Стопор \nОШИБКА! Есть отрезки профилей больше 5,4 м.;4;шт;510,00"),
              std::string::npos);
    EXPECT_NE(csv.find("Сумма;0,00\r\nСкидка;0,00\r\n"), std::string::npos);
}

TEST(AccountingCsv, FailedWriteIsReportedAndLeavesTheOldFile) {
    World s;
    EXPECT_TRUE(exportAccountingCsv(*s.project, s.dir / "нет" / "a.csv"));
    std::filesystem::create_directories(s.dir / "a.csv" / "x");
    EXPECT_TRUE(exportAccountingCsv(*s.project, s.dir / "a.csv"));
    EXPECT_TRUE(std::filesystem::is_directory(s.dir / "a.csv" / "x"));
}

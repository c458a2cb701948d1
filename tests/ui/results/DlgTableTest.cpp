#include "ui/ViewsTestSupport.h"

#include "output/ResultTables.h"
#include "ui/results/DlgTable.h"
#include "ui/results/TableRenderer.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

using namespace viewstest;

namespace {

// A printer page stand-in: an A4 sheet at 300 dots per inch.
QImage paperAt300Dpi(int height = 3508) {
    QImage paper(2480, height, QImage::Format_RGB32);
    paper.fill(Qt::white);
    const int dpm = static_cast<int>(std::lround(300 / 0.0254));
    paper.setDotsPerMeterX(dpm);
    paper.setDotsPerMeterY(dpm);
    return paper;
}

// An item table of the price page's shape with n single-line rows, and the totals table.
std::vector<GridTable> priceLikeTables(int n) {
    GridTable items(5, n + 1, {0.08, 0.14, 0.48, 0.15, 0.15});
    const char* heading[] = {"№", "Артикул", "Название", "Кол-во", "Цена, руб."};
    for (int c = 0; c < 5; ++c)
        items.setCell(c, 0, QString::fromUtf8(heading[c]), true);
    for (int r = 1; r <= n; ++r) {
        items.setCell(0, r, QString::number(r));
        items.setCell(1, r, QStringLiteral("AR%1").arg(r));
        items.setCell(2, r, QStringLiteral("Профиль ручка"));
        items.setCell(3, r, QStringLiteral("2 шт."));
        items.setCell(4, r, QStringLiteral("100,00"));
    }
    GridTable totals(2, 5, {0.25, 0.15}, 0.6);
    const char* labels[] = {"Сумма", "Скидка", "Сборка", "Доставка", "Итого"};
    for (int r = 0; r < 5; ++r) {
        totals.setCell(0, r, QString::fromUtf8(labels[r]), true);
        totals.setCell(1, r, QStringLiteral("0,00 руб."));
    }
    return {items, totals};
}

int sumOf(const std::vector<int>& v, int from, int to) {
    return std::accumulate(v.begin() + from, v.begin() + to, 0);
}

} // namespace

TEST(TableLayout, FontsAreTheSerifFaceAtElevenPointTwo) {
    ensureApp();
    const TableMetrics screen = TableMetrics::forDpi(96);
    // Times New Roman, or its metric-compatible stand-in.
    const QString family = QFontInfo(screen.regular).family();
    EXPECT_TRUE(family == QLatin1String("Times New Roman") ||
                family == QLatin1String("Liberation Serif"))
        << family.toStdString();
    EXPECT_TRUE(QFontInfo(screen.bold).bold());
    // 96 × 11.2 / 72 = 14.9, truncated: a 14-pixel character cell.
    const QFontMetricsF m(screen.regular);
    EXPECT_NEAR(m.ascent() + m.descent(), 14.0, 1.0);
    EXPECT_EQ(screen.padding, 6);
    EXPECT_EQ(screen.spacing, 2);

    const TableMetrics paper = TableMetrics::forDpi(600);
    const QFontMetricsF p(paper.regular);
    EXPECT_NEAR(p.ascent() + p.descent(), 93.0, 2.0);
    EXPECT_EQ(paper.padding, 41);
}

TEST(TableLayout, ColumnsFollowTheWindowUpTo800PixelsThen700) {
    ensureApp();
    EXPECT_EQ(TablePage::contentWidth(600), 600);
    EXPECT_EQ(TablePage::contentWidth(800), 800);
    EXPECT_EQ(TablePage::contentWidth(801), 700);
    EXPECT_EQ(TablePage::contentWidth(1600), 700);

    TablePage page;
    page.setTables(priceLikeTables(3));
    page.layout(1200, 96);
    const std::vector<int>& wide = page.tables()[0].columnWidths();
    EXPECT_EQ(wide, (std::vector<int>{56, 98, 336, 105, 105}));
    page.layout(500, 96);
    const std::vector<int>& narrow = page.tables()[0].columnWidths();
    EXPECT_EQ(narrow, (std::vector<int>{40, 70, 240, 75, 75}));
}

TEST(TableLayout, RowsGrowWithWrappedTextAndErrorLines) {
    ensureApp();
    GridTable t(2, 4, {0.3, 0.7});
    t.setCell(0, 0, QStringLiteral("Название"), true);
    t.setCell(1, 1, QStringLiteral("Профиль"));
    t.setCell(1, 2, QStringLiteral("Профиль 5,4 м. \nОШИБКА: слишком длинный профиль"));
    t.setCell(1, 3,
              QStringLiteral("очень длинное название профиля, которое не помещается в одну "
                             "строку колонки и переносится по словам на следующие строки"));
    TablePage page;
    page.setTables({t});
    const int content = page.layout(700, 96);
    const GridTable& laid = page.tables()[0];
    const TableMetrics m = TableMetrics::forDpi(96);
    const int line = QFontMetrics(m.regular).height();
    // One line of text, plus 2 pt spacing, plus the 5 pt margin.
    EXPECT_NEAR(laid.rowHeights()[1], line + m.spacing + m.padding, 1);
    EXPECT_NEAR(laid.rowHeights()[2], 2 * line + m.spacing + m.padding, 1);
    EXPECT_NEAR(laid.rowHeights()[3], 2 * line + m.spacing + m.padding, 1);
    EXPECT_EQ(laid.height(), sumOf(laid.rowHeights(), 0, 4));
    EXPECT_EQ(content, TablePage::kTopMargin + laid.height());
}

TEST(TableLayout, QuickOneLineCheckAgreesWithTheFullWordWrap) {
    ensureApp();
    for (int dpi : {96, 300}) {
        const TableMetrics m = TableMetrics::forDpi(dpi);
        const QStringList texts = {QStringLiteral("Горизонтальный межсекционный профиль"),
                                   QStringLiteral("KL10/11B"), QStringLiteral("Итого"),
                                   QStringLiteral("Щетка торцевая 5,5 м."),
                                   QStringLiteral("Stopper «Ω» — 2 шт.")};
        for (const QString& text : texts) {
            for (bool bold : {false, true}) {
                const QFont& font = bold ? m.bold : m.regular;
                const QFontMetrics fm(font);
                for (int page = 60; page <= TablePage::kWideLimit; page += 3) {
                    GridTable t(1, 1, {1.0});
                    t.setCell(0, 0, text, bold);
                    TablePage tablePage;
                    tablePage.setTables({t});
                    tablePage.layout(page, dpi);
                    const int wrap = page - 2 * m.padding;
                    const int expected =
                        fm.boundingRect(QRect(0, 0, wrap, 100000),
                                        Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text)
                            .height() +
                        m.spacing + m.padding;
                    ASSERT_EQ(tablePage.tables()[0].rowHeights()[0], expected)
                        << text.toStdString() << " bold " << bold << " width " << page << " dpi "
                        << dpi;
                }
            }
        }
    }
}

TEST(TableLayout, ScreenPaintingSkipsRowsOutsideTheVisibleBand) {
    ensureApp();
    TablePage page;
    page.setTables(priceLikeTables(40));
    const int content = page.layout(1000, 96);
    QImage all(1000, content + 10, QImage::Format_RGB32);
    all.fill(Qt::white);
    QImage band = all;
    {
        QPainter p(&all);
        page.paint(p, 1000);
    }
    const int top = 400;
    const int bottom = 600;
    {
        QPainter p(&band);
        page.paint(p, 1000, top, bottom);
    }
    // Inside the band both agree; far outside only the grid is drawn.
    EXPECT_EQ(all.copy(0, top, 1000, bottom - top), band.copy(0, top, 1000, bottom - top));
    const QColor text(76, 76, 76);
    auto hasText = [&](const QImage& image, int y0, int y1) {
        for (int y = y0; y < y1; ++y)
            for (int x = 0; x < 1000; ++x)
                if (image.pixelColor(x, y) == text)
                    return true;
        return false;
    };
    EXPECT_TRUE(hasText(all, 40, 300));
    EXPECT_FALSE(hasText(band, 40, 300));
    EXPECT_EQ(band.pixelColor(TablePage::kLeftMargin, 100), QColor(180, 180, 180));
}

TEST(TablePrinting, LongTableContinuesAndTotalsFollow) {
    ensureApp();
    QImage paper = paperAt300Dpi();
    const int left = 300 * 50 / 72;
    const int top = 300 * 40 / 72;
    const int width = 2480 - left - 300 * 25 / 72;
    const int gap = 300 * 15 / 72;

    // Measure the rows at the printer's resolution on an endless page first.
    TablePage probe;
    probe.setTables(priceLikeTables(150));
    {
        QPainter painter(&paper);
        QRect endless(left, top, width, 190000);
        ASSERT_TRUE(probe.printPage(painter, endless));
    }
    const std::vector<int> items = probe.tables()[0].rowHeights();
    const std::vector<int> totals = probe.tables()[1].rowHeights();
    const int h = items[1];
    ASSERT_EQ(items[150], h) << "single-line rows are expected to be equally high";

    // A page that holds the heading and 59 rows exactly; on the second page the table ends so
    // that just two rows of the totals fit below it.
    const int pageHeight = items[0] + 59 * h;
    const int roomRows = (gap + totals[0] + totals[1] + h - 1) / h;
    const int secondPageRows = 60 - roomRows;
    const int n = 59 + secondPageRows;
    const int room = pageHeight - secondPageRows * h;
    ASSERT_GE(room - gap, totals[0] + totals[1]);
    ASSERT_LT(room - gap, totals[0] + totals[1] + totals[2]);

    TablePage page;
    page.setTables(priceLikeTables(n));
    QImage sheet = paperAt300Dpi();
    QPainter painter(&sheet);

    QRect r(left, top, width, pageHeight);
    EXPECT_FALSE(page.printPage(painter, r));
    EXPECT_EQ(page.continuationTable(), 0u);
    EXPECT_EQ(page.continuationRow(), 60);
    EXPECT_EQ(r.top(), top + pageHeight);

    r = QRect(left, top, width, pageHeight);
    EXPECT_FALSE(page.printPage(painter, r));
    EXPECT_EQ(page.continuationTable(), 1u);
    EXPECT_EQ(page.continuationRow(), 2);
    EXPECT_EQ(r.top(), top + secondPageRows * h + gap + totals[0] + totals[1]);

    r = QRect(left, top, width, pageHeight);
    EXPECT_TRUE(page.printPage(painter, r));
    EXPECT_EQ(r.top(), top + totals[2] + totals[3] + totals[4] + gap);
    // Finished: the next print starts from the top again.
    EXPECT_EQ(page.continuationTable(), 0u);
    EXPECT_EQ(page.continuationRow(), 0);
}

TEST(TablePrinting, ATableStartsOnlyWhereItsHeadingsAndTwoRowsFit) {
    ensureApp();
    auto tableOf = [](int rows) {
        GridTable t(2, rows + 1, {0.2, 0.8});
        t.setCell(0, 0, QStringLiteral("№"), true);
        t.setCell(1, 0, QStringLiteral("Название"), true);
        t.setHeadingRow(0);
        for (int r = 1; r <= rows; ++r) {
            t.setCell(0, r, QString::number(r));
            t.setCell(1, r, QStringLiteral("строка %1").arg(r));
        }
        return t;
    };
    const std::vector<GridTable> tables{tableOf(3), tableOf(5)};
    QImage sheet = paperAt300Dpi();
    QPainter painter(&sheet);
    const int left = 200, top = 200, width = 2000;
    // Where the second table begins (after the first and its gap), and its rows' heights.
    TablePage first, probe;
    first.setTables({tables[0]});
    probe.setTables({tables[1]});
    QRect endless(left, top, width, 190000);
    ASSERT_TRUE(first.printPage(painter, endless));
    const int firstEnd = endless.top();
    QRect endless2(left, top, width, 190000);
    ASSERT_TRUE(probe.printPage(painter, endless2));
    const std::vector<int>& second = probe.tables()[0].rowHeights();
    // Room for the second table's headings and one row, then for two.
    for (const int rows : {1, 2}) {
        int room = firstEnd - top;
        for (int r = 0; r <= rows; ++r)
            room += second[static_cast<size_t>(r)];
        TablePage page;
        page.setTables(tables);
        QRect r(left, top, width, room);
        EXPECT_FALSE(page.printPage(painter, r));
        EXPECT_EQ(page.continuationTable(), 1u) << rows;
        // A lone row under its headings waits for the next page; two rows start the table here.
        EXPECT_EQ(page.continuationRow(), rows == 1 ? 0 : 3) << rows;
    }
}

TEST(TablePrinting, RowTallerThanAPageIsPrintedClippedOnAPageOfItsOwn) {
    ensureApp();
    GridTable t(2, 4, {0.2, 0.8});
    t.setCell(0, 0, QStringLiteral("№"), true);
    t.setCell(1, 0, QStringLiteral("Название"), true);
    QStringList lines;
    for (int i = 0; i < 300; ++i)
        lines << QStringLiteral("строка %1").arg(i);
    t.setCell(1, 1, lines.join(QLatin1Char('\n')));
    t.setCell(1, 2, QStringLiteral("после"));
    t.setCell(1, 3, QStringLiteral("последняя"));
    TablePage page;
    page.setTables({t});

    QImage sheet = paperAt300Dpi();
    const QRect pageRect(200, 200, 2000, 3000);
    int pages = 0;
    bool finished = false;
    std::vector<int> rowsAfterPage;
    while (!finished && pages < 10) {
        sheet.fill(Qt::white);
        QPainter painter(&sheet);
        QRect r = pageRect;
        finished = page.printPage(painter, r);
        painter.end();
        ++pages;
        rowsAfterPage.push_back(page.continuationRow());
        if (pages == 2) {
            // The clipped row filled the page down to its bottom and not a pixel further.
            EXPECT_EQ(r.top(), pageRect.top() + pageRect.height());
            for (int y = pageRect.top() + pageRect.height() + 1; y < sheet.height(); y += 7)
                for (int x = 0; x < sheet.width(); x += 5)
                    ASSERT_EQ(sheet.pixelColor(x, y), QColor(Qt::white)) << x << "," << y;
        }
    }
    EXPECT_TRUE(finished);
    EXPECT_EQ(pages, 3);
    ASSERT_GE(rowsAfterPage.size(), 2u);
    EXPECT_EQ(rowsAfterPage[0], 1); // the heading, then the tall row did not fit
    EXPECT_EQ(rowsAfterPage[1], 2); // the tall row alone
}

TEST(TablePrinting, GridAndTextAreDrawnInThePrintColours) {
    ensureApp();
    TablePage page;
    page.setTables(priceLikeTables(2));
    QImage sheet = paperAt300Dpi();
    QPainter painter(&sheet);
    QRect r(200, 200, 2000, 3000);
    ASSERT_TRUE(page.printPage(painter, r));
    painter.end();
    // The left grid line runs at the rectangle's left from the first row's top down.
    EXPECT_EQ(sheet.pixelColor(200, 210), QColor(130, 130, 130));
    EXPECT_EQ(sheet.pixelColor(199, 210), QColor(Qt::white));
    // The totals table starts at 60 % of the width.
    EXPECT_EQ(sheet.pixelColor(200 + 1200, r.top() - 300 * 15 / 72 - 5), QColor(130, 130, 130));
}

class DlgTableTest : public ::testing::Test {
protected:
    ProjectWorld world;
    Project& project = *world.project;
};

TEST_F(DlgTableTest, PriceCalculationRowsAndTotals) {
    buildThreeDoorProject(world);
    DlgTable table(project, 0);
    table.resize(1165, 700);
    const auto& tables = table.page().tables();
    ASSERT_EQ(tables.size(), 2u);
    const CalcResult& result = project.result;
    EXPECT_EQ(tables[0].rows(),
              static_cast<int>(1 + result.articles.size() + result.fillings.size()));
    EXPECT_EQ(tables[0].columns(), 5);
    EXPECT_EQ(tables[0].cell(0, 0)->text, QStringLiteral("№"));
    EXPECT_TRUE(tables[0].cell(4, 0)->bold);
    ASSERT_FALSE(result.articles.empty());
    EXPECT_EQ(tables[0].cell(1, 1)->text, QString::fromStdString(result.articles[0].code));
    EXPECT_FALSE(tables[0].cell(1, 1)->bold);
    EXPECT_EQ(tables[1].rows(), 5);
    EXPECT_DOUBLE_EQ(tables[1].offset(), 0.6);
    EXPECT_EQ(tables[1].cell(0, 4)->text, QStringLiteral("Итого"));
    EXPECT_TRUE(tables[1].cell(0, 4)->bold);

    // A refresh after the totals changed shows the new delivery cost.
    const int articlesBefore = tables[0].rows();
    project.order.deliveryCost = 700;
    table.receive(Notify::TotalsChanged);
    EXPECT_EQ(table.page().tables()[1].cell(1, 3)->text, QStringLiteral("700,00 руб."));
    EXPECT_EQ(table.page().tables()[0].rows(), articlesBefore);
}

TEST_F(DlgTableTest, PrintingLeavesTheScreenLayoutInPlace) {
    buildThreeDoorProject(world);
    DlgTable table(project, 3);
    table.resize(1165, 700);
    const std::vector<int> screenColumns = table.page().tables()[0].columnWidths();
    QImage sheet = paperAt300Dpi();
    QPainter painter(&sheet);
    int pages = 0;
    bool finished = false;
    while (!finished && pages < 10) {
        QRect r(208, 166, 2100, 1200);
        finished = table.printPage(painter, r);
        ++pages;
    }
    painter.end();
    // About forty assembly rows at 300 dpi need more than one 1200-dot page.
    EXPECT_TRUE(finished);
    EXPECT_GE(pages, 2);
    EXPECT_EQ(table.page().tables()[0].columnWidths(), screenColumns);
}

TEST_F(DlgTableTest, OrderInformationRowsFollowTheCosts) {
    project.order.assemblyCost = 0;
    project.order.deliveryCost = 0;
    DlgTable table(project, 1);
    ASSERT_EQ(table.page().tables().size(), 1u);
    EXPECT_EQ(table.page().tables()[0].rows(), 10);
    EXPECT_EQ(table.page().tables()[0].columns(), 2);

    project.order.assemblyCost = 1500;
    project.order.deliveryCost = 1;
    table.receive(Notify::OrderFieldChanged);
    const GridTable& t = table.page().tables()[0];
    EXPECT_EQ(t.rows(), 12);
    EXPECT_EQ(t.cell(0, 6)->text, QStringLiteral("Сборка"));
    EXPECT_TRUE(t.cell(0, 6)->bold);
    EXPECT_EQ(t.cell(1, 6)->text, QStringLiteral("1500 руб."));
    EXPECT_EQ(t.cell(1, 7)->text, QStringLiteral("1 руб."));
}

TEST_F(DlgTableTest, ProfilesMaterialsAndAssemblyRows) {
    buildThreeDoorProject(world);
    DlgTable profiles(project, 2);
    DlgTable assembly(project, 3);
    const CalcResult& result = project.result;
    ASSERT_EQ(profiles.page().tables().size(), 2u);
    EXPECT_EQ(profiles.page().tables()[0].rows(), static_cast<int>(result.cutList.size() + 1));
    EXPECT_EQ(profiles.page().tables()[1].rows(),
              static_cast<int>(result.fillingPieces.size() + 1));
    EXPECT_EQ(profiles.page().tables()[1].columns(), 6);
    EXPECT_EQ(profiles.page().tables()[0].gapAfterPoints(), 60);
    // Ten filled inserts in the sample project.
    EXPECT_EQ(result.fillingPieces.size(), 10u);

    ASSERT_EQ(assembly.page().tables().size(), 1u);
    const GridTable& t = assembly.page().tables()[0];
    ASSERT_EQ(t.rows(), static_cast<int>(result.elements.size() + 1));
    ASSERT_GT(t.rows(), 1);
    EXPECT_EQ(t.cell(0, 1)->text, QStringLiteral("1"));
    EXPECT_EQ(t.cell(1, 1)->text, QString::fromStdString(result.elements[0].kind));
    EXPECT_EQ(t.cell(1, t.rows() - 1)->text, QStringLiteral("Вставка"));
}

TEST_F(DlgTableTest, ScrollRangeIsTheExcessOverTheWindowAndWheelStepsTen) {
    buildThreeDoorProject(world);
    DlgTable table(project, 2);
    table.resize(1165, 700);
    table.show();
    const int content = table.page().contentHeight();
    EXPECT_EQ(content, TablePage::kTopMargin + table.page().tables()[0].height() + 15 +
                           table.page().tables()[1].height());
    table.resize(1165, 200);
    QScrollBar* bar = table.verticalScrollBar();
    EXPECT_EQ(bar->maximum(), table.page().contentHeight() + 50 - 200);

    QWheelEvent wheel(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, -240), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(table.viewport(), &wheel);
    EXPECT_EQ(bar->value(), 20);

    // A high-resolution wheel: eighths of a notch add up to the same ten pixels per notch.
    auto turn = [&](QPoint pixels, QPoint eighths) {
        QWheelEvent e(QPointF(50, 50), QPointF(50, 50), pixels, eighths, Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(table.viewport(), &e);
    };
    for (int i = 0; i < 8; ++i)
        turn(QPoint(), QPoint(0, -15));
    EXPECT_EQ(bar->value(), 30);
    turn(QPoint(), QPoint(0, 30)); // back by a quarter notch
    EXPECT_EQ(bar->value(), 28);
    // A touchpad: its pixels as they come.
    turn(QPoint(0, -7), QPoint(0, -42));
    EXPECT_EQ(bar->value(), 35);

    // Tall enough: no scrolling.
    table.resize(1165, content + 50);
    EXPECT_EQ(bar->maximum(), 0);
}

TEST_F(DlgTableTest, Screenshots) {
    buildThreeDoorProject(world);
    project.order.orderNumber = "2026-0142";
    project.order.clientName = "Иванова Мария Сергеевна";
    project.order.address = "ул. Садовая, д. 12, кв. 48";
    project.order.phone = "+7 912 345-67-89";
    project.order.assemblyCost = 1500;
    project.order.deliveryCost = 800;
    const int widths[] = {1165, 885, 1165, 1165};
    for (int mode = 0; mode < 4; ++mode) {
        DlgTable table(project, mode);
        table.resize(widths[mode], 720);
        table.show();
        const QImage shot = table.grab().toImage();
        EXPECT_TRUE(shot.save(screenshotPath(QStringLiteral("table_mode%1.png").arg(mode))));
        // Something was drawn besides the white page.
        bool ink = false;
        for (int y = 30; y < 200 && !ink; ++y)
            for (int x = 50; x < 700 && !ink; ++x)
                ink = shot.pixelColor(x, y) != QColor(Qt::white);
        EXPECT_TRUE(ink) << "mode " << mode;
    }
}

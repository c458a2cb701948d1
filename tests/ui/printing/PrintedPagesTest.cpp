// Pages read back as the workshop and the customer read them: sizes printed whole, tables that
// keep their titles over page breaks, a tall logo that leaves room for the text, every condition
// before the signatures, every page of the production pack naming its order, and a door's fittings
// beside its drawing or under it.

#include "ui/PdfTestSupport.h"
#include "ui/PrintTestSupport.h"

#include "calc/DSSystem.h"
#include "catalog/HandleProfile.h"
#include "catalog/ProfileColor.h"

#include "calc/RowFormat.h"
#include "catalog/Material.h"
#include "output/DoorAssemblySheet.h"
#include "output/LabelGrid.h"
#include "output/ProductionLabel.h"
#include "output/ResultTables.h"
#include "plan/CuttingPlan.h"
#include "ui/printing/DoorAssemblyPainter.h"
#include "ui/printing/PrintJob.h"
#include "ui/printing/PrintedDocument.h"
#include "ui/printing/ProductionPack.h"
#include "ui/results/DlgPlan.h"
#include "ui/results/DlgTable.h"
#include "ui/results/TableRenderer.h"

#include <QFile>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPicture>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

#include <map>

namespace {

struct OrderWorld : printtest::PrintWorld {
    OrderWorld() {
        buildTenDoorOrder();
        project->order.orderNumber = "00417";
        project->recalculate(true);
        useShippedConfig();
    }

    QString pack(const QString& name = QStringLiteral("pack.pdf"),
                 const LabelGrid& grid = LabelGrid()) {
        const QString path = file(name);
        const QString error = ProductionPack(*project, grid).writePdf(path.toStdString());
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        return path;
    }
};

constexpr double kPrintableWidthPt = 595.0 - 50.0 - 25.0;

bool isProfileGrey(QRgb c) {
    return std::abs(qRed(c) - 150) < 10 && std::abs(qGreen(c) - 150) < 10 &&
           std::abs(qBlue(c) - 150) < 10;
}

} // namespace

TEST(PrintedPages, AFillingSizeOnANarrowPanelPrintsWhole) {
    OrderWorld world;
    // Door 1's lower panel cut into narrow strips: sizes far wider than their panels.
    ASSERT_TRUE(viewstest::clickSplit(*world.project, 0, 0.5, 0.85, true));
    ASSERT_TRUE(viewstest::clickSplit(*world.project, 0, 0.25, 0.85, true));
    ASSERT_TRUE(viewstest::clickSplit(*world.project, 0, 0.12, 0.85, true));
    world.project->recalculate(true);
    const QString path = world.pack();
    const DoorAssemblySheet sheet = DoorAssemblySheet::build(*world.project);
    int page = 1;
    while (!pdftest::pageText(path, page).contains(QStringLiteral("Сборка двери 1 из 10")))
        ASSERT_LT(++page, 40);
    const std::vector<pdftest::Word> words = pdftest::words(path, page);
    const QImage image = pdftest::renderPage(path, page, 144, world.file(QStringLiteral("door1")));
    ASSERT_FALSE(image.isNull());
    int checked = 0;
    for (const AssemblyInsert& in : sheet.doors[0].inserts) {
        for (const std::string& size : {in.widthText, in.heightText}) {
            const pdftest::Word* w = pdftest::find(words, QString::fromStdString(size));
            ASSERT_NE(w, nullptr) << size;
            // The drawing's first mention of the size: no profile painted over its letters.
            int grey = 0, all = 0;
            for (int y = int(w->box.top() * 2); y < int(w->box.bottom() * 2); ++y)
                for (int x = int(w->box.left() * 2); x < int(w->box.right() * 2); ++x, ++all)
                    grey += isProfileGrey(image.pixel(x, y)) ? 1 : 0;
            EXPECT_LT(grey * 10, all) << size << " of (" << in.mark << ")";
            ++checked;
        }
    }
    EXPECT_GE(checked, 10);
}

TEST(PrintedPages, TheFittingsGoBesideANarrowDoorAndUnderAWideOne) {
    // Door 1 of the ten is narrow: its fittings stand right of the drawing, above the profiles.
    OrderWorld world;
    const QString narrow = world.pack();
    int page = 1;
    while (!pdftest::pageText(narrow, page).contains(QStringLiteral("Сборка двери 1 из 10")))
        ASSERT_LT(++page, 40);
    std::vector<pdftest::Word> words = pdftest::words(narrow, page);
    const pdftest::Word* fittings = pdftest::find(words, QStringLiteral("Фурнитура"));
    const pdftest::Word* profiles = pdftest::find(words, QStringLiteral("Профиль"));
    ASSERT_TRUE(fittings != nullptr && profiles != nullptr);
    EXPECT_GT(fittings->box.left(), 595.0 / 2);
    EXPECT_LT(fittings->box.bottom(), profiles->box.top());
    // Nothing of the drawing under the table: right of its left edge and above the profiles, only
    // the table's own words.
    QSet<QString> tableWords;
    const DoorAssemblySheet sheet = DoorAssemblySheet::build(*world.project);
    const std::vector<ResultTable> table = DoorAssemblySheet::fittingTables(sheet.doors[0]);
    ASSERT_EQ(table.size(), 1u);
    for (const ResultRow& row : table[0].rows)
        for (const ResultCell& cell : row.cells)
            for (const QString& w : QString::fromStdString(cell.text).split(
                     QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
                tableWords.insert(w);
    int besideTable = 0;
    for (const pdftest::Word& w : words) {
        if (w.box.right() <= fittings->box.left() || w.box.top() < fittings->box.top() ||
            w.box.bottom() >= profiles->box.top())
            continue;
        ++besideTable;
        EXPECT_TRUE(tableWords.contains(w.text)) << w.text.toStdString();
    }
    EXPECT_GE(besideTable, 6);

    // One door twice as wide as it is high, with a dozen panels: the drawing takes the page's
    // width, the fittings head the tables under it, and the tables run on to a second page.
    Project& p = *world.project;
    ASSERT_TRUE(p.setDoorCount(1));
    p.resetDoors();
    for (double y : {0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9})
        ASSERT_TRUE(viewstest::clickSplit(p, 0, 0.5, y, false));
    for (double y : {0.15, 0.35, 0.55, 0.75})
        ASSERT_TRUE(viewstest::clickSplit(p, 0, 0.3, y, true));
    p.recalculate(true);
    const QString wide = world.pack(QStringLiteral("wide.pdf"));
    page = 1;
    while (!pdftest::pageText(wide, page).contains(QStringLiteral("Сборка двери 1 из 1")))
        ASSERT_LT(++page, 40);
    words = pdftest::words(wide, page);
    fittings = pdftest::find(words, QStringLiteral("Фурнитура"));
    profiles = pdftest::find(words, QStringLiteral("Профиль"));
    ASSERT_NE(fittings, nullptr);
    if (profiles != nullptr) {
        EXPECT_LT(fittings->box.bottom(), profiles->box.top());
    }
    EXPECT_LT(fittings->box.left(), 595.0 / 4);
    EXPECT_TRUE(pdftest::pageText(wide, page)
                    .contains(QRegularExpression(QStringLiteral("Направляющая\\s+одна"))));
    EXPECT_TRUE(pdftest::pageText(wide, page + 1).contains(QStringLiteral("Сборка двери 1 из 1")));
    pdftest::renderPage(wide, page, 100,
                        viewstest::screenshotPath(QStringLiteral("pack-wide-door")));
    pdftest::renderPage(wide, page + 1, 100,
                        viewstest::screenshotPath(QStringLiteral("pack-wide-door-2")));
}

// Narrow glass strips cut from one sheet: each strip is told apart on the printed plan, every
// sheet names its material, and the offcuts' sizes are printed.
TEST(PrintedPages, EveryPieceOfTheCuttingPlanIsIdentified) {
    OrderWorld world;
    Project& p = *world.project;
    ASSERT_TRUE(viewstest::clickSplit(p, 0, 0.5, 0.85, true));
    ASSERT_TRUE(viewstest::clickSplit(p, 0, 0.25, 0.85, true));
    ASSERT_TRUE(viewstest::clickSplit(p, 0, 0.12, 0.85, true));
    auto* glass = const_cast<Material*>(
        world.material(QStringLiteral("glass"), QColor(200, 220, 230), 40, true));
    glass->width = 2800;
    glass->length = 2070;
    for (Insert* in : viewstest::insertsOf(p, 0))
        in->material = glass;
    p.doors->changed = true;
    p.recalculate(true);
    const CuttingPlan plan = DlgPlan::planFor(p);
    const MaterialCut* cut = nullptr;
    for (const MaterialCut& m : plan.materials)
        if (m.code == "glass")
            cut = &m;
    ASSERT_NE(cut, nullptr);
    ASSERT_GE(cut->pieces.size(), 5u);

    const QString path = world.pdf({false, false, false, false, true}, QStringLiteral("plan.pdf"));
    const QStringList pages = pdftest::pages(path);
    QString all = pages.join(QLatin1Char('\f'));
    // The glass's part of the plan: from its heading to the next material's.
    all = all.mid(all.indexOf(QStringLiteral("Зеркала / glass")));
    all = all.left(all.indexOf(QStringLiteral("Зеркала / "), 10));
    for (const SheetPlanPiece& piece : cut->pieces) {
        const QString mark = QStringLiteral("д%1 №%2").arg(piece.doorIndex + 1).arg(piece.mark);
        EXPECT_EQ(all.count(mark), 1) << mark.toStdString();
    }
    int sheetsNamed = 0;
    for (const QString& page : pages)
        sheetsNamed += static_cast<int>(page.count(QStringLiteral("glass Зеркало glass — лист")));
    EXPECT_EQ(sheetsNamed, static_cast<int>(cut->plan.sheets.size()));
    for (const PlannedSheet& sheet : cut->plan.sheets)
        for (const SheetRect& o : sheet.offcuts) {
            const QString size = QString::fromStdString(rowformat::wholeOrTenths(o.width) + "×" +
                                                        rowformat::wholeOrTenths(o.height));
            EXPECT_TRUE(all.contains(size)) << size.toStdString();
        }

    // The sheet drawn over the page's width: its grey spans the printable width at 100 dpi.
    int sheetPage = 0;
    while (sheetPage < pages.size() && !pages[sheetPage].contains(QStringLiteral("glass Зеркало")))
        ++sheetPage;
    ASSERT_LT(sheetPage, pages.size());
    const QImage image = pdftest::renderPage(
        path, sheetPage + 1, 100, viewstest::screenshotPath(QStringLiteral("plan-glass")));
    int widest = 0;
    for (int y = 0; y < image.height(); ++y) {
        int run = 0;
        for (int x = 0; x < image.width(); ++x) {
            run = qGray(image.pixel(x, y)) < 250 ? run + 1 : 0;
            widest = std::max(widest, run);
        }
    }
    EXPECT_GT(widest, 0.9 * (kPrintableWidthPt * 100 / 72));
}

TEST(PrintedPages, ContinuedTablesRepeatTheirTitlesAndGroups) {
    OrderWorld world;
    const QString price = world.pdf({false, true, false, false}, QStringLiteral("price.pdf"));
    const QStringList pages = pdftest::pages(price);
    ASSERT_GE(pages.size(), 2);
    for (const QString& text : pages) {
        EXPECT_TRUE(text.contains(QStringLiteral("Артикул")) &&
                    text.contains(QStringLiteral("Цена, руб.")))
            << text.toStdString();
    }

    // The filling cut sheet of the pack: every page its column titles.
    const QStringList pack = pdftest::pages(world.pack());
    int fillingPages = 0;
    for (const QString& text : pack) {
        if (!text.contains(QStringLiteral("Раскрой наполнения")))
            continue;
        ++fillingPages;
        EXPECT_TRUE(text.contains(QStringLiteral("Ширина, мм"))) << text.toStdString();
    }
    EXPECT_GE(fillingPages, 2);
}

// Groups of pieces as the filling cut sheet prints them (a caption, then the pieces under their
// column titles), the first group long enough to push the second one's caption to every place
// near a page's foot.
TEST(PrintedPages, AGroupNeverLosesItsNameOrTitlesAtAPageBreak) {
    OrderWorld world;
    for (int first : {24, 30, 33, 34, 35, 36, 37, 38, 40, 90}) {
        std::vector<ResultTable> tables;
        for (int g = 0; g < 2; ++g) {
            ResultTable caption;
            caption.columnFractions = {0.2, 0.65};
            caption.gapAfterPoints = 4;
            caption.keepWithNext = true;
            caption.rows.push_back(
                resultRow(ResultRowKind::Field, {"Материал", "ГРУППА" + std::to_string(g)}));
            caption.rows.push_back(resultRow(ResultRowKind::Field, {"Итого", "шт."}));
            ResultTable pieces;
            pieces.columnFractions = {0.3, 0.3};
            pieces.continuedTitle = "ГРУППА" + std::to_string(g);
            pieces.rows.push_back(resultRow(ResultRowKind::Heading, {"Номер", "Ширина, мм"}));
            for (int k = 1; k <= (g == 0 ? first : 5); ++k)
                pieces.rows.push_back(resultRow(
                    ResultRowKind::Item, {std::to_string(g + 1) + "-" + std::to_string(k), "500"}));
            tables.push_back(caption);
            tables.push_back(pieces);
        }
        TablePage page;
        page.setTables(DlgTable::gridTables(tables));
        QString error;
        const QByteArray bytes = DocumentPrinter::pdfOf(
            [&](QPagedPaintDevice& device) {
                QPainter painter(&device);
                PrintJob job(painter, device, QImage());
                return PrintedDocument::printTablePages(job, page) ? QString()
                                                                   : QStringLiteral("failed");
            },
            QStringLiteral("groups"), &error);
        ASSERT_TRUE(error.isEmpty());
        const QString path = world.file(QStringLiteral("groups%1.pdf").arg(first));
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
        out.close();
        const QStringList pages = pdftest::pages(path);
        for (int k = 0; k < pages.size(); ++k) {
            QStringList lines;
            for (const QString& l : pages[k].split(QLatin1Char('\n')))
                if (!l.trimmed().isEmpty())
                    lines << l.simplified();
            ASSERT_GE(lines.size(), 2);
            // Neither a caption nor the column titles end a page.
            EXPECT_FALSE(lines.last().startsWith(QStringLiteral("Итого")) ||
                         lines.last().startsWith(QStringLiteral("Материал")) ||
                         lines.last().startsWith(QStringLiteral("Номер")))
                << first << " rows, page " << k + 1;
            // A page that starts inside a group names the group and repeats the titles.
            if (k > 0 && lines[1].contains(QRegularExpression(QStringLiteral("^\\d-\\d")))) {
                ADD_FAILURE() << "page " << k + 1 << " starts without titles";
            }
            if (k > 0 && !lines[1].startsWith(QStringLiteral("Материал"))) {
                EXPECT_TRUE(lines[1].contains(
                    QRegularExpression(QStringLiteral("^ГРУППА\\d \\(продолжение\\)$"))))
                    << first << ": " << lines[1].toStdString();
                EXPECT_EQ(lines[2].toStdString(), "Номер Ширина, мм") << first;
            }
        }
        if (first == 90) {
            EXPECT_GE(pages.size(), 3);
        }
    }
}

TEST(PrintedPages, ATallLogoIsHeldToAFifthOfThePage) {
    const QRect page = PrintJob::pageRectFor(4960, 7016, 600);
    EXPECT_EQ(
        PrintJob::logoSizeFor(QSize(400, 1200), page.width(), PrintJob::logoHeightLimit(page)),
        QSize(423, 1270));
    EXPECT_EQ(PrintJob::logoSizeFor(QSize(200, 100), 4500, 1270), QSize(2540, 1270));
    EXPECT_EQ(PrintJob::logoSizeFor(QSize(1600, 180), 4336, 1270), QSize(4336, 487));

    OrderWorld world;
    world.writeLogo(QImage(QSize(400, 1200), QImage::Format_RGB32));
    const QString price = world.pdf({false, true, false, false}, QStringLiteral("tall.pdf"));
    const QStringList pages = pdftest::pages(price);
    ASSERT_FALSE(pages.isEmpty());
    EXPECT_LE(pages.size(), 3);
    for (const QString& text : pages)
        EXPECT_TRUE(text.contains(QStringLiteral("Цена, руб."))) << text.toStdString();
}

TEST(PrintedPages, EveryConditionComesBeforeTheSignatures) {
    OrderWorld world;
    QImage wide(QSize(800, 400), QImage::Format_RGB32);
    wide.fill(QColor(30, 90, 160));
    world.writeLogo(wide);
    std::string info = "Условия заказа\r\n";
    for (int k = 1; k <= 40; ++k)
        info += "Условие " + std::to_string(k) +
                ": изделие изготавливается по эскизу, подписанному "
                "заказчиком, конец" +
                std::to_string(k) + "\r\n";
    world.writeInfo(info);
    const QString path = world.pdf({true, false, false, false}, QStringLiteral("order.pdf"));
    const QStringList pages = pdftest::pages(path);
    const QString all = pages.join(QLatin1Char('\f'));
    int lastCondition = -1;
    for (int k = 1; k <= 40; ++k) {
        const int at = static_cast<int>(all.indexOf(QStringLiteral("конец%1\n").arg(k)));
        EXPECT_GT(at, lastCondition) << "condition " << k;
        lastCondition = std::max(lastCondition, at);
    }
    const int consent = static_cast<int>(all.lastIndexOf(QStringLiteral("ознакомлен(а)")));
    EXPECT_GT(consent, lastCondition);
    for (int k = 1; k <= pages.size(); ++k)
        pdftest::renderPage(path, k, 100,
                            viewstest::screenshotPath(QStringLiteral("long-conditions-%1").arg(k)));
}

// Label sheets printed to the paper's edges carry no line (each label names the order); a grid
// that leaves room under it takes the line too.
TEST(PrintedPages, EveryPackPageNamesItsOrderAndItsPlace) {
    struct Case {
        const char* grid;
        int perSheet;
        bool labelPagesNamed;
    };
    for (const Case c : {Case{"3x8:70x37", 24, false}, Case{"3x7:70x37", 21, true}}) {
        SCOPED_TRACE(c.grid);
        OrderWorld world;
        const QString path = world.pack(QStringLiteral("pack.pdf"), *LabelGrid::parse(c.grid));
        const QStringList pages = pdftest::pages(path);
        // The label sheets: the cut pieces, then the offcuts the plan keeps.
        const size_t labels =
            ProductionLabel::listFor(*world.project).size() +
            ProductionLabel::offcutLabels(*world.project, DlgPlan::planFor(*world.project)).size();
        const int labelPages = static_cast<int>((labels + c.perSheet - 1) / c.perSheet);
        const int total = static_cast<int>(pages.size());
        ASSERT_GT(total, labelPages + 12);
        for (int k = 0; k < total; ++k) {
            const QString& text = pages[k];
            const bool labelPage = k >= total - labelPages;
            if (labelPage) {
                EXPECT_TRUE(text.contains(QStringLiteral("Заказ 00417"))) << k + 1;
            }
            const bool named = !labelPage || c.labelPagesNamed;
            EXPECT_EQ(text.contains(QStringLiteral("Заказ № 00417")), named) << k + 1;
            EXPECT_EQ(text.contains(QStringLiteral("Стр. %1 из %2").arg(k + 1).arg(total)), named)
                << k + 1;
            if (named) {
                EXPECT_TRUE(text.contains(QStringLiteral("Иванов Пётр Сергеевич · "))) << k + 1;
            }
        }
    }
}

TEST(PrintedPages, TheQuoteIsOnePageWhoseTotalIsTheBills) {
    struct Case {
        int doors;
    };
    for (const Case c : {Case{3}, Case{6}, Case{10}}) {
        OrderWorld world;
        Project& p = *world.project;
        p.setDoorCount(c.doors);
        ASSERT_TRUE(p.setDiscountPercent(5.0));
        // One filling in every panel of door 1 and in the first two of door 2.
        const Material* same = nullptr;
        for (const auto& [id, in] : p.doors->doors[0].inserts)
            same = same != nullptr ? same : in.material;
        ASSERT_NE(same, nullptr);
        for (auto& [id, in] : p.doors->doors[0].inserts)
            in.material = same;
        int given = 0;
        for (auto& [id, in] : p.doors->doors[1].inserts)
            if (given++ < 2)
                in.material = same;
        p.doors->changed = true;
        p.recalculate(true);
        std::string unknown;
        const std::optional<DocumentChoice> quote = PrintedDocument::fromKeys("quote", unknown);
        ASSERT_TRUE(quote.has_value());
        const QString path = world.pdf(*quote, QStringLiteral("quote%1.pdf").arg(c.doors));
        pdftest::renderPage(path, 1, 100,
                            viewstest::screenshotPath(QStringLiteral("quote-%1").arg(c.doors)));
        ASSERT_EQ(pdftest::pageCount(path), 1) << c.doors;
        const QString text = pdftest::pageText(path, 1);
        EXPECT_TRUE(text.contains(QStringLiteral("Коммерческое предложение")));
        EXPECT_TRUE(text.contains(QStringLiteral("Заказ № 00417")));
        EXPECT_TRUE(text.contains(QString::fromStdString(p.system->code)));
        EXPECT_TRUE(text.contains(QString::fromStdString(p.color->code)));
        EXPECT_TRUE(text.contains(QString::fromStdString(p.handleProfile->code)));
        // The amounts the price calculation prints, each on the quote.
        const QString billPath =
            world.pdf({false, true, false, false}, QStringLiteral("bill%1.pdf").arg(c.doors));
        const QString bill = pdftest::pageText(billPath, pdftest::pageCount(billPath));
        for (const char* label : {"Сумма", "Скидка", "Сборка", "Доставка", "Итого"}) {
            const QRegularExpression re(QString::fromUtf8(label) +
                                        QStringLiteral("\\s+(-?\\d+,\\d\\d руб\\.)"));
            const QRegularExpressionMatch inBill = re.match(bill);
            const QRegularExpressionMatch inQuote = re.match(text);
            ASSERT_TRUE(inBill.hasMatch() && inQuote.hasMatch()) << label;
            EXPECT_EQ(inQuote.captured(1), inBill.captured(1)) << label;
        }
        // and the total is the one the program computes for the bill.
        const QString total = QString::asprintf("%.2f", static_cast<double>(p.grandTotal()) / 100.0)
                                  .replace(QLatin1Char('.'), QLatin1Char(',')) +
                              QStringLiteral(" руб.");
        EXPECT_TRUE(text.contains(total)) << total.toStdString();
        // Every door's fillings, and the overall sizes.
        for (int d = 1; d <= c.doors; ++d)
            EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("\\n\\s*%1\\s+m").arg(d))))
                << "door " << d;
        EXPECT_TRUE(text.contains(QStringLiteral("6000 мм")));
        EXPECT_TRUE(text.contains(QStringLiteral("2600 мм")));
        // A filling that a door has twice or more is named once with its count, once alone.
        const QString flat =
            QString(text).replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" "));
        int repeated = 0;
        for (const AssemblyDoor& door : DoorAssemblySheet::build(p).doors) {
            std::map<std::string, int> counts;
            for (const AssemblyInsert& in : door.inserts)
                ++counts[in.material];
            for (const auto& [material, n] : counts) {
                if (material.empty())
                    continue;
                const QString name = QString::fromStdString(material);
                const QString times = name + QStringLiteral(" ×%1").arg(n);
                if (n > 1) {
                    ++repeated;
                    EXPECT_TRUE(flat.contains(times)) << times.toStdString();
                } else {
                    EXPECT_TRUE(flat.contains(name)) << material;
                    EXPECT_FALSE(flat.contains(name + QStringLiteral(" ×"))) << material;
                }
            }
        }
        EXPECT_GT(repeated, 0) << "no door of the sample has a filling twice";
    }
}

TEST(PrintedPages, ADoorDrawingTakesNoMoreWidthThanItSaysItNeeds) {
    // The pack puts the fittings beside a drawing that leaves them widthNeeded's rest: the
    // dimensions left and right of the door (its two rails' axes) included.
    OrderWorld world;
    const DoorAssemblySheet sheet = DoorAssemblySheet::build(*world.project);
    ASSERT_EQ(sheet.doors[0].splitters.size(), 2u);
    for (const AssemblyDoor* door : {&sheet.doors[0], &sheet.doors[1]}) {
        for (const QRect& rect : {QRect(0, 0, 2200, 1600), QRect(100, 50, 4000, 3000)}) {
            SCOPED_TRACE(std::to_string(door->index) + " in " + std::to_string(rect.width()));
            QPicture picture;
            QPainter painter(&picture);
            DoorAssemblyPainter::paint(painter, rect, *door, 300);
            painter.end();
            const int needed = DoorAssemblyPainter::widthNeeded(rect, *door, 300);
            EXPECT_LT(needed, rect.width() / 2);
            EXPECT_LE(picture.boundingRect().width(), needed + 2);
        }
    }
}

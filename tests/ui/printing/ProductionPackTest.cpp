// The production pack read back as a workshop would read it: the page sequence and its texts
// (pdftotext), the label sheets counted piece by piece and offcut by offcut, the labels' QR codes
// decoded (zbar), and piece numbers that stay whole on narrow labels.

#include "ui/PdfTestSupport.h"
#include "ui/PrintTestSupport.h"

#include "calc/RowFormat.h"
#include "output/DoorAssemblySheet.h"
#include "output/FillingCutSheet.h"
#include "output/ProductionLabel.h"
#include "plan/CuttingPlan.h"
#include "ui/printing/DocumentPrinter.h"
#include "ui/printing/LabelSheetPainter.h"
#include "ui/printing/PrintedDocument.h"
#include "ui/printing/ProductionPack.h"
#include "ui/results/DlgPlan.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

namespace {

struct PackWorld : printtest::PrintWorld {
    PackWorld() {
        buildTenDoorOrder();
        // A vertical splitter in the first door, so that its sheet measures from the left too.
        viewstest::clickSplit(*project, 0, 0.5, 0.15, true);
        project->order.orderNumber = "00417";
        project->recalculate(true);
        useShippedConfig();
    }

    QString pack(const LabelGrid& grid = LabelGrid(),
                 const QString& name = QStringLiteral("pack.pdf"),
                 const ProductionPack::Progress& progress = {}) {
        const QString path = file(name);
        const QString error = ProductionPack(*project, grid).writePdf(path.toStdString(), progress);
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        return path;
    }
};

// The bytes of the one QR code zbar finds in an image, as UTF-8 text.
QString decodeQrCode(const QString& png) {
    // The tool's output is read as UTF-8; in binary mode zbar adds nothing to the symbol's bytes.
    return pdftest::run(QStringLiteral("zbarimg"), {QStringLiteral("--raw"), QStringLiteral("-q"),
                                                    QStringLiteral("-Sbinary"), png});
}

// A pack page's text without the line naming the order and the page's place in the pack.
QString withoutOrderLine(QString text) {
    static const QRegularExpression line(QStringLiteral("\\n[^\\n]*Стр\\. \\d+ из \\d+[^\\n]*"));
    return text.remove(line);
}

int occurrences(const QString& text, const QString& word) {
    return static_cast<int>(text.count(word));
}

// The labels of the pack: the cut pieces, then the offcuts its plan keeps.
std::vector<ProductionLabel> packLabels(const Project& project, size_t* offcuts = nullptr) {
    std::vector<ProductionLabel> labels = ProductionLabel::listFor(project);
    const std::vector<ProductionLabel> kept =
        ProductionLabel::offcutLabels(project, DlgPlan::planFor(project));
    labels.insert(labels.end(), kept.begin(), kept.end());
    if (offcuts != nullptr)
        *offcuts = kept.size();
    return labels;
}

// The text of pages first..last as drawn, line by line (pdftotext -raw), with non-breaking spaces
// read as spaces.
QString rawText(const QString& pdf, int first, int last) {
    QString text =
        pdftest::run(QStringLiteral("pdftotext"),
                     {QStringLiteral("-raw"), QStringLiteral("-f"), QString::number(first),
                      QStringLiteral("-l"), QString::number(last), pdf, QStringLiteral("-")});
    return text.replace(QChar(0x00A0), QLatin1Char(' '));
}

// "№ 12-3" of a label's place line, or empty.
QString pieceNumber(const ProductionLabel& label) {
    static const QRegularExpression number(QStringLiteral("№ [0-9]+-[0-9]+"));
    return label.lines.size() > 1 ? number.match(QString::fromStdString(label.lines[1])).captured(0)
                                  : QString();
}

// The piece number and "2 из 2" of a label each within one painted line.
void expectWholeParts(const ProductionLabel& label, QStringList lines) {
    for (QString& line : lines)
        line.replace(QChar(0x00A0), QLatin1Char(' '));
    static const QRegularExpression ofPieces(QStringLiteral("\\d+ из \\d+"));
    for (const QString& whole :
         {pieceNumber(label), ofPieces.match(QString::fromStdString(label.lines[1])).captured(0)}) {
        bool kept = whole.isEmpty();
        for (const QString& line : lines)
            kept = kept || line.contains(whole);
        EXPECT_TRUE(kept) << whole.toStdString() << " in "
                          << lines.join(QLatin1Char('|')).toStdString();
    }
}

} // namespace

TEST(ProductionPack, PagesRunFromTheOrderToTheLabelsWithTheWorkshopsTexts) {
    PackWorld world;
    Project& p = *world.project;
    const QString path = world.pack();
    const int pages = pdftest::pageCount(path);

    // The printed documents first, exactly as printing them alone gives them.
    const QString documents = world.pdf(PrintedDocument::workshop(), QStringLiteral("docs.pdf"));
    const int documentPages = pdftest::pageCount(documents);
    ASSERT_GT(documentPages, 3);
    for (int page = 1; page <= documentPages; ++page)
        EXPECT_EQ(withoutOrderLine(pdftest::pageText(path, page)).simplified().toStdString(),
                  pdftest::pageText(documents, page).simplified().toStdString())
            << page;

    // Then the filling cut sheet, every material with its pieces.
    int page = documentPages + 1;
    const FillingCutSheet fillings = FillingCutSheet::build(p);
    QString fillingText;
    while (page <= pages &&
           pdftest::pageText(path, page).contains(QStringLiteral("Раскрой наполнения"))) {
        EXPECT_EQ(pdftest::firstLine(path, page), QString::number(page)); // numbers run on
        fillingText += pdftest::pageText(path, page++);
    }
    ASSERT_FALSE(fillingText.isEmpty());
    for (const FillingCutGroup& g : fillings.groups) {
        EXPECT_TRUE(fillingText.contains(QString::fromStdString(g.code))) << g.code;
        for (const FillingCutPiece& piece : g.pieces)
            EXPECT_TRUE(fillingText.contains(QString::fromStdString(piece.number))) << piece.number;
    }

    // One assembly sheet per door, in door order, with the door's and the fillings' sizes.
    const DoorAssemblySheet assembly = DoorAssemblySheet::build(p);
    ASSERT_EQ(assembly.doors.size(), 10u);
    for (const AssemblyDoor& door : assembly.doors) {
        ASSERT_LE(page, pages);
        const QString text = pdftest::pageText(path, page);
        const QString title = QStringLiteral("Сборка двери %1 из 10").arg(door.index + 1);
        EXPECT_TRUE(text.contains(title)) << title.toStdString();
        EXPECT_EQ(pdftest::firstLine(path, page), QString::number(page));
        EXPECT_TRUE(text.contains(QString::fromStdString(rowformat::wholeOrTenths(door.height))));
        for (const AssemblyInsert& in : door.inserts)
            EXPECT_TRUE(text.contains(QString::fromStdString(in.widthText + " × " + in.heightText)))
                << "door " << door.index + 1 << " insert " << in.mark;
        for (const AssemblySplitter& s : door.splitters)
            EXPECT_TRUE(text.contains(QString::fromStdString(rowformat::wholeOrTenths(s.axis))))
                << "door " << door.index + 1 << " splitter " << s.mark;
        // Its track (the doors alternate, door 1 at the rear) and its share of the fittings.
        const QString track =
            door.index % 2 == 0 ? QStringLiteral("задняя") : QStringLiteral("передняя");
        EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("Направляющая\\s+") + track)))
            << "door " << door.index + 1;
        ASSERT_EQ(door.accessories.size(), 4u) << "rollers, brush, stopper, glass seal";
        for (const AssemblyAccessory& a : door.accessories)
            EXPECT_TRUE(text.contains(QString::fromStdString(a.code + " ")) &&
                        text.contains(QString::fromStdString(a.amount)))
                << "door " << door.index + 1 << ": " << a.code << " " << a.amount;
        ++page;
    }

    // The label sheets close the pack: one label per cut piece (each track cut from its length
    // line too), then one per kept offcut, 24 to a sheet, no page number.
    size_t offcuts = 0;
    const std::vector<ProductionLabel> labels = packLabels(p, &offcuts);
    size_t pieces = p.result.fillingPieces.size();
    size_t tracks = 0;
    for (const CutPieceRow& r : p.result.cutList) {
        const bool lengthLine = r.number.substr(r.number.find('-') + 1) == "0";
        pieces += lengthLine ? static_cast<size_t>(r.pieceCount) : 1;
        tracks += r.code == "KL02" || r.code == "KL05";
    }
    EXPECT_EQ(tracks, 2u);
    EXPECT_GT(offcuts, 0u);
    EXPECT_EQ(labels.size(), pieces + offcuts);
    const int labelPages = static_cast<int>((labels.size() + 23) / 24);
    EXPECT_EQ(pages, page - 1 + labelPages);
    int labelsSeen = 0;
    for (; page <= pages; ++page) {
        const QString text = pdftest::pageText(path, page);
        EXPECT_NE(pdftest::firstLine(path, page), QString::number(page));
        labelsSeen += occurrences(text, QStringLiteral("Заказ 00417"));
    }
    EXPECT_EQ(labelsSeen, static_cast<int>(pieces + offcuts));

    // Every page as the workshop sees it.
    for (int k = 1; k <= pages; ++k)
        pdftest::renderPage(path, k, 100,
                            viewstest::screenshotPath(
                                QStringLiteral("pack-page-%1").arg(k, 2, 10, QLatin1Char('0'))));
}

TEST(ProductionPack, EveryQrCodeOfALabelSheetReadsBackAsItsLabel) {
    PackWorld world;
    const QString path = world.pack();
    const std::vector<ProductionLabel> labels = packLabels(*world.project);
    ASSERT_GE(labels.size(), 24u);
    const int firstLabelPage =
        pdftest::pageCount(path) - static_cast<int>((labels.size() + 23) / 24) + 1;
    const QString png = viewstest::screenshotPath(QStringLiteral("pack-labels-300dpi"));
    ASSERT_FALSE(pdftest::renderPage(path, firstLabelPage, 300, png).isNull());

    // Each label cut out of the sheet on its own, as a hand scanner reads one label.
    const QImage sheet(png + QStringLiteral(".png"));
    const LabelGrid grid;
    const double px = 300.0 / 254.0; // pixels per 0.1 mm
    for (int k : {0, 1, 5, 23}) {
        const QRect cell(
            static_cast<int>(grid.labelLeft(k) * px), static_cast<int>(grid.labelTop(k) * px),
            static_cast<int>(grid.labelWidth * px), static_cast<int>(grid.labelHeight * px));
        const QString one = world.file(QStringLiteral("label%1.png").arg(k));
        ASSERT_TRUE(sheet.copy(cell).save(one));
        EXPECT_EQ(decodeQrCode(one).toStdString(), labels[static_cast<size_t>(k)].text()) << k;
    }
}

TEST(ProductionPack, TheLabelGridDecidesTheLabelSheets) {
    PackWorld world;
    const size_t labels = packLabels(*world.project).size();
    const int standard = pdftest::pageCount(world.pack());
    // The progress counts five documents, the filling sheet, ten doors' assembly sheets and the
    // labels, and its last step reports the whole.
    std::vector<std::pair<int, int>> steps;
    const int wide = pdftest::pageCount(world.pack(
        *LabelGrid::parse("2x7:99x38"), QStringLiteral("wide.pdf"), [&](int done, int total) {
            steps.emplace_back(done, total);
            return true;
        }));
    ASSERT_EQ(steps.size(), 17u);
    EXPECT_EQ(steps.back(), std::make_pair(17, 17));
    EXPECT_EQ(standard - static_cast<int>((labels + 23) / 24),
              wide - static_cast<int>((labels + 13) / 14));
    // A sheet more for the 25th label of the standard grid, none without labels.
    for (const auto& [count, sheets] : {std::pair{0, 0}, std::pair{24, 1}, std::pair{25, 2}})
        EXPECT_EQ(LabelSheetPainter(std::vector<ProductionLabel>(count), LabelGrid()).pageCount(),
                  sheets)
            << count;

    // A pack that cannot be written leaves no file and says why.
    const QString blocked = world.file(QStringLiteral("missing/pack.pdf"));
    const QString error = ProductionPack(*world.project).writePdf(blocked.toStdString());
    EXPECT_EQ(error.toStdString(), "Ошибка сохранения файла " + blocked.toStdString());
    EXPECT_FALSE(QFile::exists(blocked));

    // Stopped by its progress, nothing is written either.
    int calls = 0;
    const QString stopped = world.file(QStringLiteral("stopped.pdf"));
    EXPECT_EQ(ProductionPack(*world.project)
                  .writePdf(stopped.toStdString(),
                            [&](int done, int) {
                                ++calls;
                                return done < 3;
                            })
                  .toStdString(),
              ProductionPack::kCancelled);
    EXPECT_EQ(calls, 3);
    EXPECT_FALSE(QFile::exists(stopped));
}

TEST(ProductionPack, KeptOffcutsGetLabelsAfterThePiecesMarkedApart) {
    PackWorld world;
    Project& p = *world.project;
    const QString path = world.pack();
    size_t offcuts = 0;
    const std::vector<ProductionLabel> labels = packLabels(p, &offcuts);
    ASSERT_GT(offcuts, 0u);
    const int pages = pdftest::pageCount(path);
    const int firstLabelPage = pages - static_cast<int>((labels.size() + 23) / 24) + 1;
    const QString text = rawText(path, firstLabelPage, pages);
    EXPECT_EQ(occurrences(text, QStringLiteral("Деловой остаток")), static_cast<int>(offcuts));
    const QString colour = QStringLiteral("Цвет: ") + QString::fromStdString(p.color->code);
    EXPECT_EQ(occurrences(text, colour), static_cast<int>(offcuts));
    // Nothing but offcuts after the first of them.
    const QString tail = text.mid(text.indexOf(QStringLiteral("Деловой остаток")));
    EXPECT_EQ(occurrences(tail, QStringLiteral("Заказ 00417")), static_cast<int>(offcuts) - 1);
    for (size_t k = labels.size() - offcuts; k < labels.size(); ++k)
        EXPECT_TRUE(tail.contains(QString::fromStdString(labels[k].lines[4])))
            << labels[k].lines[4];

    // The last label of the pack read by a scanner: the last offcut; its stripe down the left
    // edge tells it from a piece at a glance.
    const QString png = viewstest::screenshotPath(QStringLiteral("pack-offcut-labels"));
    const QImage sheet = pdftest::renderPage(path, pages, 300, png);
    ASSERT_FALSE(sheet.isNull());
    const LabelGrid grid;
    const double px = 300.0 / 254.0;
    auto cellOf = [&](size_t k) {
        const int slot = static_cast<int>(k % 24);
        return QRect(
            static_cast<int>(grid.labelLeft(slot) * px), static_cast<int>(grid.labelTop(slot) * px),
            static_cast<int>(grid.labelWidth * px), static_cast<int>(grid.labelHeight * px));
    };
    const QRect last = cellOf(labels.size() - 1);
    const QString one = world.file(QStringLiteral("offcut.png"));
    ASSERT_TRUE(sheet.copy(last).save(one));
    EXPECT_EQ(decodeQrCode(one).toStdString(), labels.back().text());
    auto darkAtLeftEdge = [&](const QRect& cell) {
        const QPoint probe(cell.left() + 5, cell.center().y());
        return qGray(sheet.pixel(probe)) < 100;
    };
    EXPECT_TRUE(darkAtLeftEdge(last));
    const size_t lastPiece = labels.size() - offcuts - 1;
    if (lastPiece / 24 == (labels.size() - 1) / 24) {
        EXPECT_FALSE(darkAtLeftEdge(cellOf(lastPiece)));
    }
}

TEST(ProductionPack, APieceNumberIsNeverBrokenAcrossLinesOnANarrowLabel) {
    PackWorld world;
    const std::vector<ProductionLabel> packed = packLabels(*world.project);
    std::vector<ProductionLabel> labels = packed;
    // A track cut in two pieces as the pivot systems bill it.
    labels.push_back(
        {ProductionLabel::Kind::Profile,
         {"Заказ 00417", "№ 12-0, отрезок 2 из 2", "KL04 Пивотный профиль", "3000,0 мм"},
         {}});
    // Labels narrower and narrower for their height: the text wraps more and more.
    for (const char* gridText : {"3x8:70x37", "5x10:40x25", "7x8:30x36", "10x7:20x40"}) {
        SCOPED_TRACE(gridText);
        const LabelGrid grid = *LabelGrid::parse(gridText);
        const double px = 1200.0 / 254.0; // the PDF's pixels per 0.1 mm
        const QRectF rect(0, 0, grid.labelWidth * px, grid.labelHeight * px);
        int wrapped = 0;
        for (const ProductionLabel& label : labels) {
            QStringList lines = LabelSheetPainter::paintedLines(label, rect);
            for (QString& line : lines)
                line.replace(QChar(0x00A0), QLatin1Char(' '));
            wrapped += lines.size() > static_cast<int>(label.lines.size());
            // Every character painted, in order (lines break at spaces and after hyphens).
            static const QRegularExpression space(QStringLiteral("\\s"));
            QString written = QString::fromStdString(label.text());
            EXPECT_EQ(lines.join(QString()).remove(space).toStdString(),
                      written.remove(space).toStdString());
            expectWholeParts(label, lines);
        }
        EXPECT_GT(wrapped, 0);
    }
    // Every width between one and three lines for the track's place line: wherever the line
    // breaks, never inside the number or "2 из 2".
    const ProductionLabel& track = labels.back();
    for (int width = 200; width <= 1400; width += 3) {
        SCOPED_TRACE(width);
        expectWholeParts(track, LabelSheetPainter::paintedLines(track, QRectF(0, 0, width, 400)));
    }

    // The same on paper, read back from the PDF.
    const QString path = world.pack(*LabelGrid::parse("10x7:20x40"), QStringLiteral("narrow.pdf"));
    const int pages = pdftest::pageCount(path);
    const int firstLabelPage = pages - static_cast<int>((packed.size() + 69) / 70) + 1;
    const QString text = rawText(path, firstLabelPage, pages);
    static const QRegularExpression brokenNumber(QStringLiteral("№\\s*\\n"));
    EXPECT_FALSE(text.contains(brokenNumber));
    for (const ProductionLabel& label : packed) {
        const QString number = pieceNumber(label);
        EXPECT_TRUE(number.isEmpty() || text.contains(number)) << number.toStdString();
    }
    pdftest::renderPage(path, firstLabelPage, 100,
                        viewstest::screenshotPath(QStringLiteral("pack-narrow-labels")));
}

TEST(ProductionPack, ALabelOfAnySizeReadsBackAndOnlyAnOffcutIsStriped) {
    PackWorld world;
    size_t offcuts = 0;
    const std::vector<ProductionLabel> labels = packLabels(*world.project, &offcuts);
    ASSERT_GT(offcuts, 0u);
    // A profile piece, the piece with the longest article line, a filling and an offcut.
    std::vector<const ProductionLabel*> some = {&labels.front(), &labels.front()};
    for (const ProductionLabel& label : labels) {
        if (label.kind == ProductionLabel::Kind::Profile &&
            label.lines[2].size() > some[1]->lines[2].size())
            some[1] = &label;
    }
    for (ProductionLabel::Kind kind :
         {ProductionLabel::Kind::Filling, ProductionLabel::Kind::Offcut})
        for (const ProductionLabel& label : labels)
            if (label.kind == kind) {
                some.push_back(&label);
                break;
            }
    ASSERT_EQ(some.size(), 4u);

    // Painted alone at 600 dpi, as a hand scanner reads one label: the QR code whole (no text
    // over it) and the stripe down the left edge on the offcut only.
    const double px = 600.0 / 254.0;
    for (const char* gridText : {"3x8:70x37", "5x10:40x25", "10x7:20x40"}) {
        const LabelGrid grid = *LabelGrid::parse(gridText);
        for (size_t k = 0; k < some.size(); ++k) {
            SCOPED_TRACE(std::string(gridText) + " " + some[k]->lines[1]);
            QImage image(static_cast<int>(grid.labelWidth * px),
                         static_cast<int>(grid.labelHeight * px), QImage::Format_RGB32);
            image.fill(Qt::white);
            {
                QPainter painter(&image);
                LabelSheetPainter::paintLabel(painter, QRectF(image.rect()), *some[k]);
            }
            const QString png = world.file(QStringLiteral("one%1.png").arg(k));
            ASSERT_TRUE(image.save(png));
            EXPECT_EQ(decodeQrCode(png).toStdString(), some[k]->text());
            const bool striped = qGray(image.pixel(5, image.height() / 2)) < 100;
            EXPECT_EQ(striped, some[k]->kind == ProductionLabel::Kind::Offcut);
        }
    }
}

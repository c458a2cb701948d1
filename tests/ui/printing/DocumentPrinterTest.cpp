#include "ui/PdfTestSupport.h"
#include "ui/PrintTestSupport.h"

#include "ui/printing/DocumentPrinter.h"
#include "ui/printing/OrderPage.h"
#include "ui/printing/PrintJob.h"
#include "ui/printing/PrintedDocument.h"
#include "ui/results/CuttingPlanPainter.h"
#include "ui/results/DlgPlan.h"

#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <vector>

using namespace printtest;

namespace {

// A4 in points and the page rectangle's margins (50, 40, 25 and 40 pt).
constexpr double kPageWidth = 595.0;
constexpr double kLeft = 50.0;
constexpr double kRight = kPageWidth - 25.0;

// A logo of one flat colour, easy to find on a rendered page.
const QColor kLogoColour(0, 150, 60);
QImage flatLogo(QSize size) {
    QImage logo(size, QImage::Format_RGB32);
    logo.fill(kLogoColour);
    return logo;
}

// The box of the pixels near the logo colour on a rendered page (empty when there are none).
QRect logoBox(const QImage& page) {
    QRect box;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            if (std::abs(c.red() - kLogoColour.red()) < 40 &&
                std::abs(c.green() - kLogoColour.green()) < 40 &&
                std::abs(c.blue() - kLogoColour.blue()) < 40)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

// The numbers in the first column of the table rows of a page's text (the page number, alone on
// its line, is left out).
std::vector<int> rowNumbers(const QString& pageText) {
    static const QRegularExpression row(QStringLiteral("^\\s*(\\d+)\\s+\\S"));
    std::vector<int> numbers;
    for (const QString& line : pageText.split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch m = row.match(line);
        if (m.hasMatch())
            numbers.push_back(m.captured(1).toInt());
    }
    return numbers;
}

DocumentChoice only(std::size_t k) {
    DocumentChoice choice(PrintedDocument::all().size(), false);
    choice[k] = true;
    return choice;
}

} // namespace

// Every combination of the five documents: each starts on a new page, in the fixed order, and the
// page numbers run on through the job from 1.
TEST(PrintedDocuments, PagesOfEveryCombinationAreNumberedOnThroughTheJob) {
    PrintWorld world;
    world.buildTenDoorOrder();
    world.useShippedConfig();
    const std::size_t n = PrintedDocument::all().size();
    ASSERT_EQ(n, 5u);
    // A text only the first page of each document carries.
    const QString marker[] = {QString::fromUtf8(OrderPage::kShopText), QStringLiteral("Кол-во"),
                              QStringLiteral("Название профиля"), QStringLiteral("№ двери"),
                              QStringLiteral("Хлыстов по смете")};
    std::vector<int> alone(n);
    for (std::size_t k = 0; k < n; ++k)
        alone[k] = pdftest::pageCount(world.pdf(only(k)));
    EXPECT_EQ(alone[0], 1); // the order page is exactly one page
    EXPECT_EQ(alone[1], 2); // 40 price rows and the totals do not fit one page
    // The plan prints every page its painter lays out on the job's page, the last one too.
    int laidOut = 0;
    DocumentPrinter::pdfOf(
        [&](QPagedPaintDevice& device) {
            QPainter painter(&device);
            PrintJob job(painter, device, DocumentPrinter(*world.project).logo());
            job.beginPage();
            laidOut = CuttingPlanPainter(DlgPlan::planFor(*world.project))
                          .pageCount(job.rect().size(), job.dpiY());
            return QString();
        },
        QString(), nullptr);
    EXPECT_GE(laidOut, 2);
    EXPECT_EQ(alone[4], laidOut);
    // Documents are chosen by their keys, the first as well as the last.
    std::string unknown;
    EXPECT_EQ(PrintedDocument::fromKeys("order,plan", unknown),
              (DocumentChoice{true, false, false, false, true}));
    EXPECT_FALSE(PrintedDocument::fromKeys("order,plans", unknown));
    EXPECT_EQ(unknown, "plans");

    for (unsigned mask = 1; mask < (1u << n); ++mask) {
        DocumentChoice choice(n, false);
        int expected = 0;
        for (std::size_t k = 0; k < n; ++k) {
            choice[k] = (mask >> k) & 1u;
            expected += choice[k] ? alone[k] : 0;
        }
        const QStringList pages = pdftest::pages(world.pdf(choice));
        ASSERT_EQ(pages.size(), expected) << "documents " << mask;
        for (int p = 0; p < pages.size(); ++p)
            EXPECT_EQ(pdftest::firstLineOf(pages[p]), QString::number(p + 1))
                << "documents " << mask;
        int first = 0;
        for (std::size_t k = 0; k < n; ++k) {
            if (!choice[k])
                continue;
            EXPECT_TRUE(pages[first].contains(marker[k])) << "documents " << mask << ", " << k;
            if (first > 0) { // the page before belongs to the document before
                EXPECT_FALSE(pages[first - 1].contains(marker[k])) << "documents " << mask;
            }
            first += alone[k];
        }
    }
}

// A price table longer than a page continues on page 2 with the first row that did not fit, and
// page 2 carries the page number and the logo again; the totals follow the last row.
TEST(PrintedDocuments, ALongPriceTableContinuesOnTheNextPage) {
    PrintWorld world;
    world.buildTenDoorOrder();
    world.writeLogo(flatLogo(QSize(1600, 200)));
    const QString path = world.pdf({false, true, false, false});
    const QStringList pages = pdftest::pages(path);
    ASSERT_EQ(pages.size(), 2);

    const std::vector<int> first = rowNumbers(pages[0]);
    const std::vector<int> second = rowNumbers(pages[1]);
    ASSERT_FALSE(first.empty());
    ASSERT_FALSE(second.empty());
    std::vector<int> all = first;
    all.insert(all.end(), second.begin(), second.end());
    for (std::size_t i = 0; i < all.size(); ++i)
        EXPECT_EQ(all[i], static_cast<int>(i) + 1); // no row lost, none printed twice
    EXPECT_EQ(all.size(), 40u);
    EXPECT_FALSE(pages[0].contains(QStringLiteral("Итого")));
    EXPECT_TRUE(pages[1].contains(QStringLiteral("Итого")));

    EXPECT_EQ(pdftest::firstLineOf(pages[1]), QStringLiteral("2"));
    const QImage page2 = pdftest::renderPage(path, 2, 72, world.file(QStringLiteral("page2")));
    const QRect logo1 =
        logoBox(pdftest::renderPage(path, 1, 72, world.file(QStringLiteral("page1"))));
    EXPECT_FALSE(logo1.isEmpty());
    EXPECT_EQ(logoBox(page2), logo1);
}

// The logo is scaled to the printable width keeping its proportions; without a logo file, or with
// one that is no picture, the pages have none, the tables move up, and nothing is reported.
TEST(PrintedDocuments, TheLogoSpansThePrintableWidthOrIsLeftOut) {
    EXPECT_EQ(PrintJob::logoSizeFor(QSize(200, 100), 4500), QSize(4500, 2250));
    EXPECT_EQ(PrintJob::pageRectFor(4960, 7016, 600), QRect(416, 333, 4336, 6350));

    PrintWorld world;
    world.writeLogo(flatLogo(QSize(200, 100)));
    const DocumentChoice price{false, true, false, false};
    const QString withLogo = world.pdf(price, QStringLiteral("logo.pdf"));
    const QRect box =
        logoBox(pdftest::renderPage(withLogo, 1, 144, world.file(QStringLiteral("logo"))));
    // At 144 dots per inch two pixels make a point: 520 pt wide from the left margin, half as
    // high (a pixel at each edge is shared with the white around it).
    EXPECT_NEAR(box.left() / 2.0, kLeft, 1.0);
    EXPECT_NEAR(box.width() / 2.0, kRight - kLeft, 1.0);
    EXPECT_NEAR(box.height() / 2.0, (kRight - kLeft) / 2, 1.0);

    const pdftest::Word* heading = pdftest::find(pdftest::words(withLogo, 1), QStringLiteral("№"));
    ASSERT_NE(heading, nullptr);
    const double tableTopWithLogo = heading->box.top();

    for (const char* logoBytes : {static_cast<const char*>(nullptr), "not a picture"}) {
        world.removeLogo();
        if (logoBytes) {
            QFile bad(world.configPath(QStringLiteral("logo.jpg")));
            ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
            bad.write(logoBytes);
        }
        QString error;
        const QByteArray bytes = DocumentPrinter(*world.project).pdf(price, &error);
        EXPECT_TRUE(error.isEmpty());
        const QString path = world.pdf(price, QStringLiteral("plain.pdf"));
        EXPECT_TRUE(logoBox(pdftest::renderPage(path, 1, 72, world.file(QStringLiteral("plain"))))
                        .isEmpty());
        const pdftest::Word* top = pdftest::find(pdftest::words(path, 1), QStringLiteral("№"));
        ASSERT_NE(top, nullptr);
        // The logo's 260 pt and the 10 pt under it are given to the table.
        EXPECT_NEAR(tableTopWithLogo - top->box.top(), 270.0, 1.0);
    }
}

// The signature lines lie below the longer of the two texts, the shop's conditions below them,
// word-wrapped over the printable width; the whole of the conditions is printed.
TEST(PrintedDocuments, SignatureLinesAndConditionsFollowTheSketch) {
    PrintWorld world;
    viewstest::buildThreeDoorProject(world);
    world.useShippedConfig();
    const std::string longLine = "1. Заказ принимается в работу после внесения предоплаты, размер "
                                 "которой указан в договоре, а изделие изготавливается по размерам "
                                 "эскиза, подписанного заказчиком.";
    world.writeInfo("Условия заказа\r\n" + longLine + "\r\nПоследняя строка условий.\r\n");
    const QString path = world.pdf({true, false, false, false});
    const std::vector<pdftest::Word> words = pdftest::words(path, 1);

    const pdftest::Word* shop = pdftest::find(words, QStringLiteral("принял(а)."));
    const pdftest::Word* clientFirst = pdftest::find(words, QStringLiteral("С"));
    const pdftest::Word* clientLast = pdftest::find(words, QStringLiteral("согласен(а)."));
    const pdftest::Word* infoFirst = pdftest::find(words, QStringLiteral("Условия"));
    const pdftest::Word* wrapped = pdftest::find(words, QStringLiteral("заказчиком."));
    const pdftest::Word* infoLast = pdftest::find(words, QStringLiteral("условий."));
    ASSERT_TRUE(shop && clientFirst && clientLast && infoFirst && wrapped && infoLast);

    // The columns: left of middle - d and right of middle + d (W = 520 pt, d = 26 pt).
    const double middle = kRight - (kRight - kLeft) / 2;
    EXPECT_LT(shop->box.right(), middle - 26 + 1);
    EXPECT_NEAR(clientFirst->box.left(), middle + 26, 1.0);
    // The client's text needs two lines in its column, the shop's one.
    EXPECT_GT(clientLast->box.top(), clientFirst->box.bottom() - 1);
    const double textBottom = std::max(shop->box.bottom(), clientLast->box.bottom());

    // The signature lines, found on the rendered page as long rows of grey in each column.
    const QImage page = pdftest::renderPage(path, 1, 72, world.file(QStringLiteral("sign")));
    auto lineRow = [&](int x0, int x1) {
        for (int y = static_cast<int>(textBottom); y < infoFirst->box.top(); ++y) {
            int dark = 0;
            for (int x = x0; x < x1; ++x)
                dark += qGray(page.pixel(x, y)) < 235 ? 1 : 0;
            if (dark > (x1 - x0) * 9 / 10)
                return y;
        }
        return -1;
    };
    const int leftLine = lineRow(static_cast<int>(kLeft) + 2, static_cast<int>(middle - 26) - 2);
    const int rightLine = lineRow(static_cast<int>(middle + 26) + 2, static_cast<int>(kRight) - 2);
    ASSERT_GT(leftLine, 0);
    EXPECT_EQ(leftLine, rightLine);
    EXPECT_GT(leftLine, textBottom);
    EXPECT_GT(infoFirst->box.top(), leftLine);

    // The long line of the conditions wraps within the printable width, and nothing is lost.
    EXPECT_NEAR(infoFirst->box.left(), kLeft, 1.0);
    EXPECT_GT(wrapped->box.top(), infoFirst->box.bottom());
    EXPECT_GT(infoLast->box.top(), wrapped->box.top());
    for (const pdftest::Word& w : words) {
        if (w.box.top() >= infoFirst->box.top()) {
            EXPECT_LE(w.box.right(), kRight + 1) << w.text.toStdString();
        }
    }
}

// A device that cannot be opened ends the job with the printing error; nothing chosen is no job.
TEST(PrintedDocuments, ADeviceThatCannotStartTheJobGivesThePrintingError) {
    PrintWorld world;
    const QString path = world.file(QStringLiteral("нет/job.pdf"));
    QPdfWriter writer(path);
    DocumentPrinter printer(*world.project);
    EXPECT_EQ(printer.print(writer, {false, false, false, false}), QString());
    EXPECT_EQ(printer.print(writer, PrintedDocument::everything()),
              QStringLiteral("Ошибка печати. (StartDoc == -1)"));
    EXPECT_FALSE(QFile::exists(path));
}

// The whole order as the customer gets it, every page rendered under build/screenshots/ for a
// person to look at; fonts embedded, text searchable, the job's name as the title.
TEST(PrintedDocuments, FullOrderPagesForTheEye) {
    PrintWorld world;
    viewstest::buildThreeDoorProject(world);
    world.useShippedConfig();
    const QString path = world.pdf(PrintedDocument::everything());
    const int pages = pdftest::pageCount(path);
    EXPECT_GE(pages, 4);
    EXPECT_TRUE(pdftest::info(path).contains(QStringLiteral("Title:           Рассчет дверей")));
    const QStringList fonts = pdftest::run(QStringLiteral("pdffonts"), {path})
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                                  .mid(2);
    EXPECT_FALSE(fonts.isEmpty());
    for (const QString& font : fonts) {
        EXPECT_TRUE(font.contains(QStringLiteral("Liberation"))) << font.toStdString();
        EXPECT_TRUE(font.contains(QRegularExpression(QStringLiteral("\\byes\\s+\\w+\\s+yes\\b"))))
            << "embedded, with a Unicode map: " << font.toStdString();
    }
    EXPECT_TRUE(pdftest::pages(path).value(0).contains(QStringLiteral("Иванов Пётр Сергеевич")));

    const QString copy = viewstest::screenshotPath(QStringLiteral("print_order.pdf"));
    QFile::remove(copy);
    QFile::copy(path, copy);
    for (int page = 1; page <= pages; ++page) {
        const QImage image = pdftest::renderPage(
            path, page, 100, viewstest::screenshotPath(QStringLiteral("print_order-%1").arg(page)));
        EXPECT_EQ(image.size(), QSize(827, 1170)); // A4 at 100 dots per inch
    }
}

#include "ui/printing/OrderPage.h"

#include "catalog/Catalog.h"
#include "catalog/DataPaths.h"
#include "model/AtomicFile.h"
#include "model/Project.h"
#include "model/SketchLayout.h"
#include "output/ResultTables.h"
#include "text/Encoding.h"
#include "ui/printing/PrintJob.h"
#include "ui/results/DlgTable.h"
#include "ui/results/TableRenderer.h"
#include "ui/shared/PictureCache.h"
#include "ui/sketch/SketchRenderer.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

const char* const OrderPage::kShopText = "Заказ принял(а).";
const char* const OrderPage::kClientText = "С условиями заказа ознакомлен(а) и согласен(а).";

namespace {

constexpr int kWrapFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
const QColor kLineColor(100, 100, 100);

// The sketch is drawn at no more than this resolution: the material pictures are scaled to the
// drawing's pixels, and finer pixels than these only make the job slow and the file large.
constexpr int kSketchDpi = 300;

// The text with its line breaks as the layout keeps them within one paragraph.
QString withLineSeparators(const QString& text) {
    QString lines = text;
    lines.replace(QLatin1Char('\n'), QChar::LineSeparator);
    return lines;
}

// Lays the layout's text out word-wrapped to the width, line under line; the height of all lines.
qreal layOutLines(QTextLayout& layout, int width) {
    QTextOption option(Qt::AlignLeft);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal y = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();
    return y;
}

// The text word-wrapped to the rectangle's width, line by line from its top: a painter draws the
// lines that fit whole above the rectangle's bottom (a line is never cut through). Returns the
// height all lines need.
int paintWholeLines(QPainter* painter, const QString& text, const QFont& font, QPaintDevice* device,
                    const QRect& rect) {
    if (text.isEmpty() || rect.width() <= 0)
        return 0;
    QTextLayout layout(withLineSeparators(text), font, device);
    const qreal y = layOutLines(layout, rect.width());
    if (painter) {
        const qreal bottom = rect.top() + rect.height();
        for (int i = 0; i < layout.lineCount(); ++i) {
            const QTextLine line = layout.lineAt(i);
            if (rect.top() + line.y() + line.height() > bottom)
                break;
            line.draw(painter, rect.topLeft());
        }
    }
    return static_cast<int>(std::ceil(y));
}

// The lines of the text from `first` on that fit whole into rect, drawn from its top. Returns the
// index of the first line left for a following page (the line count when all are drawn) and
// sets `used` to the height drawn.
int paintLinesFrom(QPainter& painter, const QString& text, const QFont& font, QPaintDevice* device,
                   const QRect& rect, int first, int* used) {
    QTextLayout layout(withLineSeparators(text), font, device);
    layOutLines(layout, rect.width());
    const qreal origin = first < layout.lineCount() ? layout.lineAt(first).y() : 0;
    int k = first;
    for (; k < layout.lineCount(); ++k) {
        const QTextLine line = layout.lineAt(k);
        if (line.y() - origin + line.height() > rect.height() && k > first)
            break;
        line.draw(&painter, QPointF(rect.left(), rect.top() - origin));
    }
    *used = k > first ? static_cast<int>(std::ceil(layout.lineAt(k - 1).y() - origin +
                                                   layout.lineAt(k - 1).height()))
                      : 0;
    return k >= layout.lineCount() ? layout.lineCount() : k;
}

int lineCountOf(const QString& text, const QFont& font, QPaintDevice* device, int width) {
    QString lines = text;
    lines.replace(QLatin1Char('\n'), QChar::LineSeparator);
    QTextLayout layout(lines, font, device);
    QTextOption option(Qt::AlignLeft);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
        line.setLineWidth(width);
    layout.endLayout();
    return layout.lineCount();
}

int wrappedHeight(const QFontMetrics& metrics, int width, const QString& text) {
    if (text.isEmpty())
        return 0;
    return metrics.boundingRect(QRect(0, 0, std::max(width, 1), 1 << 24), kWrapFlags, text)
        .height();
}

// The sketch is drawn at no more than kSketchDpi: on a finer device it is drawn that coarse and
// scaled up by this factor.
double sketchScale(int dpiY) {
    return dpiY <= kSketchDpi ? 1.0 : static_cast<double>(dpiY) / kSketchDpi;
}

QRect coarseRect(const QRect& rect, double f) {
    return QRect(static_cast<int>(rect.left() / f), static_cast<int>(rect.top() / f),
                 static_cast<int>(rect.width() / f), static_cast<int>(rect.height() / f));
}

// Draws the door sketch into rect through the sketch view's print drawing; returns the height
// used in device units. The pictures scaled for paper are of no use on the screen: every way out
// of the program (printing, the preview, PDF files, the production pack, the quote) draws the
// sketch here, so this is where they are let go.
int printSketch(QPainter& painter, Project& project, const QRect& rect, int dpiY) {
    if (rect.width() <= 0 || rect.height() <= 0)
        return 0;
    SketchRenderer renderer(project, PictureCache::shared());
    const double f = sketchScale(dpiY);
    int used = 0;
    if (f == 1.0) {
        used = renderer.printRender(painter, rect, dpiY);
    } else {
        painter.save();
        painter.scale(f, f);
        used = static_cast<int>(renderer.printRender(painter, coarseRect(rect, f), kSketchDpi) * f);
        painter.restore();
    }
    PictureCache::shared().clear();
    return used;
}

// The height printSketch uses, without drawing.
int sketchHeight(const Project& project, const QRect& rect, int dpiY) {
    if (rect.width() <= 0 || rect.height() <= 0)
        return 0;
    const double f = sketchScale(dpiY);
    const QRect coarse = coarseRect(rect, f);
    const SketchFrame frame =
        printFrame(*project.doors, toScreenRect(coarse), std::min(dpiY, kSketchDpi));
    if (!frame.valid)
        return 0;
    const int used = frame.y0 + frame.height - coarse.top();
    return f == 1.0 ? used : static_cast<int>(used * f);
}

} // namespace

int OrderPage::paintSketch(QPainter& painter, Project& project, const QRect& rect, int dpiY) {
    return printSketch(painter, project, rect, dpiY);
}

QRect OrderPage::sketchDoorsArea(const Project& project, const QRect& rect, int dpiY) {
    if (rect.width() <= 0 || rect.height() <= 0)
        return {};
    const double f = sketchScale(dpiY);
    const QRect coarse = coarseRect(rect, f);
    const SketchFrame frame =
        printFrame(*project.doors, toScreenRect(coarse), std::min(dpiY, kSketchDpi));
    if (!frame.valid)
        return {};
    return QRect(static_cast<int>(frame.x0 * f), static_cast<int>(frame.y0 * f),
                 static_cast<int>(frame.width * f), static_cast<int>(frame.height * f));
}

int OrderPage::SignatureLayout::neededHeight() const {
    return info.top() - shopText.top() + infoHeight;
}

OrderPage::SignatureLayout OrderPage::layoutSignature(const QRect& rect, const QFont& font,
                                                      QPaintDevice* device, const QString& info) {
    const QFontMetrics metrics(font, device);
    const int left = rect.left();
    const int right = rect.left() + rect.width(); // exclusive, as the page rectangle is given
    const int w = right - left;
    const int middle = right - w / 2;
    const int d = static_cast<int>(0.05 * w);
    const int top = rect.top();

    SignatureLayout layout;
    const QString shop = QString::fromUtf8(kShopText);
    const QString client = QString::fromUtf8(kClientText);
    const int hL = wrappedHeight(metrics, middle - d - left, shop);
    const int hR = wrappedHeight(metrics, right - (middle + d), client);
    layout.shopText = QRect(left, top, middle - d - left, hL);
    layout.clientText = QRect(middle + d, top, right - (middle + d), hR);
    layout.lineY = top + std::max(hL, hR) + static_cast<int>(1.5 * std::min(hL, hR));
    const int infoTop = layout.lineY + static_cast<int>(2.5 * std::min(hL, hR));
    const int bottom = rect.top() + rect.height();
    layout.info = QRect(left, infoTop, w, std::max(0, bottom - infoTop));
    layout.infoHeight = paintWholeLines(nullptr, info, font, device, layout.info);
    return layout;
}

QString OrderPage::infoText(const std::string& baseFolder) {
    const std::string path = DataPaths::join(DataPaths::configPath(baseFolder), "info.txt");
    const std::optional<std::string> bytes = fileio::readWholeFile(path);
    if (!bytes)
        return {};
    QString text = QString::fromStdString(text::cp1251ToUtf8(*bytes));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

bool OrderPage::print(PrintJob& job, Project& project) {
    if (!job.beginPage())
        return false;
    QPainter& painter = job.painter();
    QRect& rect = job.rect();

    // The order information fills one page at most: whatever does not fit is not continued.
    TablePage table;
    table.setTables(DlgTable::gridTables(buildResultTables(project, ResultPage::Order)));
    table.printPage(painter, rect);
    rect.setTop(rect.top() + job.points(20));

    // The signature lines and the shop's conditions need their room below the sketch: at least
    // 110 pt, more when the conditions are longer, but the sketch keeps at least a third of the
    // space left on the page. Conditions longer than that run on over the following pages, and
    // the signatures come after their last line: the customer signs for every condition.
    const QString info = infoText(project.catalog().baseFolder());
    const int gap = job.points(10);
    const SignatureLayout probe = layoutSignature(rect, job.headerFont(), &job.device(), info);
    const int limit = std::max(job.points(110), rect.height() * 2 / 3);
    const bool runsOn = probe.neededHeight() + gap > limit;
    const int reserve = std::clamp(probe.neededHeight() + gap, job.points(110), limit);
    const int bottom = rect.top() + rect.height();
    QRect sketch = rect;
    sketch.setBottom(bottom - 1 - reserve);
    const int used = job.measuring() ? sketchHeight(project, sketch, job.dpiY())
                                     : printSketch(painter, project, sketch, job.dpiY());
    rect.setTop(rect.top() + used + gap);
    if (runsOn)
        return printConditionsThenSignatures(job, info);

    const SignatureLayout sign = layoutSignature(rect, job.headerFont(), &job.device(), info);
    paintSignature(job, sign, info);
    return true;
}

void OrderPage::paintSignature(PrintJob& job, const SignatureLayout& sign, const QString& info) {
    QPainter& painter = job.painter();
    painter.save();
    painter.setFont(job.headerFont());
    painter.setPen(Qt::black);
    painter.drawText(sign.shopText, kWrapFlags, QString::fromUtf8(kShopText));
    painter.drawText(sign.clientText, kWrapFlags, QString::fromUtf8(kClientText));
    painter.setPen(QPen(kLineColor, 1, Qt::SolidLine));
    painter.drawLine(sign.shopText.left(), sign.lineY, sign.shopText.right(), sign.lineY);
    painter.drawLine(sign.clientText.left(), sign.lineY, sign.clientText.right(), sign.lineY);
    painter.setPen(Qt::black);
    paintWholeLines(&painter, info, job.headerFont(), &job.device(), sign.info);
    painter.restore();
}

bool OrderPage::printConditionsThenSignatures(PrintJob& job, const QString& info) {
    const int lines = lineCountOf(info, job.headerFont(), &job.device(), job.rect().width());
    int next = 0;
    while (next < lines) {
        QRect& rect = job.rect();
        if (rect.height() < job.points(14)) {
            if (!job.beginPage())
                return false;
            continue;
        }
        job.painter().save();
        job.painter().setPen(Qt::black);
        int used = 0;
        next =
            paintLinesFrom(job.painter(), info, job.headerFont(), &job.device(), rect, next, &used);
        job.painter().restore();
        rect.setTop(rect.top() + used + job.points(10));
        if (next < lines && !job.beginPage())
            return false;
    }
    SignatureLayout sign = layoutSignature(job.rect(), job.headerFont(), &job.device(), {});
    if (sign.lineY + job.points(4) > job.rect().bottom()) {
        if (!job.beginPage())
            return false;
        sign = layoutSignature(job.rect(), job.headerFont(), &job.device(), {});
    }
    paintSignature(job, sign, {});
    return true;
}

#include "ui/printing/OrderPage.h"

#include "catalog/Catalog.h"
#include "catalog/DataPaths.h"
#include "model/AtomicFile.h"
#include "model/Project.h"
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

// The text word-wrapped to the rectangle's width, line by line from its top: a painter draws the
// lines that fit whole above the rectangle's bottom (a line is never cut through). Returns the
// height all lines need.
int paintWholeLines(QPainter* painter, const QString& text, const QFont& font, QPaintDevice* device,
                    const QRect& rect) {
    if (text.isEmpty() || rect.width() <= 0)
        return 0;
    QString lines = text;
    lines.replace(QLatin1Char('\n'), QChar::LineSeparator);
    QTextLayout layout(lines, font, device);
    QTextOption option(Qt::AlignLeft);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal y = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(rect.width());
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();
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

int wrappedHeight(const QFontMetrics& metrics, int width, const QString& text) {
    if (text.isEmpty())
        return 0;
    return metrics.boundingRect(QRect(0, 0, std::max(width, 1), 1 << 24), kWrapFlags, text)
        .height();
}

// Draws the door sketch into rect through the sketch view's print drawing; returns the height
// used in device units. On a fine device the drawing is made at kSketchDpi and scaled up.
int printSketch(QPainter& painter, Project& project, const QRect& rect, int dpiY) {
    if (rect.width() <= 0 || rect.height() <= 0)
        return 0;
    SketchRenderer renderer(project, PictureCache::shared());
    if (dpiY <= kSketchDpi)
        return renderer.printRender(painter, rect, dpiY);
    const double f = static_cast<double>(dpiY) / kSketchDpi;
    const QRect coarse(static_cast<int>(rect.left() / f), static_cast<int>(rect.top() / f),
                       static_cast<int>(rect.width() / f), static_cast<int>(rect.height() / f));
    painter.save();
    painter.scale(f, f);
    const int used = renderer.printRender(painter, coarse, kSketchDpi);
    painter.restore();
    return static_cast<int>(used * f);
}

} // namespace

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
    // space left on the page (longer conditions lose their last lines at the page's bottom).
    const QString info = infoText(project.catalog().baseFolder());
    const int gap = job.points(10);
    const SignatureLayout probe = layoutSignature(rect, job.headerFont(), &job.device(), info);
    const int reserve = std::clamp(probe.neededHeight() + gap, job.points(110),
                                   std::max(job.points(110), rect.height() * 2 / 3));
    const int bottom = rect.top() + rect.height();
    QRect sketch = rect;
    sketch.setBottom(bottom - 1 - reserve);
    const int used = printSketch(painter, project, sketch, job.dpiY());
    // The pictures scaled for paper are of no use on the screen. Every way out of the program
    // (printing, the preview, PDF files, the production pack) draws the sketch only here, so this
    // is where they are let go.
    PictureCache::shared().clear();
    rect.setTop(rect.top() + used + gap);

    const SignatureLayout sign = layoutSignature(rect, job.headerFont(), &job.device(), info);
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
    return true;
}

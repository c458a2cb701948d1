#include "ui/printing/LabelSheetPainter.h"

#include "output/QrCode.h"
#include "ui/shared/CellFont.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QVector>

#include <algorithm>
#include <cmath>

namespace {

const QColor kGuideColor(200, 200, 200);
constexpr double kPaddingShare = 0.06; // of the label's height
constexpr double kLineShare = 0.115;   // a text line's cell height, of the label's height
constexpr int kWrap = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

// The QR code as dark runs along each row: whole rectangles leave no seams between modules.
void paintQr(QPainter& painter, const QRectF& square, const QrCode& code) {
    const int quiet = 2; // light modules around the symbol (the label's padding adds more)
    const double module = square.width() / (code.size() + 2 * quiet);
    // Each row's dark runs as rectangles, drawn in one call: one fill state for the symbol keeps
    // the label sheets quick to write and small.
    QVector<QRectF> runs;
    for (int y = 0; y < code.size(); ++y) {
        for (int x = 0; x < code.size();) {
            if (!code.dark(x, y)) {
                ++x;
                continue;
            }
            int end = x;
            while (end < code.size() && code.dark(end, y))
                ++end;
            runs.append(QRectF(square.left() + (quiet + x) * module,
                               square.top() + (quiet + y) * module, (end - x) * module, module));
            x = end;
        }
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawRects(runs);
    painter.restore();
}

// Height the lines take in the fonts, word-wrapped to the width.
double textHeight(const ProductionLabel& label, const QFont& regular, const QFont& bold,
                  double width) {
    double h = 0;
    for (size_t i = 0; i < label.lines.size(); ++i) {
        const QFontMetricsF m(i == 0 || i + 1 == label.lines.size() ? bold : regular);
        h += m.boundingRect(QRectF(0, 0, width, 1e6), kWrap, QString::fromStdString(label.lines[i]))
                 .height();
    }
    return h;
}

} // namespace

LabelSheetPainter::LabelSheetPainter(std::vector<ProductionLabel> labels, const LabelGrid& grid)
    : labels_(std::move(labels)), grid_(grid) {}

int LabelSheetPainter::pageCount() const {
    const int perPage = std::max(1, grid_.perPage());
    return static_cast<int>((labels_.size() + static_cast<size_t>(perPage) - 1) /
                            static_cast<size_t>(perPage));
}

void LabelSheetPainter::paintPage(QPainter& painter, const QRectF& paper, int page) const {
    const double sx = paper.width() / LabelGrid::kPageWidth;
    const double sy = paper.height() / LabelGrid::kPageHeight;
    const size_t first = static_cast<size_t>(page) * static_cast<size_t>(grid_.perPage());
    for (int k = 0; k < grid_.perPage() && first + static_cast<size_t>(k) < labels_.size(); ++k) {
        const QRectF rect(paper.left() + grid_.labelLeft(k) * sx,
                          paper.top() + grid_.labelTop(k) * sy, grid_.labelWidth * sx,
                          grid_.labelHeight * sy);
        paintLabel(painter, rect, labels_[first + static_cast<size_t>(k)]);
    }
}

void LabelSheetPainter::paintLabel(QPainter& painter, const QRectF& rect,
                                   const ProductionLabel& label) {
    painter.save();
    painter.setClipRect(rect);
    // A faint outline: the cut of a label sheet, and a guide on plain paper.
    painter.setPen(QPen(kGuideColor, 0));
    painter.drawRect(rect);

    const double pad = rect.height() * kPaddingShare;
    const QRectF inner = rect.adjusted(pad, pad, -pad, -pad);
    const std::string text = label.text();
    double qrSide = 0;
    if (auto code = QrCode::encode(text)) {
        qrSide = std::min(inner.height(), inner.width() * 0.45);
        paintQr(painter,
                QRectF(inner.right() - qrSide, inner.top() + (inner.height() - qrSide) / 2, qrSide,
                       qrSide),
                *code);
    }
    const QRectF textRect(inner.left(), inner.top(), inner.width() - qrSide - pad / 2,
                          inner.height());

    // The largest font (up to the usual size) with which the texts fit the label.
    int cell = std::max(1, static_cast<int>(rect.height() * kLineShare));
    QFont regular, bold;
    for (;;) {
        regular = fontForCellHeight(QString::fromLatin1(kSansFace), cell, false);
        bold = fontForCellHeight(QString::fromLatin1(kSansFace), cell, true);
        if (cell <= 4 || textHeight(label, regular, bold, textRect.width()) <= textRect.height())
            break;
        cell = cell * 9 / 10;
    }
    painter.setPen(Qt::black);
    double y = textRect.top();
    for (size_t i = 0; i < label.lines.size(); ++i) {
        painter.setFont(i == 0 || i + 1 == label.lines.size() ? bold : regular);
        QRectF used;
        painter.drawText(QRectF(textRect.left(), y, textRect.width(), textRect.bottom() - y), kWrap,
                         QString::fromStdString(label.lines[i]), &used);
        y += used.height();
    }
    painter.restore();
}

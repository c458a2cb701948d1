#include "ui/printing/LabelSheetPainter.h"

#include "output/QrCode.h"
#include "ui/shared/CellFont.h"

#include <QPainter>
#include <QRegularExpression>
#include <QTextLayout>
#include <QVector>

#include <algorithm>
#include <memory>
#include <optional>

namespace {

const QColor kGuideColor(200, 200, 200);
constexpr double kPaddingShare = 0.06; // of the label's height
constexpr double kLineShare = 0.115;   // a text line's cell height, of the label's height
constexpr double kStripeShare = 0.6;   // an offcut label's stripe, of the padding

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

// A line of the label as painted: the space after "№" and those of "1 из 2" do not break, so a
// narrow label never ends a line with "№" (the number itself holds together at its hyphen). The
// QR code keeps the plain text.
QString paintedText(const std::string& line) {
    QString text = QString::fromStdString(line);
    text.replace(QStringLiteral("№ "), QStringLiteral("№\u00A0"));
    static const QRegularExpression ofPieces(QStringLiteral("(\\d+) из (\\d+)"));
    text.replace(ofPieces, QStringLiteral("\\1\u00A0из\u00A0\\2"));
    return text;
}

// Where the parts of a label go: the QR code (when the text encodes) on the right, the texts on
// the left, a stripe down the left edge of an offcut label.
struct LabelParts {
    std::optional<QrCode> code;
    QRectF qr;
    QRectF text;
    QRectF stripe;
};

LabelParts partsOf(const QRectF& rect, const ProductionLabel& label) {
    LabelParts parts;
    const double pad = rect.height() * kPaddingShare;
    const QRectF inner = rect.adjusted(pad, pad, -pad, -pad);
    double qrSide = 0;
    parts.code = QrCode::encode(label.qrText());
    if (parts.code) {
        qrSide = std::min(inner.height(), inner.width() * 0.45);
        parts.qr = QRectF(inner.right() - qrSide, inner.top() + (inner.height() - qrSide) / 2,
                          qrSide, qrSide);
    }
    parts.text =
        QRectF(inner.left(), inner.top(), inner.width() - qrSide - pad / 2, inner.height());
    if (label.kind == ProductionLabel::Kind::Offcut) {
        parts.stripe = QRectF(rect.left(), rect.top(), pad * kStripeShare, rect.height());
        parts.text.setLeft(parts.stripe.right() + pad / 2);
    }
    return parts;
}

// The label's lines wrapped at word boundaries to the width, one under the other from the top;
// the first and the last line (the order and the size) in bold.
struct LaidOutText {
    std::vector<std::unique_ptr<QTextLayout>> lines;
    double height = 0;
    double widest = 0;
};

LaidOutText layOut(const ProductionLabel& label, int cell, double width, QPaintDevice* device) {
    const QFont regular = fontForCellHeight(QString::fromLatin1(kSansFace), cell, false);
    const QFont bold = fontForCellHeight(QString::fromLatin1(kSansFace), cell, true);
    QTextOption option(Qt::AlignLeft | Qt::AlignTop);
    option.setWrapMode(QTextOption::WordWrap);
    LaidOutText out;
    for (size_t i = 0; i < label.lines.size(); ++i) {
        const bool strong = i == 0 || i + 1 == label.lines.size();
        auto layout = std::make_unique<QTextLayout>(paintedText(label.lines[i]),
                                                    strong ? bold : regular, device);
        layout->setTextOption(option);
        layout->beginLayout();
        for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
            line.setLineWidth(width);
            line.setPosition(QPointF(0, out.height));
            out.height += line.height();
            out.widest = std::max(out.widest, line.naturalTextWidth());
        }
        layout->endLayout();
        out.lines.push_back(std::move(layout));
    }
    return out;
}

// The largest font (up to the usual size) with which the texts fit: no taller than the text's
// rectangle and no line wider (a word that would stick out makes the font smaller, it is not
// broken).
LaidOutText fittedText(const ProductionLabel& label, const QRectF& labelRect, const QRectF& text,
                       QPaintDevice* device) {
    int cell = std::max(1, static_cast<int>(labelRect.height() * kLineShare));
    for (;;) {
        LaidOutText out = layOut(label, cell, text.width(), device);
        if (cell <= 4 || (out.height <= text.height() && out.widest <= text.width()))
            return out;
        cell = cell * 9 / 10;
    }
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

QRectF LabelSheetPainter::gridRect(const QRectF& paper) const {
    const double sx = paper.width() / LabelGrid::kPageWidth;
    const double sy = paper.height() / LabelGrid::kPageHeight;
    return QRectF(paper.left() + grid_.left() * sx, paper.top() + grid_.top() * sy,
                  grid_.columns * grid_.labelWidth * sx, grid_.rows * grid_.labelHeight * sy);
}

void LabelSheetPainter::paintLabel(QPainter& painter, const QRectF& rect,
                                   const ProductionLabel& label) {
    painter.save();
    painter.setClipRect(rect);
    // A faint outline: the cut of a label sheet, and a guide on plain paper.
    painter.setPen(QPen(kGuideColor, 0));
    painter.drawRect(rect);

    const LabelParts parts = partsOf(rect, label);
    if (!parts.stripe.isEmpty())
        painter.fillRect(parts.stripe, Qt::black);
    if (parts.code)
        paintQr(painter, parts.qr, *parts.code);
    const LaidOutText text = fittedText(label, rect, parts.text, painter.device());
    painter.setPen(Qt::black);
    for (const auto& line : text.lines)
        line->draw(&painter, parts.text.topLeft());
    painter.restore();
}

QStringList LabelSheetPainter::paintedLines(const ProductionLabel& label, const QRectF& rect,
                                            QPaintDevice* device) {
    const LabelParts parts = partsOf(rect, label);
    const LaidOutText text = fittedText(label, rect, parts.text, device);
    QStringList out;
    for (const auto& layout : text.lines) {
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            out << layout->text().mid(line.textStart(), line.textLength()).trimmed();
        }
    }
    return out;
}

#include "ui/results/TableRenderer.h"

#include "ui/shared/CellFont.h"

#include <QFontMetrics>
#include <QHash>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <climits>
#include <vector>

namespace {

const QColor kTextColor(76, 76, 76);
const QColor kScreenGridColor(180, 180, 180);
const QColor kPrintGridColor(130, 130, 130);
constexpr int kScreenTextInset = 5;
constexpr int kWrapFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

// Measures cell texts in one font. A cell of one short line (most cells) is recognised by the
// sum of its characters' advances, read from a table per font, which is far cheaper than shaping
// the text; everything else is word-wrapped by the font engine.
class CellMeasure {
public:
    explicit CellMeasure(const QFont& font)
        : metrics_(font), exact_(font), advances_(advanceTable(font)),
          lineHeight_(
              metrics_.boundingRect(QRect(0, 0, 1000, 1000), kWrapFlags, QStringLiteral("Ag"))
                  .height()) {}

    // Height of the text word-wrapped to the width.
    int height(const QString& text, int width) const {
        if (text.isEmpty())
            return 0;
        if (fitsOnOneLine(text, width))
            return lineHeight_;
        return metrics_.boundingRect(QRect(0, 0, std::max(width, 1), INT_MAX / 2), kWrapFlags, text)
            .height();
    }

private:
    static constexpr char16_t kTableEnd = 0x0500; // Latin, Greek and Cyrillic

    // Advances of the characters below kTableEnd, -1 until first asked for; kept per font for
    // the whole run (a handful of fonts: two weights per device resolution).
    static std::vector<qreal>& advanceTable(const QFont& font) {
        static QHash<QString, std::vector<qreal>> tables;
        std::vector<qreal>& table = tables[font.key()];
        if (table.empty())
            table.assign(kTableEnd, -1);
        return table;
    }

    // Conservative: a text within a pixel of the width takes the full path too, so that rounding
    // of the advances can never claim one line where the font engine wraps.
    bool fitsOnOneLine(const QString& text, int width) const {
        const qreal limit = width - 1.0;
        qreal sum = 0;
        for (const QChar c : text) {
            const char16_t u = c.unicode();
            if (u >= kTableEnd || u == u'\n')
                return false; // rare characters and line breaks take the full path
            qreal& advance = advances_[u];
            if (advance < 0)
                advance = exact_.horizontalAdvance(c);
            sum += advance;
            if (sum > limit)
                return false;
        }
        return true;
    }

    QFontMetrics metrics_;
    QFontMetricsF exact_;
    std::vector<qreal>& advances_;
    int lineHeight_;
};

} // namespace

GridTable::GridTable(int columns, int rows, std::vector<double> fractions, double offset,
                     int gapAfterPoints)
    : columns_(columns), rows_(rows), fractions_(std::move(fractions)), offset_(offset),
      gapAfterPoints_(gapAfterPoints) {
    fractions_.resize(static_cast<std::size_t>(std::max(columns_, 0)), 0.0);
}

void GridTable::setCell(int column, int row, const QString& text, bool bold) {
    if (column < 0 || column >= columns_ || row < 0 || row >= rows_)
        return;
    cells_[{column, row}] = GridCell{text, bold};
}

const GridCell* GridTable::cell(int column, int row) const {
    const auto it = cells_.find({column, row});
    return it == cells_.end() ? nullptr : &it->second;
}

TableMetrics TableMetrics::forDpi(int dpiY) {
    TableMetrics m;
    m.dpiY = dpiY > 0 ? dpiY : 96;
    // Times New Roman 11.2 pt, given as a cell height in device units.
    const int cell = static_cast<int>(m.dpiY * 11.2 / 72);
    m.regular = fontForCellHeight(QString::fromLatin1(kSerifFace), cell, false);
    m.bold = fontForCellHeight(QString::fromLatin1(kSerifFace), cell, true);
    m.padding = m.dpiY * 5 / 72;
    m.spacing = m.dpiY / 36;
    return m;
}

void TablePage::setTables(std::vector<GridTable> tables) {
    tables_ = std::move(tables);
    resetContinuation();
}

void TablePage::resetContinuation() {
    contTable_ = 0;
    contRow_ = 0;
}

int TablePage::contentWidth(int clientWidth) {
    return clientWidth > kWideLimit ? kWideLimit - 2 * kLeftMargin : clientWidth;
}

void TablePage::layoutTable(GridTable& table, int pageWidth, const TableMetrics& metrics) {
    table.columnWidths_.assign(static_cast<std::size_t>(table.columns_), 0);
    for (int c = 0; c < table.columns_; ++c)
        table.columnWidths_[c] = static_cast<int>(pageWidth * table.fractions_[c]);

    const CellMeasure regular(metrics.regular);
    const CellMeasure bold(metrics.bold);

    table.rowHeights_.assign(static_cast<std::size_t>(table.rows_), 0);
    std::vector<int> textHeights(static_cast<std::size_t>(table.rows_), 0);
    for (const auto& [position, cell] : table.cells_) {
        const auto [column, row] = position;
        const int width = table.columnWidths_[column] - 2 * metrics.padding;
        const int h = cell.bold ? bold.height(cell.text, width) : regular.height(cell.text, width);
        textHeights[row] = std::max(textHeights[row], h);
    }
    table.height_ = 0;
    for (int r = 0; r < table.rows_; ++r) {
        table.rowHeights_[r] = textHeights[r] + metrics.spacing + metrics.padding;
        table.height_ += table.rowHeights_[r];
    }
}

int TablePage::layout(int clientWidth, int dpiY) {
    screen_ = TableMetrics::forDpi(dpiY);
    const int width = contentWidth(clientWidth);
    contentHeight_ = kTopMargin;
    for (std::size_t i = 0; i < tables_.size(); ++i) {
        layoutTable(tables_[i], width, screen_);
        contentHeight_ += tables_[i].height_ + (i > 0 ? kTableGap : 0);
    }
    return contentHeight_;
}

void TablePage::paintTable(QPainter& painter, const GridTable& table, int left, int top,
                           int visibleTop, int visibleBottom) const {
    int y = top;
    for (int r = 0; r < table.rows_; ++r) {
        if (y + table.rowHeights_[r] < visibleTop || y > visibleBottom) {
            y += table.rowHeights_[r];
            continue;
        }
        int x = left;
        for (int c = 0; c < table.columns_; ++c) {
            const int right = x + table.columnWidths_[c];
            if (const GridCell* cell = table.cell(c, r)) {
                painter.setFont(cell->bold ? screen_.bold : screen_.regular);
                const QRect box(QPoint(x + kScreenTextInset, y + kScreenTextInset),
                                QPoint(right - 1, y + table.rowHeights_[r] - 1));
                painter.drawText(box, kWrapFlags, cell->text);
            }
            x = right;
        }
        y += table.rowHeights_[r];
    }

    painter.setPen(QPen(kScreenGridColor, 1, Qt::SolidLine));
    const int bottom = top + table.height_;
    int x = left;
    painter.drawLine(x, top, x, bottom);
    for (int c = 0; c < table.columns_; ++c) {
        x += table.columnWidths_[c];
        painter.drawLine(x, top, x, bottom);
    }
    const int right = x;
    y = top;
    painter.drawLine(left, y, right, y);
    for (int r = 0; r < table.rows_; ++r) {
        y += table.rowHeights_[r];
        painter.drawLine(left, y, right, y);
    }
    painter.setPen(kTextColor);
}

void TablePage::paint(QPainter& painter, int clientWidth, int visibleTop, int visibleBottom) const {
    const int width = contentWidth(clientWidth);
    painter.setPen(kTextColor);
    painter.setBackgroundMode(Qt::TransparentMode);
    int y = kTopMargin;
    for (const GridTable& table : tables_) {
        const int left = static_cast<int>(width * table.offset_) + kLeftMargin;
        paintTable(painter, table, left, y, visibleTop, visibleBottom);
        y += table.height_ + kTableGap;
    }
}

bool TablePage::printPage(QPainter& painter, QRect& rect) {
    const int dpiY = painter.device() ? painter.device()->logicalDpiY() : 96;
    const TableMetrics metrics = TableMetrics::forDpi(dpiY);
    const int pageWidth = rect.width();
    const int bottom = rect.top() + rect.height(); // exclusive, as the page rectangle is given
    bool drewOnThisPage = false;

    painter.save();
    painter.setBackgroundMode(Qt::TransparentMode);

    while (contTable_ < tables_.size()) {
        GridTable& table = tables_[contTable_];
        layoutTable(table, pageWidth, metrics);
        const int left = rect.left() + static_cast<int>(pageWidth * table.offset_);
        const int firstTop = rect.top();
        int y = firstTop;
        int row = contRow_;
        bool pageFull = false;
        for (; row < table.rows_; ++row) {
            const int h = table.rowHeights_[row];
            if (y + h > bottom) {
                // A row taller than a whole page would never fit: it is printed clipped on a page
                // of its own instead of holding the document back for ever.
                if (drewOnThisPage) {
                    pageFull = true;
                    break;
                }
            }
            painter.save();
            painter.setClipRect(QRect(QPoint(left, y), QPoint(rect.right(), bottom - 1)));
            int x = left;
            for (int c = 0; c < table.columns_; ++c) {
                const int right = x + table.columnWidths_[c];
                if (const GridCell* cell = table.cell(c, row)) {
                    painter.setFont(cell->bold ? metrics.bold : metrics.regular);
                    painter.setPen(kTextColor);
                    const QRect box(QPoint(x + metrics.padding, y + metrics.padding),
                                    QPoint(right - 1, y + h - 1));
                    painter.drawText(box, kWrapFlags, cell->text);
                }
                x = right;
            }
            painter.restore();
            y = std::min(y + h, std::max(bottom, firstTop));
            drewOnThisPage = true;
        }

        if (y > firstTop) {
            painter.setPen(QPen(kPrintGridColor, 1, Qt::SolidLine));
            int x = left;
            painter.drawLine(x, firstTop, x, y);
            for (int c = 0; c < table.columns_; ++c) {
                x += table.columnWidths_[c];
                painter.drawLine(x, firstTop, x, y);
            }
            int lineY = firstTop;
            painter.drawLine(left, lineY, x, lineY);
            for (int r = contRow_; r < row; ++r) {
                lineY = std::min(lineY + table.rowHeights_[r], y);
                painter.drawLine(left, lineY, x, lineY);
            }
        }
        rect.setTop(y);
        if (pageFull) {
            contRow_ = row;
            painter.restore();
            return false;
        }
        ++contTable_;
        contRow_ = 0;
        rect.setTop(rect.top() + metrics.dpiY * table.gapAfterPoints_ / 72);
    }
    painter.restore();
    resetContinuation();
    return true;
}

#include "ui/results/CuttingPlanPainter.h"

#include "calc/RowFormat.h"
#include "plan/CuttingPlan.h"
#include "text/Format.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace {

const QColor kText(60, 60, 60);
const QColor kLine(110, 110, 110);
const QColor kWaste(200, 200, 200);

// Dots for a size in points at the device's resolution.
int dots(double points, int dpi) {
    return std::max(1, static_cast<int>(points * dpi / 72.0 + 0.5));
}

QFont font(double points, int dpi, bool bold = false) {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(dots(points, dpi));
    f.setBold(bold);
    return f;
}

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

std::string money(int64_t kopecks) {
    return text::format("%.2f", static_cast<double>(kopecks) / 100.0);
}

// A light colour per door, so the pieces of one door are told apart at a glance.
QColor doorColor(int door) {
    static const QColor colors[] = {
        QColor(178, 214, 240), QColor(250, 214, 165), QColor(190, 226, 180), QColor(236, 190, 206),
        QColor(214, 200, 236), QColor(246, 236, 160), QColor(170, 222, 214), QColor(232, 200, 170),
        QColor(200, 210, 170), QColor(220, 220, 220)};
    return door >= 0 ? colors[door % 10] : QColor(230, 230, 230);
}

void hatch(QPainter& p, const QRectF& r) {
    if (r.width() <= 0 || r.height() <= 0)
        return;
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(245, 245, 245));
    p.drawRect(r);
    p.setBrush(QBrush(kLine, Qt::BDiagPattern));
    p.drawRect(r);
    p.restore();
}

// Text centred in a rectangle, only when it fits.
void label(QPainter& p, const QRectF& r, const QString& text) {
    const QFontMetrics m(p.font());
    if (m.horizontalAdvance(text) + 2 <= r.width() && m.height() <= r.height())
        p.drawText(r, Qt::AlignCenter, text);
}

std::string doorMark(int door, int mark) {
    return text::format("д%d №%d", door + 1, mark);
}

} // namespace

CuttingPlanPainter::CuttingPlanPainter(const CuttingPlan& plan) : plan_(plan) {
    for (const ArticleCut& a : plan_.articles)
        for (const PlannedBar& b : a.plan.bars)
            longestBar_ = std::max(longestBar_, b.length);
}

std::vector<CuttingPlanPainter::Block> CuttingPlanPainter::layout(int width, int maxSheetHeight,
                                                                  int dpi) const {
    std::vector<Block> blocks;
    const int line = QFontMetrics(font(9, dpi)).height();
    const int headLine = QFontMetrics(font(10, dpi, true)).height();
    blocks.push_back({Kind::Title, 0, 0, headLine + line + dots(8, dpi)});
    for (size_t a = 0; a < plan_.articles.size(); ++a) {
        const ArticleCut& cut = plan_.articles[a];
        blocks.push_back(
            {Kind::ArticleHead, static_cast<int>(a), 0, headLine + line + dots(4, dpi)});
        for (size_t u = 0; u < cut.plan.unplaced.size(); ++u)
            blocks.push_back({Kind::Note, static_cast<int>(a), static_cast<int>(u), line});
        for (size_t b = 0; b < cut.plan.bars.size(); ++b)
            blocks.push_back({Kind::Bar, static_cast<int>(a), static_cast<int>(b),
                              line + dots(18, dpi) + dots(5, dpi)});
    }
    for (size_t m = 0; m < plan_.materials.size(); ++m) {
        const MaterialCut& cut = plan_.materials[m];
        blocks.push_back({Kind::MaterialHead, static_cast<int>(m), 0,
                          dots(6, dpi) + headLine + line + dots(4, dpi)});
        for (size_t u = 0; u < cut.plan.unplaced.size(); ++u)
            blocks.push_back({Kind::Note, -1 - static_cast<int>(m), static_cast<int>(u), line});
        if (cut.sheetWidth <= 0 || cut.sheetHeight <= 0)
            continue;
        const double scale =
            std::min(static_cast<double>(width) / cut.sheetWidth,
                     static_cast<double>(maxSheetHeight - line - dots(8, dpi)) / cut.sheetHeight);
        const int h = static_cast<int>(cut.sheetHeight * std::max(scale, 0.0));
        for (size_t s = 0; s < cut.plan.sheets.size(); ++s)
            blocks.push_back(
                {Kind::Sheet, static_cast<int>(m), static_cast<int>(s), line + h + dots(8, dpi)});
    }
    return blocks;
}

std::vector<std::vector<CuttingPlanPainter::Block>> CuttingPlanPainter::pages(QSize page,
                                                                              int dpi) const {
    std::vector<std::vector<Block>> out(1);
    const std::vector<Block> blocks =
        layout(page.width(), std::min(page.height(), dots(330, dpi)), dpi);
    int y = 0;
    for (size_t i = 0; i < blocks.size(); ++i) {
        const Block& b = blocks[i];
        // A heading goes to the next page with the first block under it.
        const bool heading = b.kind == Kind::ArticleHead || b.kind == Kind::MaterialHead;
        const int need =
            heading && i + 1 < blocks.size() ? b.height + blocks[i + 1].height : b.height;
        if (y + need > page.height() && !out.back().empty()) {
            out.emplace_back();
            y = 0;
        }
        out.back().push_back(b);
        y += b.height;
    }
    return out;
}

int CuttingPlanPainter::pageCount(QSize page, int dpi) const {
    return static_cast<int>(pages(page, dpi).size());
}

void CuttingPlanPainter::paint(QPainter& painter, QRect page, int index, int dpi) const {
    const auto all = pages(page.size(), dpi);
    if (index < 0 || index >= static_cast<int>(all.size()))
        return;
    int y = page.top();
    for (const Block& b : all[static_cast<size_t>(index)]) {
        paintBlock(painter, b, QRect(page.left(), y, page.width(), b.height), dpi);
        y += b.height;
    }
}

int CuttingPlanPainter::height(int width, int dpi) const {
    int h = 0;
    for (const Block& b : layout(width, dots(330, dpi), dpi))
        h += b.height;
    return h;
}

void CuttingPlanPainter::paintAll(QPainter& painter, QRect area, int dpi) const {
    int y = area.top();
    for (const Block& b : layout(area.width(), dots(330, dpi), dpi)) {
        paintBlock(painter, b, QRect(area.left(), y, area.width(), b.height), dpi);
        y += b.height;
    }
}

void CuttingPlanPainter::paintBlock(QPainter& p, const Block& b, QRect r, int dpi) const {
    p.save();
    p.setPen(kText);
    const int headLine = QFontMetrics(font(10, dpi, true)).height();
    switch (b.kind) {
    case Kind::Title: {
        const PlanSettings& s = plan_.settings;
        p.setFont(font(10, dpi, true));
        p.drawText(QRect(r.left(), r.top(), r.width(), headLine), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("Раскрой"));
        p.setFont(font(9, dpi));
        p.drawText(QRect(r.left(), r.top() + headLine, r.width(), r.height() - headLine),
                   Qt::AlignLeft | Qt::AlignTop,
                   qs(text::format("Пропил %s мм, торцовка %s мм, деловой остаток от %s мм. "
                                   "Хлыстов по смете: %d, по раскрою: %d.",
                                   rowformat::wholeOrTenths(s.kerf).c_str(),
                                   rowformat::wholeOrTenths(s.trim).c_str(),
                                   rowformat::wholeOrTenths(s.minOffcut).c_str(), plan_.billBars(),
                                   plan_.planBars())));
        break;
    }
    case Kind::ArticleHead: {
        const ArticleCut& a = plan_.articles[static_cast<size_t>(b.group)];
        p.setFont(font(10, dpi, true));
        p.drawText(QRect(r.left(), r.top(), r.width(), headLine), Qt::AlignLeft | Qt::AlignVCenter,
                   qs(a.code + " " + a.name));
        p.setFont(font(9, dpi));
        std::string line =
            text::format("По смете: %d хл., %s руб.; по раскрою: %d хл., %s руб.", a.billBars,
                         money(a.billCost).c_str(), a.plan.newBars, money(a.plan.cost).c_str());
        if (a.plan.offcutsUsed > 0)
            line += text::format(" и %d остат.", a.plan.offcutsUsed);
        line += text::format("; нижняя граница: %d хл. — %s.", a.plan.lowerBound,
                             a.plan.proven ? "раскрой оптимален" : "оптимальность не доказана");
        p.drawText(QRect(r.left(), r.top() + headLine, r.width(), r.height() - headLine),
                   Qt::AlignLeft | Qt::AlignTop, qs(line));
        break;
    }
    case Kind::Note: {
        p.setFont(font(9, dpi));
        p.setPen(QColor(190, 30, 30));
        std::string line;
        if (b.group >= 0) {
            const ArticleCut& a = plan_.articles[static_cast<size_t>(b.group)];
            const BarPlanPiece& piece =
                a.pieces[static_cast<size_t>(a.plan.unplaced[static_cast<size_t>(b.item)])];
            line = text::format(plantext::kPieceTooLong, piece.length / 10.0) + " " +
                   doorMark(piece.doorIndex, piece.mark);
        } else {
            const MaterialCut& m = plan_.materials[static_cast<size_t>(-1 - b.group)];
            const SheetPlanPiece& piece =
                m.pieces[static_cast<size_t>(m.plan.unplaced[static_cast<size_t>(b.item)])];
            line = m.sheetWidth <= 0 || m.sheetHeight <= 0
                       ? std::string(plantext::kNoSheetSize)
                       : text::format(plantext::kPieceTooLarge, (piece.width + 5) / 10,
                                      (piece.height + 5) / 10);
            line += " " + doorMark(piece.doorIndex, piece.mark);
        }
        p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, qs(line));
        break;
    }
    case Kind::Bar:
        paintBar(p, b, r, dpi);
        break;
    case Kind::MaterialHead: {
        const MaterialCut& m = plan_.materials[static_cast<size_t>(b.group)];
        const int top = r.top() + dots(6, dpi);
        p.setFont(font(10, dpi, true));
        p.drawText(QRect(r.left(), top, r.width(), headLine), Qt::AlignLeft | Qt::AlignVCenter,
                   qs(m.group + " / " + m.code + " " + m.name));
        p.setFont(font(9, dpi));
        p.drawText(QRect(r.left(), top + headLine, r.width(), r.bottom() - top - headLine),
                   Qt::AlignLeft | Qt::AlignTop,
                   qs(text::format("Лист %s×%s мм; листов: %zu, нижняя граница: %d; %s.",
                                   rowformat::wholeOrTenths(m.sheetWidth).c_str(),
                                   rowformat::wholeOrTenths(m.sheetHeight).c_str(),
                                   m.plan.sheets.size(), m.plan.lowerBound,
                                   m.rotation ? "поворот деталей разрешен"
                                              : "направление (текстура) сохраняется")));
        break;
    }
    case Kind::Sheet:
        paintSheet(p, b, r, dpi);
        break;
    }
    p.restore();
}

void CuttingPlanPainter::paintBar(QPainter& p, const Block& b, QRect r, int dpi) const {
    const ArticleCut& a = plan_.articles[static_cast<size_t>(b.group)];
    const PlannedBar& bar = a.plan.bars[static_cast<size_t>(b.item)];
    const PlanSettings& s = plan_.settings;
    const int line = QFontMetrics(font(9, dpi)).height();
    p.setFont(font(9, dpi));
    std::string caption =
        text::format("%d. %s %s мм", b.item + 1, bar.fromOffcut ? "Остаток" : "Хлыст",
                     rowformat::wholeOrTenths(bar.length).c_str());
    if (bar.offcut > 0)
        caption += text::format(" — остаток %s мм%s", rowformat::wholeOrTenths(bar.offcut).c_str(),
                                s.keepsOffcut(bar.offcut) ? " (сохранить)" : "");
    p.drawText(QRect(r.left(), r.top(), r.width(), line), Qt::AlignLeft | Qt::AlignVCenter,
               qs(caption));

    const double scale = static_cast<double>(r.width() - 1) / longestBar_;
    const double top = r.top() + line;
    const double h = dots(18, dpi);
    const double left = r.left();
    const QRectF whole(left, top, bar.length * scale, h);
    // Trimmed ends and every cut are waste; the rest after the last piece is the offcut.
    p.setPen(Qt::NoPen);
    p.setBrush(kWaste);
    p.drawRect(whole);
    double x = s.trim;
    p.setFont(font(7.5, dpi));
    for (int index : bar.pieces) {
        const BarPlanPiece& piece = a.pieces[static_cast<size_t>(index)];
        const QRectF pr(left + x * scale, top, piece.length * scale, h);
        p.setPen(QPen(kLine, 0));
        p.setBrush(doorColor(piece.doorIndex));
        p.drawRect(pr);
        p.setPen(kText);
        const QString full = qs(rowformat::wholeOrTenths(piece.length) + " · " +
                                doorMark(piece.doorIndex, piece.mark));
        const QFontMetrics m(p.font());
        label(p, pr,
              m.horizontalAdvance(full) + 2 <= pr.width()
                  ? full
                  : qs(rowformat::wholeOrTenths(piece.length)));
        x += piece.length + s.kerf;
    }
    if (bar.offcut > 0) {
        const double end = bar.length - s.trim;
        hatch(p, QRectF(left + (end - bar.offcut) * scale, top, bar.offcut * scale, h));
    }
    p.setPen(QPen(kLine, 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(whole);
}

void CuttingPlanPainter::paintSheet(QPainter& p, const Block& b, QRect r, int dpi) const {
    const MaterialCut& m = plan_.materials[static_cast<size_t>(b.group)];
    const PlannedSheet& sheet = m.plan.sheets[static_cast<size_t>(b.item)];
    const int line = QFontMetrics(font(9, dpi)).height();
    const double area = static_cast<double>(m.sheetWidth) * m.sheetHeight;
    p.setFont(font(9, dpi));
    p.drawText(
        QRect(r.left(), r.top(), r.width(), line), Qt::AlignLeft | Qt::AlignVCenter,
        qs(text::format("Лист %d из %zu — использовано %.0f%%, деталей: %zu", b.item + 1,
                        m.plan.sheets.size(), 100.0 * sheet.usedArea / area, sheet.pieces.size())));
    const int h = r.height() - line - dots(8, dpi);
    const double scale = std::min(static_cast<double>(r.width() - 1) / m.sheetWidth,
                                  static_cast<double>(h) / m.sheetHeight);
    const QPointF origin(r.left(), r.top() + line);
    auto rectOf = [&](int32_t x, int32_t y, int32_t w, int32_t hh) {
        return QRectF(origin.x() + x * scale, origin.y() + y * scale, w * scale, hh * scale);
    };
    const QRectF whole = rectOf(0, 0, m.sheetWidth, m.sheetHeight);
    p.setPen(Qt::NoPen);
    p.setBrush(kWaste);
    p.drawRect(whole);
    for (const SheetRect& o : sheet.offcuts)
        hatch(p, rectOf(o.x, o.y, o.width, o.height));
    p.setFont(font(7.5, dpi));
    const QFontMetrics metrics(p.font());
    for (const PlacedPiece& placed : sheet.pieces) {
        const SheetPlanPiece& piece = m.pieces[static_cast<size_t>(placed.piece)];
        const QRectF pr = rectOf(placed.x, placed.y, placed.width, placed.height);
        p.setPen(QPen(kLine, 0));
        p.setBrush(doorColor(piece.doorIndex));
        p.drawRect(pr);
        p.setPen(kText);
        // Sizes as on the door: width × height, and a mark for a turned piece.
        const QString sizes =
            qs(rowformat::wholeOrTenths(piece.width) + "×" +
               rowformat::wholeOrTenths(piece.height) + (placed.rotated ? " ↻" : ""));
        const QString who = qs(doorMark(piece.doorIndex, piece.mark));
        const double lh = metrics.height();
        if (pr.height() >= 2 * lh + 2 && metrics.horizontalAdvance(sizes) + 2 <= pr.width()) {
            p.drawText(QRectF(pr.left(), pr.center().y() - lh, pr.width(), lh), Qt::AlignCenter,
                       sizes);
            label(p, QRectF(pr.left(), pr.center().y(), pr.width(), lh), who);
        } else {
            label(p, pr, sizes);
        }
    }
    p.setPen(QPen(kLine, 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(whole);
}

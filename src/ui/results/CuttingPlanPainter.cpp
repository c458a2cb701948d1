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

// A piece's name when the pieces are named (a cut list), else its door and mark.
template <class Piece>
std::string markOf(const std::vector<std::string>& names, int index, const Piece& piece) {
    const auto i = static_cast<size_t>(index);
    return i < names.size() ? names[i] : doorMark(piece.doorIndex, piece.mark);
}

// A piece's number in the list under its drawing, centred on the piece (over its edges when the
// piece is narrower than the number).
void numberMark(QPainter& p, const QRectF& r, int number) {
    const QString text = QString::number(number);
    const QFontMetricsF m(p.font());
    const double w = m.horizontalAdvance(text) + 2, h = m.height();
    const QRectF box(r.center().x() - w / 2, r.center().y() - h / 2, w, h);
    if (w > r.width() || h > r.height()) {
        p.save();
        p.setPen(QPen(kLine, 0));
        p.setBrush(Qt::white);
        p.drawRect(box);
        p.restore();
    }
    p.drawText(box, Qt::AlignCenter | Qt::TextDontClip, text);
}

int legendHeight(const QString& legend, int width, int dpi) {
    if (legend.isEmpty())
        return 0;
    const QFontMetrics m(font(7.5, dpi));
    return m.boundingRect(QRect(0, 0, std::max(1, width), 1 << 24),
                          Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, legend)
               .height() +
           dots(2, dpi);
}

// Whether the plan is an order's, beside its bill; a cut list's pieces are named and unbilled.
bool billed(const CuttingPlan& plan) {
    for (const ArticleCut& a : plan.articles)
        if (!a.names.empty())
            return false;
    for (const MaterialCut& m : plan.materials)
        if (!m.names.empty())
            return false;
    return true;
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
        for (size_t b = 0; b < cut.plan.bars.size(); ++b) {
            Block bar{Kind::Bar, static_cast<int>(a), static_cast<int>(b),
                      line + dots(18, dpi) + dots(5, dpi)};
            bar.legend = legendHeight(legendOf(bar, width, dpi), width, dpi);
            bar.height += bar.legend;
            blocks.push_back(bar);
        }
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
        for (size_t s = 0; s < cut.plan.sheets.size(); ++s) {
            Block sheet{Kind::Sheet, static_cast<int>(m), static_cast<int>(s),
                        line + h + dots(8, dpi)};
            sheet.scale = std::max(scale, 0.0);
            sheet.legend = legendHeight(legendOf(sheet, width, dpi), width, dpi);
            sheet.height += sheet.legend;
            blocks.push_back(sheet);
        }
    }
    return blocks;
}

std::vector<std::vector<CuttingPlanPainter::Block>> CuttingPlanPainter::pages(QSize page,
                                                                              int dpi) const {
    std::vector<std::vector<Block>> out(1);
    // On paper a sheet takes the page's width, up to three quarters of its height.
    const std::vector<Block> blocks = layout(page.width(), page.height() * 3 / 4, dpi);
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
                   qs(text::format("Пропил %s мм, торцовка %s мм, деловой остаток от %s мм. ",
                                   rowformat::wholeOrTenths(s.kerf).c_str(),
                                   rowformat::wholeOrTenths(s.trim).c_str(),
                                   rowformat::wholeOrTenths(s.minOffcut).c_str()) +
                      (billed(plan_) ? text::format("Хлыстов по смете: %d, по раскрою: %d.",
                                                    plan_.billBars(), plan_.planBars())
                                     : text::format("Хлыстов по раскрою: %d.", plan_.planBars()))));
        break;
    }
    case Kind::ArticleHead: {
        const ArticleCut& a = plan_.articles[static_cast<size_t>(b.group)];
        p.setFont(font(10, dpi, true));
        p.drawText(QRect(r.left(), r.top(), r.width(), headLine), Qt::AlignLeft | Qt::AlignVCenter,
                   qs(a.code + " " + a.name));
        p.setFont(font(9, dpi));
        std::string line =
            a.names.empty() ? text::format("По смете: %d хл., %s руб.; по раскрою: %d хл., %s руб.",
                                           a.billBars, money(a.billCost).c_str(), a.plan.newBars,
                                           money(a.plan.cost).c_str())
                            : text::format("По раскрою: %d хл., %s руб.", a.plan.newBars,
                                           money(a.plan.cost).c_str());
        if (a.plan.offcutsUsed > 0)
            line += text::format(" и %d остат.", a.plan.offcutsUsed);
        line += text::format("; нижняя граница: %d хл. — %s.", a.plan.lowerBound,
                             a.plan.proven ? "раскрой оптимален" : "оптимальность не доказана");
        if (a.fromStore >= 0)
            line += text::format(" Склад остатков — из остатков: %d.", a.fromStore);
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
            const int index = a.plan.unplaced[static_cast<size_t>(b.item)];
            const BarPlanPiece& piece = a.pieces[static_cast<size_t>(index)];
            line = text::format(plantext::kPieceTooLong, piece.length / 10.0) + " " +
                   markOf(a.names, index, piece);
        } else {
            const MaterialCut& m = plan_.materials[static_cast<size_t>(-1 - b.group)];
            const int index = m.plan.unplaced[static_cast<size_t>(b.item)];
            const SheetPlanPiece& piece = m.pieces[static_cast<size_t>(index)];
            line = m.sheetWidth <= 0 || m.sheetHeight <= 0
                       ? std::string(plantext::kNoSheetSize)
                       : text::format(plantext::kPieceTooLarge, (piece.width + 5) / 10,
                                      (piece.height + 5) / 10);
            line += " " + markOf(m.names, index, piece);
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
                   qs((m.group.empty() ? "" : m.group + " / ") + m.code +
                      (m.name.empty() ? "" : " " + m.name)));
        p.setFont(font(9, dpi));
        p.drawText(
            QRect(r.left(), top + headLine, r.width(), r.bottom() - top - headLine),
            Qt::AlignLeft | Qt::AlignTop,
            qs(text::format("Лист %s×%s мм; листов: %zu, нижняя граница: %d; %s.",
                            rowformat::wholeOrTenths(m.sheetWidth).c_str(),
                            rowformat::wholeOrTenths(m.sheetHeight).c_str(), m.plan.sheets.size(),
                            m.plan.lowerBound,
                            m.rotation ? "поворот деталей разрешен"
                                       : "направление (текстура) сохраняется") +
               (m.fromStore >= 0 ? text::format(" Склад остатков — из остатков: %d.", m.fromStore)
                                 : std::string())));
        break;
    }
    case Kind::Sheet:
        paintSheet(p, b, r, dpi);
        break;
    }
    p.restore();
}

QString CuttingPlanPainter::legendOf(const Block& b, int width, int dpi) const {
    QStringList items;
    if (b.kind == Kind::Bar) {
        items = barPieces(nullptr, b, QRectF(0, 0, width - 1, dots(18, dpi)),
                          static_cast<double>(width - 1) / longestBar_, dpi);
    } else if (b.kind == Kind::Sheet) {
        const MaterialCut& m = plan_.materials[static_cast<size_t>(b.group)];
        items =
            sheetPieces(nullptr, b, QRectF(0, 0, m.sheetWidth * b.scale, m.sheetHeight * b.scale),
                        b.scale, dpi);
        const PlannedSheet& sheet = m.plan.sheets[static_cast<size_t>(b.item)];
        QStringList offcuts;
        for (const SheetRect& o : sheet.offcuts)
            offcuts << qs(rowformat::wholeOrTenths(o.width) + "×" +
                          rowformat::wholeOrTenths(o.height));
        if (!offcuts.isEmpty())
            items << QStringLiteral("остатки: ") + offcuts.join(QStringLiteral(", "));
    }
    return items.join(QStringLiteral("; "));
}

QStringList CuttingPlanPainter::barPieces(QPainter* p, const Block& b, QRectF drawing, double scale,
                                          int dpi) const {
    const ArticleCut& a = plan_.articles[static_cast<size_t>(b.group)];
    const PlannedBar& bar = a.plan.bars[static_cast<size_t>(b.item)];
    const PlanSettings& s = plan_.settings;
    const QFontMetrics m(font(7.5, dpi));
    QStringList numbered;
    double x = s.trim;
    for (int index : bar.pieces) {
        const BarPlanPiece& piece = a.pieces[static_cast<size_t>(index)];
        const QRectF pr(drawing.left() + x * scale, drawing.top(), piece.length * scale,
                        drawing.height());
        const QString full =
            qs(rowformat::wholeOrTenths(piece.length) + " · " + markOf(a.names, index, piece));
        if (p) {
            p->setPen(QPen(kLine, 0));
            p->setBrush(doorColor(piece.doorIndex));
            p->drawRect(pr);
            p->setPen(kText);
        }
        if (m.horizontalAdvance(full) + 2 <= pr.width()) {
            if (p)
                label(*p, pr, full);
        } else {
            numbered << QStringLiteral("%1: ").arg(numbered.size() + 1) + full;
            if (p)
                numberMark(*p, pr, static_cast<int>(numbered.size()));
        }
        x += piece.length + s.kerf;
    }
    return numbered;
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
    p.setFont(font(7.5, dpi));
    const QStringList numbered = barPieces(&p, b, QRectF(left, top, r.width() - 1, h), scale, dpi);
    if (bar.offcut > 0) {
        const double end = bar.length - s.trim;
        hatch(p, QRectF(left + (end - bar.offcut) * scale, top, bar.offcut * scale, h));
    }
    p.setPen(QPen(kLine, 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(whole);
    if (!numbered.isEmpty()) {
        p.setPen(kText);
        p.drawText(QRectF(left, top + h + dots(2, dpi), r.width(), b.legend),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                   numbered.join(QStringLiteral("; ")));
    }
}

QStringList CuttingPlanPainter::sheetPieces(QPainter* p, const Block& b, QRectF drawing,
                                            double scale, int dpi) const {
    const MaterialCut& m = plan_.materials[static_cast<size_t>(b.group)];
    const PlannedSheet& sheet = m.plan.sheets[static_cast<size_t>(b.item)];
    const QFontMetricsF metrics(font(7.5, dpi));
    const double lh = metrics.height();
    QStringList numbered;
    for (const PlacedPiece& placed : sheet.pieces) {
        const SheetPlanPiece& piece = m.pieces[static_cast<size_t>(placed.piece)];
        const QRectF pr(drawing.left() + placed.x * scale, drawing.top() + placed.y * scale,
                        placed.width * scale, placed.height * scale);
        if (p) {
            p->setPen(QPen(kLine, 0));
            p->setBrush(doorColor(piece.doorIndex));
            p->drawRect(pr);
            p->setPen(kText);
        }
        // Sizes as on the door: width × height, and a mark for a turned piece.
        const QString sizes =
            qs(rowformat::wholeOrTenths(piece.width) + "×" +
               rowformat::wholeOrTenths(piece.height) + (placed.rotated ? " ↻" : ""));
        const QString who = qs(markOf(m.names, placed.piece, piece));
        const double wide =
            std::max(metrics.horizontalAdvance(sizes), metrics.horizontalAdvance(who));
        if (pr.height() >= 2 * lh + 2 && wide + 2 <= pr.width()) {
            if (p) {
                p->drawText(QRectF(pr.left(), pr.center().y() - lh, pr.width(), lh),
                            Qt::AlignCenter, sizes);
                p->drawText(QRectF(pr.left(), pr.center().y(), pr.width(), lh), Qt::AlignCenter,
                            who);
            }
        } else if (pr.width() >= 2 * lh + 2 && wide + 2 <= pr.height()) {
            // A tall narrow piece: its label turned to read from below.
            if (p) {
                p->save();
                p->translate(pr.center());
                p->rotate(-90);
                p->drawText(QRectF(-pr.height() / 2, -lh, pr.height(), lh), Qt::AlignCenter, sizes);
                p->drawText(QRectF(-pr.height() / 2, 0, pr.height(), lh), Qt::AlignCenter, who);
                p->restore();
            }
        } else {
            numbered << QStringLiteral("%1: %2 %3").arg(numbered.size() + 1).arg(sizes, who);
            if (p)
                numberMark(*p, pr, static_cast<int>(numbered.size()));
        }
    }
    return numbered;
}

void CuttingPlanPainter::paintSheet(QPainter& p, const Block& b, QRect r, int dpi) const {
    const MaterialCut& m = plan_.materials[static_cast<size_t>(b.group)];
    const PlannedSheet& sheet = m.plan.sheets[static_cast<size_t>(b.item)];
    const int line = QFontMetrics(font(9, dpi)).height();
    const double area = static_cast<double>(m.sheetWidth) * m.sheetHeight;
    p.setFont(font(9, dpi));
    // The material named on every sheet, so that a sheet continued on a page of its own is known.
    p.drawText(QRect(r.left(), r.top(), r.width(), line), Qt::AlignLeft | Qt::AlignVCenter,
               qs(text::format("%s %s — лист %d из %zu — использовано %.0f%%, деталей: %zu",
                               m.code.c_str(), m.name.c_str(), b.item + 1, m.plan.sheets.size(),
                               100.0 * sheet.usedArea / area, sheet.pieces.size())));
    const double scale = b.scale;
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
    sheetPieces(&p, b, whole, scale, dpi);
    p.setPen(QPen(kLine, 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(whole);
    const QString legend = legendOf(b, r.width(), dpi);
    if (!legend.isEmpty()) {
        p.setPen(kText);
        p.drawText(QRectF(r.left(), whole.bottom() + dots(2, dpi), r.width(), b.legend),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, legend);
    }
}

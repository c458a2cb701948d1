#include "ui/printing/DoorAssemblyPainter.h"

#include "calc/RowFormat.h"
#include "output/DoorAssemblySheet.h"
#include "ui/shared/CellFont.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QStringList>

#include <algorithm>
#include <set>

namespace {

const QColor kDoorColor(236, 236, 236);
const QColor kProfileColor(150, 150, 150);
const QColor kFillingColor(252, 252, 248);
const QColor kLineColor(40, 40, 40);
const QColor kDimensionColor(20, 60, 140);

QString dim(int32_t tenths) {
    return QString::fromStdString(rowformat::wholeOrTenths(tenths));
}

// Maps the door's face (0.1 mm, from the left and from the bottom) onto the page.
struct DoorFrame {
    QRectF door; // the door's outline on the page
    double scale = 1.0;
    int32_t height = 0;

    double x(int32_t fromLeft) const { return door.left() + fromLeft * scale; }
    double y(int32_t fromBottom) const { return door.bottom() - fromBottom * scale; }
};

// A horizontal dimension from x1 to x2 at height y, with extension lines from `from` and the
// text above the line.
void horizontalDimension(QPainter& p, double x1, double x2, double y, double from,
                         const QString& text, double tick) {
    const double outward = y > from ? tick : -tick;
    p.drawLine(QPointF(x1, from), QPointF(x1, y + outward));
    p.drawLine(QPointF(x2, from), QPointF(x2, y + outward));
    p.drawLine(QPointF(x1 - tick, y), QPointF(x2 + tick, y));
    p.drawLine(QPointF(x1 - tick / 2, y + tick / 2), QPointF(x1 + tick / 2, y - tick / 2));
    p.drawLine(QPointF(x2 - tick / 2, y + tick / 2), QPointF(x2 + tick / 2, y - tick / 2));
    const QFontMetricsF m(p.font());
    const double w = m.horizontalAdvance(text);
    p.drawText(QPointF((x1 + x2 - w) / 2, y - m.descent() - tick / 3), text);
}

// A vertical dimension from y1 (lower) to y2 (upper) at x, with extension lines from `from` and
// the text turned to read from below, left of the line.
void verticalDimension(QPainter& p, double y1, double y2, double x, double from,
                       const QString& text, double tick) {
    const double outward = x > from ? tick : -tick;
    p.drawLine(QPointF(from, y1), QPointF(x + outward, y1));
    p.drawLine(QPointF(from, y2), QPointF(x + outward, y2));
    p.drawLine(QPointF(x, y1 + tick), QPointF(x, y2 - tick));
    p.drawLine(QPointF(x - tick / 2, y1 + tick / 2), QPointF(x + tick / 2, y1 - tick / 2));
    p.drawLine(QPointF(x - tick / 2, y2 + tick / 2), QPointF(x + tick / 2, y2 - tick / 2));
    const QFontMetricsF m(p.font());
    const double w = m.horizontalAdvance(text);
    p.save();
    p.translate(x - m.descent() - tick / 3, (y1 + y2 + w) / 2);
    p.rotate(-90);
    p.drawText(QPointF(0, 0), text);
    p.restore();
}

// The distinct axes of the splitters of one orientation, ascending.
std::vector<int32_t> axesOf(const AssemblyDoor& door, bool vertical) {
    std::set<int32_t> axes;
    for (const AssemblySplitter& s : door.splitters)
        if (s.vertical == vertical)
            axes.insert(s.axis);
    return {axes.begin(), axes.end()};
}

void drawProfiles(QPainter& p, const DoorFrame& f, const AssemblyDoor& door) {
    const double s = f.scale;
    p.setPen(QPen(kLineColor, 0));
    p.setBrush(kProfileColor);
    const int32_t w = door.width, h = door.height;
    const AssemblyEdge& left = door.edges[0];
    const AssemblyEdge& top = door.edges[1];
    const AssemblyEdge& right = door.edges[2];
    const AssemblyEdge& bottom = door.edges[3];
    if (!left.code.empty())
        p.drawRect(QRectF(f.x(0), f.y(h), left.visibleWidth * s, h * s));
    if (!right.code.empty())
        p.drawRect(QRectF(f.x(w - right.visibleWidth), f.y(h), right.visibleWidth * s, h * s));
    const int32_t l = left.code.empty() ? 0 : left.visibleWidth;
    const int32_t r = right.code.empty() ? 0 : right.visibleWidth;
    if (!top.code.empty())
        p.drawRect(QRectF(f.x(l), f.y(h), (w - l - r) * s, top.visibleWidth * s));
    if (!bottom.code.empty())
        p.drawRect(
            QRectF(f.x(l), f.y(bottom.visibleWidth), (w - l - r) * s, bottom.visibleWidth * s));
    for (const AssemblySplitter& sp : door.splitters) {
        const double half = sp.visibleWidth * s / 2;
        if (sp.vertical)
            p.drawRect(QRectF(f.x(sp.axis) - half, f.y(sp.to), 2 * half, (sp.to - sp.from) * s));
        else
            p.drawRect(QRectF(f.x(sp.from), f.y(sp.axis) - half, (sp.to - sp.from) * s, 2 * half));
    }
}

// A fitted filling on the drawing.
QRectF fillingRect(const DoorFrame& f, const AssemblyInsert& in) {
    return QRectF(f.x(in.fillLeft), f.y(in.fillBottom + in.fillHeight), in.fillWidth * f.scale,
                  in.fillHeight * f.scale);
}

void drawInserts(QPainter& p, const DoorFrame& f, const AssemblyDoor& door) {
    for (const AssemblyInsert& in : door.inserts) {
        const QRectF r = fillingRect(f, in);
        p.setPen(QPen(kLineColor, 0));
        p.setBrush(in.material.empty() ? QBrush(Qt::white, Qt::BDiagPattern)
                                       : QBrush(kFillingColor));
        p.drawRect(r);
    }
}

// The mark and the size of a filling inside its panel, over the profiles, always whole: in
// smaller type, on two lines, or at last on a white box wider than the panel.
void drawInsertTexts(QPainter& p, const DoorFrame& f, const AssemblyDoor& door, int dpiY) {
    for (const AssemblyInsert& in : door.inserts) {
        const QRectF r = fillingRect(f, in);
        const QString width = QString::fromStdString(in.widthText);
        const QString height = QString::fromStdString(in.heightText);
        const QString mark = QStringLiteral("(%1)").arg(in.mark);
        const double room = r.width() - dpiY * 2.0 / 72;
        QStringList lines;
        QFont font;
        for (int pt = 9; pt >= 6 && lines.isEmpty(); --pt) {
            font = fontForCellHeight(QString::fromLatin1(kSansFace), dpiY * pt / 72, false);
            const QFontMetricsF m(font);
            if (m.horizontalAdvance(width + QStringLiteral(" × ") + height) <= room)
                lines = {width + QStringLiteral(" × ") + height};
            else if (std::max(m.horizontalAdvance(width + QStringLiteral(" ×")),
                              m.horizontalAdvance(height)) <= room)
                lines = {width + QStringLiteral(" ×"), height};
        }
        if (lines.isEmpty())
            lines = {width + QStringLiteral(" ×"), height};
        QFont bold = font;
        bold.setBold(true);
        const QFontMetricsF m(font);
        double textWidth = QFontMetricsF(bold).horizontalAdvance(mark);
        for (const QString& line : lines)
            textWidth = std::max(textWidth, m.horizontalAdvance(line));
        const double lineH = m.height();
        const double total = lineH * static_cast<double>(lines.size() + 1);
        double top = r.center().y() - total / 2;
        if (textWidth > r.width()) {
            const QRectF box(r.center().x() - textWidth / 2 - 1, top - 1, textWidth + 2, total + 2);
            p.setPen(QPen(kLineColor, 0));
            p.setBrush(Qt::white);
            p.drawRect(box);
        }
        const QRectF column(r.center().x() - textWidth / 2 - 1, top, textWidth + 2, lineH);
        p.setPen(kLineColor);
        p.setFont(bold);
        p.drawText(column, Qt::AlignCenter | Qt::TextDontClip, mark);
        p.setFont(font);
        for (const QString& line : lines) {
            top += lineH;
            p.drawText(column.translated(0, top - column.top()), Qt::AlignCenter | Qt::TextDontClip,
                       line);
        }
    }
}

// The door's place in the drawing's rectangle, with the room its dimensions take around it.
struct DrawingLayout {
    QFont font;
    double line = 0;
    double step = 0; // between stacked dimension lines
    std::vector<int32_t> fromBottom;
    std::vector<int32_t> fromLeft;
    double leftRoom = 0, rightRoom = 0, topRoom = 0, bottomRoom = 0;
    DoorFrame f;
    bool valid = false;
};

DrawingLayout layoutOf(const QRect& rect, const AssemblyDoor& door, int dpiY) {
    DrawingLayout d;
    if (door.width <= 0 || door.height <= 0 || rect.isEmpty())
        return d;
    d.font = fontForCellHeight(QString::fromLatin1(kSansFace), dpiY * 9 / 72, false);
    d.line = QFontMetricsF(d.font).height();
    d.step = 1.8 * d.line;
    d.fromBottom = axesOf(door, false);
    d.fromLeft = axesOf(door, true);

    // Room around the door: the height on the left, the width below, the splitter axes on the
    // right and above, one line each.
    d.leftRoom = d.step + d.line;
    d.bottomRoom = d.step + d.line;
    d.rightRoom = d.step * static_cast<double>(d.fromBottom.size()) + d.line;
    d.topRoom = d.step * static_cast<double>(d.fromLeft.size()) + d.line;
    const double availableW = rect.width() - d.leftRoom - d.rightRoom;
    const double availableH = rect.height() - d.topRoom - d.bottomRoom;
    if (availableW <= 0 || availableH <= 0)
        return d;
    d.f.height = door.height;
    d.f.scale = std::min(availableW / door.width, availableH / door.height);
    const double w = door.width * d.f.scale, h = door.height * d.f.scale;
    const double left = rect.left() + d.leftRoom + (availableW - w) / 2;
    d.f.door = QRectF(left, rect.top() + d.topRoom, w, h);
    d.valid = true;
    return d;
}

} // namespace

int DoorAssemblyPainter::widthNeeded(const QRect& rect, const AssemblyDoor& door, int dpiY) {
    const DrawingLayout d = layoutOf(rect, door, dpiY);
    if (!d.valid)
        return rect.width();
    return static_cast<int>(d.leftRoom + d.f.door.width() + d.rightRoom + 0.5);
}

int DoorAssemblyPainter::paint(QPainter& painter, const QRect& rect, const AssemblyDoor& door,
                               int dpiY) {
    const DrawingLayout d = layoutOf(rect, door, dpiY);
    if (!d.valid)
        return 0;
    const DoorFrame& f = d.f;
    const QFont& font = d.font;
    const double step = d.step;
    const double tick = d.line / 3;
    const std::vector<int32_t>& fromBottom = d.fromBottom;
    const std::vector<int32_t>& fromLeft = d.fromLeft;
    const double bottomRoom = d.bottomRoom;

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(kLineColor, 0));
    painter.setBrush(kDoorColor);
    painter.drawRect(f.door);
    drawInserts(painter, f, door);
    drawProfiles(painter, f, door);
    drawInsertTexts(painter, f, door, dpiY);

    painter.setPen(QPen(kDimensionColor, 0));
    painter.setBrush(Qt::NoBrush);
    painter.setFont(font);
    horizontalDimension(painter, f.door.left(), f.door.right(), f.door.bottom() + step,
                        f.door.bottom(), dim(door.width), tick);
    verticalDimension(painter, f.door.bottom(), f.door.top(), f.door.left() - step, f.door.left(),
                      dim(door.height), tick);
    for (size_t i = 0; i < fromBottom.size(); ++i)
        verticalDimension(painter, f.door.bottom(), f.y(fromBottom[i]),
                          f.door.right() + step * static_cast<double>(i + 1), f.door.right(),
                          dim(fromBottom[i]), tick);
    for (size_t i = 0; i < fromLeft.size(); ++i)
        horizontalDimension(painter, f.door.left(), f.x(fromLeft[i]),
                            f.door.top() - step * static_cast<double>(i + 1), f.door.top(),
                            dim(fromLeft[i]), tick);
    painter.restore();
    return static_cast<int>(f.door.bottom() + bottomRoom - rect.top() + 0.5);
}

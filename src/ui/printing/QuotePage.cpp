#include "ui/printing/QuotePage.h"

#include "calc/DSSystem.h"
#include "calc/RowFormat.h"
#include "catalog/Catalog.h"
#include "catalog/HandleProfile.h"
#include "catalog/ProfileColor.h"
#include "model/OrderInfo.h"
#include "model/Project.h"
#include "output/DoorAssemblySheet.h"
#include "output/ResultTables.h"
#include "text/Format.h"
#include "ui/printing/OrderPage.h"
#include "ui/printing/PrintJob.h"
#include "ui/results/DlgTable.h"
#include "ui/results/TableRenderer.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <map>

const char* const QuotePage::kTitle = "Коммерческое предложение";

namespace {

constexpr int kWrapFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
const QColor kDimensionColor(20, 60, 140);

std::string millimetres(int32_t tenths) {
    return rowformat::wholeOrTenths(tenths) + " мм";
}

// "m1 Зеркало серебро ×2; m2 ДСП белое": the fillings of one door, each once with its count.
std::string fillingsOf(const AssemblyDoor& door) {
    std::vector<std::pair<std::string, int>> counted;
    for (const AssemblyInsert& in : door.inserts) {
        const std::string name = in.material.empty() ? std::string("без наполнения") : in.material;
        auto it = std::find_if(counted.begin(), counted.end(),
                               [&](const auto& c) { return c.first == name; });
        if (it == counted.end())
            counted.emplace_back(name, 1);
        else
            ++it->second;
    }
    std::string text;
    for (const auto& [name, count] : counted) {
        if (!text.empty())
            text += "; ";
        text += name;
        if (count > 1)
            text += text::format(" ×%d", count);
    }
    return text;
}

// A dimension line from a to b with its text beside it (above a horizontal line, left of a
// vertical one, read from below).
void dimension(QPainter& p, QPointF a, QPointF b, const QString& text, double tick) {
    p.drawLine(a, b);
    const bool horizontal = a.y() == b.y();
    const QPointF across = horizontal ? QPointF(0, tick) : QPointF(tick, 0);
    p.drawLine(a - across, a + across);
    p.drawLine(b - across, b + across);
    const QFontMetricsF m(p.font());
    const double w = m.horizontalAdvance(text);
    if (horizontal) {
        p.drawText(QPointF((a.x() + b.x() - w) / 2, a.y() - m.descent() - tick / 2), text);
        return;
    }
    p.save();
    p.translate(a.x() - m.descent() - tick / 2, (a.y() + b.y() + w) / 2);
    p.rotate(-90);
    p.drawText(QPointF(0, 0), text);
    p.restore();
}

} // namespace

std::vector<ResultTable> QuotePage::tables(Project& project) {
    ResultTable makeUp;
    makeUp.columnFractions = {0.3, 0.7};
    makeUp.gapAfterPoints = 8;
    auto field = [&](const char* name, std::string value) {
        makeUp.rows.push_back(resultRow(ResultRowKind::Field, {name, std::move(value)}));
    };
    field("Система", project.system ? project.system->code : std::string());
    field("Профиль ручки", project.handleProfile
                               ? project.handleProfile->code + " " + project.handleProfile->name
                               : std::string());
    field("Цвет профилей", project.color ? project.color->code : std::string());
    field("Размеры", text::format("проём %s × %s, дверей: %d",
                                  rowformat::wholeOrTenths(project.openingWidth).c_str(),
                                  millimetres(project.height).c_str(), project.doorCount));

    ResultTable fillings;
    fillings.columnFractions = {0.12, 0.88};
    fillings.gapAfterPoints = 8;
    fillings.rows.push_back(resultRow(ResultRowKind::Heading, {"Дверь", "Наполнение"}));
    for (const AssemblyDoor& door : DoorAssemblySheet::build(project).doors)
        fillings.rows.push_back(
            resultRow(ResultRowKind::Item, {text::format("%d", door.index + 1), fillingsOf(door)}));

    // The same amounts as the bill's totals.
    std::vector<ResultTable> price = buildResultTables(project, ResultPage::Price);
    ResultTable totals = price.back();
    totals.gapAfterPoints = 8;
    return {makeUp, fillings, totals};
}

bool QuotePage::print(PrintJob& job, Project& project) {
    if (!job.beginPage())
        return false;
    QPainter& painter = job.painter();
    QRect& rect = job.rect();
    const int dpiY = job.dpiY();

    // The title with the order's number and date.
    painter.save();
    QFont title = job.headerFont();
    title.setPixelSize(job.points(16));
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(Qt::black);
    const int titleHeight = QFontMetrics(title, &job.device()).height();
    painter.drawText(QRect(rect.left(), rect.top(), rect.width(), titleHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8(kTitle));
    rect.setTop(rect.top() + titleHeight);
    QFont plain = job.headerFont();
    plain.setPixelSize(job.points(10));
    painter.setFont(plain);
    QString order = QStringLiteral("Заказ № %1 от %2")
                        .arg(QString::fromStdString(project.order.orderNumberText()),
                             QString::fromStdString(orderDateText(project.order.orderDate)));
    if (!project.order.clientName.empty())
        order += QStringLiteral(". Заказчик: ") + QString::fromStdString(project.order.clientName);
    const int orderHeight = QFontMetrics(plain, &job.device())
                                .boundingRect(QRect(0, 0, rect.width(), 1 << 20), kWrapFlags, order)
                                .height();
    painter.drawText(QRect(rect.left(), rect.top(), rect.width(), orderHeight), kWrapFlags, order);
    rect.setTop(rect.top() + orderHeight + job.points(8));
    painter.restore();

    // The conditions in type small enough for the page, never cut.
    const QString info = OrderPage::infoText(project.catalog().baseFolder()).trimmed();
    TablePage page;
    page.setTables(DlgTable::gridTables(tables(project)));
    const int tablesHeight = page.printedHeight(rect.width(), dpiY);
    QFont small = job.headerFont();
    int infoHeight = 0;
    const int minSketch = rect.height() / 5;
    for (int pt = 9; pt >= 5; --pt) {
        small.setPixelSize(job.points(pt));
        infoHeight = info.isEmpty()
                         ? 0
                         : QFontMetrics(small, &job.device())
                               .boundingRect(QRect(0, 0, rect.width(), 1 << 24), kWrapFlags, info)
                               .height();
        if (rect.height() - tablesHeight - infoHeight >= minSketch)
            break;
    }

    // The drawing with the overall sizes, in the room the texts leave.
    const int dimRoom = job.points(22);
    const int sketchRoom =
        std::min(rect.height() * 45 / 100, rect.height() - tablesHeight - infoHeight - dimRoom);
    if (sketchRoom > job.points(40)) {
        const QRect area(rect.left() + dimRoom, rect.top(), rect.width() - dimRoom,
                         sketchRoom - dimRoom);
        const QRect doors = OrderPage::sketchDoorsArea(project, area, dpiY);
        const int used = OrderPage::paintSketch(painter, project, area, dpiY);
        const double left = doors.left();
        const double drawnWidth = doors.width();
        painter.save();
        QFont dimFont = job.headerFont();
        dimFont.setPixelSize(job.points(9));
        painter.setFont(dimFont);
        painter.setPen(QPen(kDimensionColor, 0));
        const double tick = job.points(3);
        const double below = doors.bottom() + 1 + job.points(14);
        dimension(painter, QPointF(left, below), QPointF(left + drawnWidth, below),
                  QString::fromStdString(millimetres(project.openingWidth)), tick);
        dimension(painter, QPointF(left - job.points(8), doors.bottom() + 1),
                  QPointF(left - job.points(8), doors.top()),
                  QString::fromStdString(millimetres(project.height)), tick);
        painter.restore();
        rect.setTop(rect.top() + used + dimRoom);
    }

    page.printPage(painter, rect);
    if (!info.isEmpty()) {
        painter.save();
        painter.setFont(small);
        painter.setPen(Qt::black);
        painter.drawText(QRect(rect.left(), rect.top(), rect.width(), infoHeight), kWrapFlags,
                         info);
        painter.restore();
    }
    return true;
}

#include "ui/results/DlgTable.h"

#include "model/Project.h"
#include "output/ResultTables.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QShowEvent>
#include <QWheelEvent>

#include <algorithm>

DlgTable::DlgTable(Project& project, int mode, QWidget* parent)
    : QAbstractScrollArea(parent), project_(project), mode_(mode) {
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    verticalScrollBar()->setSingleStep(kScrollLine);
    // Built when first shown or read: a page on another tab costs nothing at start-up.
    stale_ = true;
}

void DlgTable::receive(Notify n) {
    switch (n) {
    case Notify::ProjectChanged:
    case Notify::TotalsChanged:
    case Notify::OrderChanged:
    case Notify::OrderFieldChanged:
        // A page not on screen is rebuilt when it is shown (or read): an edit on the sketch then
        // costs only what the person sees.
        if (isVisible())
            refresh();
        else
            stale_ = true;
        break;
    default:
        break;
    }
}

std::vector<GridTable> DlgTable::gridTables(const std::vector<ResultTable>& tables) {
    std::vector<GridTable> grids;
    grids.reserve(tables.size());
    for (const ResultTable& t : tables) {
        GridTable grid(t.columnCount(), t.rowCount(), t.columnFractions, t.offsetFraction,
                       t.gapAfterPoints);
        for (int r = 0; r < t.rowCount(); ++r) {
            const auto& cells = t.rows[r].cells;
            for (int c = 0; c < static_cast<int>(cells.size()); ++c)
                grid.setCell(c, r, QString::fromStdString(cells[c].text), cells[c].bold);
        }
        grids.push_back(std::move(grid));
    }
    return grids;
}

const TablePage& DlgTable::page() const {
    if (stale_)
        const_cast<DlgTable*>(this)->refresh();
    return page_;
}

void DlgTable::showEvent(QShowEvent* event) {
    if (stale_)
        refresh();
    QAbstractScrollArea::showEvent(event);
}

void DlgTable::refresh() {
    stale_ = false;
    page_.setTables(gridTables(buildResultTables(project_, static_cast<ResultPage>(mode_))));
    relayout();
}

void DlgTable::relayout() {
    if (relayingOut_)
        return;
    relayingOut_ = true;
    // The scroll bar appears only when the content and a 50-pixel reserve exceed the window.
    // Showing it narrows the page, so the layout is repeated for the final width.
    int content = page_.layout(viewport()->width(), logicalDpiY());
    setVerticalScrollBarPolicy(content + TablePage::kBottomReserve > height()
                                   ? Qt::ScrollBarAlwaysOn
                                   : Qt::ScrollBarAlwaysOff);
    content = page_.layout(viewport()->width(), logicalDpiY());
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, std::max(0, content + TablePage::kBottomReserve - height()));
    bar->setPageStep(std::max(1, viewport()->height()));
    redraw_ = true;
    viewport()->update();
    relayingOut_ = false;
}

void DlgTable::ensureBuffer(int scroll) {
    // The whole page is kept, so that scrolling only copies. A page too long for that (thousands
    // of rows) keeps just the visible part, drawn again whenever it scrolls.
    const int width = std::max(1, viewport()->width());
    const int whole = std::max({1, viewport()->height(), page_.contentHeight() + 1});
    const bool partial = whole > kMaxBufferHeight;
    const int height = partial ? std::max(1, viewport()->height()) : whole;
    const int top = partial ? scroll : 0;
    if (!redraw_ && buffer_.width() == width && buffer_.height() == height && bufferTop_ == top)
        return;
    if (buffer_.width() != width || buffer_.height() != height)
        buffer_ = QImage(width, height, QImage::Format_RGB32);
    buffer_.fill(Qt::white);
    QPainter painter(&buffer_);
    painter.translate(0, -top);
    page_.paint(painter, width, top, top + height);
    bufferTop_ = top;
    redraw_ = false;
}

void DlgTable::paintEvent(QPaintEvent* event) {
    const int y = verticalScrollBar()->value();
    ensureBuffer(y);
    QPainter painter(viewport());
    for (const QRect& r : event->region()) {
        painter.fillRect(r, Qt::white);
        painter.drawImage(r, buffer_, r.translated(0, y - bufferTop_));
    }
}

void DlgTable::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    relayout();
}

void DlgTable::scrollContentsBy(int, int) {
    viewport()->update();
}

void DlgTable::wheelEvent(QWheelEvent* event) {
    QScrollBar* bar = verticalScrollBar();
    // Touchpads give the distance in pixels; take it as it is.
    if (const int pixels = event->pixelDelta().y(); pixels != 0) {
        wheelEighths_ = 0;
        bar->setValue(bar->value() - pixels);
        event->accept();
        return;
    }
    // High-resolution wheels send fractions of a notch (120 eighths of a degree): they add up
    // until they make whole pixels, kScrollLine pixels per notch. A turn the other way starts
    // afresh.
    const int delta = event->angleDelta().y();
    if ((delta > 0 && wheelEighths_ < 0) || (delta < 0 && wheelEighths_ > 0))
        wheelEighths_ = 0;
    wheelEighths_ += delta * kScrollLine;
    const int step = wheelEighths_ / 120;
    wheelEighths_ -= step * 120;
    bar->setValue(bar->value() - step);
    event->accept();
}

bool DlgTable::printPage(QPainter& painter, QRect& rect) {
    if (stale_)
        refresh();
    const bool finished = page_.printPage(painter, rect);
    // Printing lays the tables out for the printer; the screen layout is restored for painting.
    relayout();
    return finished;
}

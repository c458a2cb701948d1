#include "ui/sketch/DraftDlg.h"

#include "model/Project.h"
#include "ui/sketch/PictureCache.h"
#include "ui/sketch/SketchAccessible.h"
#include "ui/sketch/SketchRenderer.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

DraftDlg::DraftDlg(Project& project, NotifyHub* hub, QWidget* parent, PictureCache* cache)
    : QWidget(parent), project_(project), hub_(hub),
      renderer_(new SketchRenderer(project, cache ? *cache : PictureCache::shared())) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
    SketchAccessible::install();
    setAccessibleName(QStringLiteral("Эскиз"));
}

DraftDlg::~DraftDlg() {
    delete renderer_;
}

void DraftDlg::receive(Notify n) {
    switch (n) {
    case Notify::PopupOpened:
        setEnabled(false);
        break;
    case Notify::PopupClosed:
        setEnabled(true);
        break;
    case Notify::ProjectChanged:
        SketchAccessible::projectChanged(this);
        update();
        break;
    case Notify::TotalsChanged:
        update();
        break;
    default:
        break;
    }
}

void DraftDlg::invalidate() {
    invalid_ = true;
    update();
}

int DraftDlg::printRender(QPainter& painter, const QRect& rect, int dpiY) {
    const int used = renderer_->printRender(painter, rect, dpiY);
    update();
    return used;
}

bool DraftDlg::pictureIsStale() const {
    return picture_.isNull() || picture_.size() != size() || invalid_ || project_.doors->changed;
}

void DraftDlg::ensurePicture() {
    DoorSet& doors = *project_.doors;
    if (!pictureIsStale())
        return;
    if (picture_.size() != size())
        picture_ = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    picture_.setDotsPerMeterX(qRound(logicalDpiX() / 0.0254));
    picture_.setDotsPerMeterY(qRound(logicalDpiY() / 0.0254));
    QPainter painter(&picture_);
    doorRects_ = renderer_->render(painter, rect(), logicalDpiY());
    if (dragging_)
        SketchRenderer::paintHover(painter, hoverRect_);
    invalid_ = false;
    doors.changed = false;
    ++renderCount_;
}

void DraftDlg::paintEvent(QPaintEvent* event) {
    const int rendered = renderCount_;
    ensurePicture();
    // A picture drawn anew during a partial repaint must reach the whole window; an update asked
    // for while painting would be lost, so it is queued.
    if (renderCount_ != rendered && !event->rect().contains(rect()))
        QMetaObject::invokeMethod(this, qOverload<>(&QWidget::update), Qt::QueuedConnection);
    ++paintCount_;
    lastPaintedArea_ = event->region().boundingRect();
    QPainter painter(this);
    for (const QRect& r : event->region())
        painter.drawImage(r, picture_, r);

    if (dragging_) {
        const QPoint shift = currentPoint_ - pressPoint_;
        const QRect moved = dragHorizontal_ ? dragLine_.translated(shift.x(), 0)
                                            : dragLine_.translated(0, shift.y());
        SketchRenderer::paintDragRect(painter, moved);
        return;
    }
    SketchRenderer::paintHover(painter, hoverRect_);
    SketchRenderer::paintMaterialTarget(painter, toQRect(project_.doors->materialTargetRect()));
}

bool DraftDlg::hoverAt(const QPoint& p) {
    const SketchHit hit = hitTestSketch(*project_.doors, ScreenPoint{p.x(), p.y()});
    hoverDoor_ = hit.door;
    const QRect rect = toQRect(hit.rect);
    if (rect == hoverRect_)
        return false;
    if (pictureIsStale()) {
        update();
    } else {
        // Only the old and the new outline need painting again.
        update(SketchRenderer::overlayBounds(hoverRect_));
        update(SketchRenderer::overlayBounds(rect));
    }
    hoverRect_ = rect;
    SketchAccessible::focusMoved(this);
    if (hub_)
        hub_->notify(Notify::Hover);
    return true;
}

void DraftDlg::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_)
        return;
    hoverAt(event->position().toPoint());
}

void DraftDlg::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    update();
}

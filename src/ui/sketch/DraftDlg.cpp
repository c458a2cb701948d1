#include "ui/sketch/DraftDlg.h"

#include "model/Project.h"
#include "model/UndoHistory.h"
#include "ui/shared/PictureCache.h"
#include "ui/sketch/SizeDlg.h"
#include "ui/sketch/SketchAccessible.h"
#include "ui/sketch/SketchKeyboard.h"
#include "ui/sketch/SketchRenderer.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace {

ScreenPoint toScreenPoint(const QPoint& p) {
    return ScreenPoint{p.x(), p.y()};
}

// The point p held inside r.
QPoint clampInto(const QRect& r, const QPoint& p) {
    if (r.isEmpty())
        return p;
    return QPoint(std::clamp(p.x(), r.left(), r.right()), std::clamp(p.y(), r.top(), r.bottom()));
}

} // namespace

DraftDlg::DraftDlg(Project& project, NotifyHub* hub, QWidget* parent, PictureCache* cache)
    : QWidget(parent), project_(project), hub_(hub),
      renderer_(new SketchRenderer(project, cache ? *cache : PictureCache::shared())) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
    // A click on the sketch takes the focus from the panels' fields, so that typing there and
    // editing here are told apart; Tab reaches it too, for the keyboard's commands.
    setFocusPolicy(Qt::StrongFocus);
    keyboard_ = new SketchKeyboard(this);
    SketchAccessible::install();
    setAccessibleName(QStringLiteral("Эскиз"));
}

DraftDlg::~DraftDlg() {
    delete renderer_;
    // The popup belongs to the main window; it must not outlive the sketch it reports to.
    delete sizeDlg_.data();
}

void DraftDlg::send(Notify n) {
    if (hub_)
        hub_->notify(n);
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
        // What lies under the mouse may have changed (a material, a size, a splitter gone): find
        // it again once the sketch is drawn anew, so the strip below describes it as it is now.
        if (!dragging_ && !hoverRect_.isNull()) {
            rehitPending_ = true;
            rehitPoint_ = mousePoint_ + QPoint(0, 2);
        }
        update();
        break;
    case Notify::TotalsChanged:
        update();
        break;
    default:
        break;
    }
}

SketchElementRef DraftDlg::keyboardElement() const {
    return keyboard_->current();
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

QRect DraftDlg::dragRect() const {
    const QPoint shift = currentPoint_ - pressPoint_;
    QRect r =
        dragHorizontal_ ? dragLine_.translated(shift.x(), 0) : dragLine_.translated(0, shift.y());
    // The point is held inside the bounds; the outline around it is held there by its edge, so
    // at a bound it touches the neighbour instead of covering half of it.
    if (dragBounds_.isEmpty())
        return r;
    if (dragHorizontal_) {
        r.moveLeft(std::max(r.left(), dragBounds_.left()));
        r.moveRight(std::min(r.right(), dragBounds_.right()));
    } else {
        r.moveTop(std::max(r.top(), dragBounds_.top()));
        r.moveBottom(std::min(r.bottom(), dragBounds_.bottom()));
    }
    return r;
}

void DraftDlg::paintEvent(QPaintEvent* event) {
    const int rendered = renderCount_;
    ensurePicture();
    // A picture drawn anew during a partial repaint must reach the whole window; an update asked
    // for while painting would be lost, so it is queued.
    if (renderCount_ != rendered && !event->rect().contains(rect()))
        QMetaObject::invokeMethod(this, qOverload<>(&QWidget::update), Qt::QueuedConnection);
    if (rehitPending_ && !dragging_) {
        // The screen rectangles are current again: find what lies under the mouse now.
        rehitPending_ = false;
        const SketchHit hit =
            hitTestSketch(*project_.doors, toScreenPoint(rehitPoint_ - QPoint(0, 2)));
        hoverDoor_ = hit.door;
        hoverRect_ = toQRect(hit.rect);
        updateCursor();
        send(Notify::Hover);
    }
    ++paintCount_;
    lastPaintedArea_ = event->region().boundingRect();
    QPainter painter(this);
    for (const QRect& r : event->region())
        painter.drawImage(r, picture_, r);

    if (dragging_) {
        SketchRenderer::paintDragRect(painter, dragRect());
        return;
    }
    SketchRenderer::paintHover(painter, hoverRect_);
    SketchRenderer::paintMaterialTarget(painter, toQRect(project_.doors->materialTargetRect()));
    keyboard_->paintFocus(painter);
}

bool DraftDlg::hoverAt(const QPoint& p) {
    mousePoint_ = p;
    const SketchHit hit = hitTestSketch(*project_.doors, toScreenPoint(p));
    hoverDoor_ = hit.door;
    updateCursor();
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
    send(Notify::Hover);
    return true;
}

void DraftDlg::updateCursor() {
    Qt::CursorShape shape = Qt::ArrowCursor;
    if (menuOpen_)
        shape = Qt::ArrowCursor;
    else if (project_.splitterMode)
        shape = Qt::CrossCursor;
    else if (project_.doors->hoverKind == 2)
        shape = Qt::SizeHorCursor;
    else if (project_.doors->hoverKind == 1)
        shape = Qt::SizeVerCursor;
    if (cursor().shape() != shape)
        setCursor(shape);
}

bool DraftDlg::sizePopupVisible() const {
    return sizeDlg_ && sizeDlg_->isVisible();
}

void DraftDlg::placeCursor(const QPoint& p) {
    // Platforms without a movable pointer (offscreen, some Wayland sessions) simply ignore this;
    // the drag then holds its own point inside the bounds.
    QCursor::setPos(mapToGlobal(p));
}

// ---- Mouse events ----

void DraftDlg::mouseMoveEvent(QMouseEvent* event) {
    if (sizePopupVisible() || menuOpen_)
        return;
    const QPoint p = event->position().toPoint();
    if (dragging_) {
        dragTo(p);
        return;
    }
    hoverAt(p);
}

void DraftDlg::mousePressEvent(QMouseEvent* event) {
    if (sizePopupVisible() || event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    pressAt(event->position().toPoint());
}

void DraftDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !dragging_) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    finishDragAt(event->position().toPoint());
}

void DraftDlg::contextMenuEvent(QContextMenuEvent* event) {
    if (sizePopupVisible() || dragging_)
        return;
    openContextMenu(event->pos());
}

// ---- Commands ----

void DraftDlg::pressAt(const QPoint& p) {
    send(Notify::SketchPress);
    if (project_.splitterMode && splitAt(p))
        return;
    if (startDragAt(p))
        return;
    toggleMaterialTargetAt(p);
}

bool DraftDlg::splitAt(const QPoint& p) {
    DoorSet& set = *project_.doors;
    set.clearMaterialTargets();
    if (!project_.addSplitterAtPoint(toScreenPoint(p)))
        return false;
    const Door* door = set.selectedSplitterDoor;
    int splitterId = 0;
    for (const auto& [id, s] : door->splitters)
        if (&s == set.selectedSplitter)
            splitterId = id;
    update();
    send(Notify::TotalsChanged);
    openSizePopup(door->index, splitterId, p);
    hoverRect_ = QRect();
    return true;
}

bool DraftDlg::startDragAt(const QPoint& p) {
    DoorSet& set = *project_.doors;
    // The element under the point, as the last mouse move found it.
    hoverAt(p);
    if (set.hoverKind == 0 || hoverDoor_ < 0)
        return false;
    const int i = hoverDoor_;
    Door& d = set.doors[static_cast<std::size_t>(i)];
    ScreenRect line;
    ScreenRect bounds;
    int splitterId = 0;
    if (d.pressedKind == PressedEdge && d.pressedEdge) {
        // The boundary runs between the left profile of the door on its left and the right
        // profile of the door on its right.
        const bool last = i == set.doorCount - 1;
        if (last && i == 0)
            return false;
        const Door& leftDoor = last ? set.doors[static_cast<std::size_t>(i - 1)] : d;
        const Door& rightDoor = last ? d : set.doors[static_cast<std::size_t>(i + 1)];
        line = d.pressedEdge->rect;
        bounds = {leftDoor.edges[EdgeLeft].rect.right, line.top,
                  rightDoor.edges[EdgeRight].rect.left, line.bottom};
    } else if (d.pressedKind == PressedSplitter && d.pressedSplitter) {
        const Splitter& s = *d.pressedSplitter;
        auto [before, after] = d.findNeighbours(s);
        if (!before || !after)
            return false;
        line = s.rect;
        bounds = s.vertical
                     ? ScreenRect{before->rect.left, line.top, after->rect.right, line.bottom}
                     : ScreenRect{line.left, before->rect.top, line.right, after->rect.bottom};
        splitterId = d.pressedSplitterId;
    } else {
        return false;
    }
    set.clearMaterialTargets();
    dragDoor_ = i;
    dragSplitterId_ = splitterId;
    dragHorizontal_ = set.hoverKind == 2;
    dragLine_ = toQRect(line);
    dragBounds_ = toQRect(bounds);
    // The drag starts from the middle of the element, across the drag direction.
    const QPoint middle = dragHorizontal_ ? QPoint(dragLine_.center().x(), p.y())
                                          : QPoint(p.x(), dragLine_.center().y());
    pressPoint_ = clampInto(dragBounds_, middle);
    currentPoint_ = pressPoint_;
    placeCursor(pressPoint_);
    dragging_ = true;
    invalidate();
    return true;
}

void DraftDlg::dragTo(const QPoint& p) {
    if (!dragging_)
        return;
    QPoint next = p;
    if (!dragBounds_.contains(p)) {
        next = clampInto(dragBounds_, p);
        placeCursor(next);
    }
    if (next == currentPoint_)
        return;
    // Only the drag rectangle moves: repaint where it was and where it is now.
    update(SketchRenderer::overlayBounds(dragRect()));
    currentPoint_ = next;
    update(SketchRenderer::overlayBounds(dragRect()));
}

bool DraftDlg::markDragElement() {
    DoorSet& set = *project_.doors;
    if (!set.isDoorInUse(dragDoor_))
        return false;
    Door& d = set.doors[static_cast<std::size_t>(dragDoor_)];
    set.clearPressedElements();
    if (dragSplitterId_ == 0) {
        d.pressedEdge = &d.edges[EdgeRight];
        d.pressedKind = PressedEdge;
        return true;
    }
    Splitter* s = d.splitterById(dragSplitterId_);
    if (!s)
        return false;
    d.pressedSplitter = s;
    d.pressedSplitterId = dragSplitterId_;
    d.pressedKind = PressedSplitter;
    return true;
}

void DraftDlg::finishDragAt(const QPoint& p) {
    if (!dragging_)
        return;
    dragging_ = false;
    const QPoint release = clampInto(dragBounds_, p);
    if (release != pressPoint_ && markDragElement()) {
        const bool moved = project_.finishDrag(toScreenPoint(release));
        if (dragSplitterId_ != 0) {
            openSizePopup(dragDoor_, dragSplitterId_, release, moved);
            hoverAt(release);
        }
        rehitPending_ = true;
        rehitPoint_ = release;
        project_.doors->clearPressedElements();
        send(Notify::TotalsChanged);
    }
    dragDoor_ = -1;
    dragSplitterId_ = 0;
    invalidate();
}

void DraftDlg::toggleMaterialTargetAt(const QPoint& p) {
    DoorSet& set = *project_.doors;
    const ScreenRect before = set.materialTargetRect();
    if (before.isEmpty()) {
        if (!set.chooseMaterialTargetAtPoint(toScreenPoint(p)))
            return;
    } else {
        set.clearMaterialTargets();
        // A second click on the same insert drops the target.
        if (set.chooseMaterialTargetAtPoint(toScreenPoint(p)) && set.materialTargetRect() == before)
            set.clearMaterialTargets();
    }
    update();
}

void DraftDlg::openSizePopup(int door, int splitterId, const QPoint& p, bool extendsLastStep) {
    if (!sizeDlg_) {
        // A window of the main window: the hub disables the sketch while the popup is open, which
        // would disable a popup of the sketch's own as well.
        sizeDlg_ = new SizeDlg(project_, hub_, window() != this ? window() : nullptr);
    }
    sizeDlg_->openFor(door, splitterId, mapToGlobal(p), extendsLastStep);
}

void DraftDlg::copyDoor(int h) {
    project_.copyDoor(h);
}

bool DraftDlg::pasteDoor(int h) {
    if (project_.pasteDoor(h) != PasteDone) {
        update();
        return false;
    }
    send(Notify::ProjectChanged);
    return true;
}

void DraftDlg::alignSplitters(int h, bool vertical) {
    project_.alignSplitters(h, vertical);
    send(Notify::ProjectChanged);
}

bool DraftDlg::deleteAt(const QPoint& p) {
    DoorSet& set = *project_.doors;
    // The element under the point is the pressed one.
    hitTestSketch(set, toScreenPoint(p));
    bool insertPressed = false;
    for (const Door& d : set.doors)
        insertPressed = insertPressed || d.pressedKind == PressedInsert;
    bool changed = false;
    if (insertPressed) {
        changed = project_.removeMaterialOfHoveredInsert();
        update();
    } else {
        changed = project_.deleteSplitterAtPoint(toScreenPoint(p));
        // The layout changed: what lies under the point is known after the next drawing.
        hoverAt(p);
        rehitPending_ = true;
        rehitPoint_ = p + QPoint(0, 2);
        update();
    }
    send(Notify::TotalsChanged);
    return changed;
}

QMenu* DraftDlg::buildContextMenu(const QPoint& p) {
    if (!rect().contains(p))
        return nullptr;
    hoverAt(p);
    const int h = hoverDoor_;
    if (h < 0)
        return nullptr;
    DoorSet& set = *project_.doors;
    auto* menu = new QMenu(this);
    menu->addAction(QStringLiteral("Копировать дверь %1").arg(h + 1), this,
                    [this, h] { copyDoor(h); });
    const int c = set.copySourceDoor;
    if (c >= 0) {
        QAction* paste = menu->addAction(QStringLiteral("Вставить дверь %1").arg(c + 1), this,
                                         [this, h] { pasteDoor(h); });
        paste->setEnabled(c != h);
    }
    menu->addSeparator();
    bool aligned = false;
    if (set.hasSplitters(h, false)) {
        menu->addAction(QStringLiteral("Выравнить горизонтальные разделители"), this,
                        [this, h] { alignSplitters(h, false); });
        aligned = true;
    }
    if (set.hasSplitters(h, true)) {
        menu->addAction(QStringLiteral("Выравнить вертикальные разделители"), this,
                        [this, h] { alignSplitters(h, true); });
        aligned = true;
    }
    if (aligned)
        menu->addSeparator();
    bool pressed = false;
    for (const Door& d : set.doors)
        pressed = pressed || d.pressedKind == PressedInsert || d.pressedKind == PressedSplitter;
    if (pressed)
        menu->addAction(QStringLiteral("Удалить"), this, [this, p] { deleteAt(p); });
    if (const UndoHistory* history = hub_ ? hub_->history() : nullptr) {
        menu->addSeparator();
        QAction* undo = menu->addAction(QStringLiteral("Отменить"), this, [this] { hub_->undo(); });
        undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
        QAction* redo =
            menu->addAction(QStringLiteral("Повторить"), this, [this] { hub_->redo(); });
        redo->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
        undo->setEnabled(history->canUndo());
        redo->setEnabled(history->canRedo());
    }
    return menu;
}

void DraftDlg::openContextMenu(const QPoint& p) {
    QMenu* menu = buildContextMenu(p);
    if (!menu)
        return;
    menuOpen_ = true;
    menuPoint_ = p;
    updateCursor();
    menu->exec(mapToGlobal(p));
    delete menu;
    menuOpen_ = false;
    updateCursor();
}

void DraftDlg::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    update();
}

#include "ui/sketch/SketchKeyboard.h"

#include "model/Project.h"
#include "ui/sketch/DraftDlg.h"
#include "ui/sketch/SketchAccessible.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QTimer>

#include <utility>

namespace {

QRect toRect(const ScreenRect& r) {
    return {r.left, r.top, r.width(), r.height()};
}

} // namespace

SketchKeyboard::SketchKeyboard(DraftDlg* sketch) : QObject(sketch), sketch_(sketch) {
    sketch_->installEventFilter(this);
}

std::vector<SketchElement> SketchKeyboard::elements() const {
    // The screen rectangles are those of the last drawing; a changed door set is drawn first.
    if (sketch_->project().doors->changed && sketch_->isVisible())
        sketch_->repaint();
    return sketchElements(*sketch_->project().doors);
}

bool SketchKeyboard::locate(SketchCursor& cursor, QPoint& middle) const {
    const std::vector<SketchElement> list = elements();
    cursor = settleCursor(list, cursor);
    const int k = findElement(list, cursor.ref);
    if (k < 0)
        return false;
    const QRect r = toRect(list[static_cast<size_t>(k)].rect);
    middle = r.center();
    return !r.isEmpty();
}

SketchElementRef SketchKeyboard::current() const {
    if (!active_ || !sketch_->hasFocus())
        return {};
    return settleCursor(sketchElements(*sketch_->project().doors), cursor_).ref;
}

void SketchKeyboard::moveTo(const SketchCursor& cursor) {
    active_ = true;
    cursor_ = cursor;
    QPoint middle;
    if (locate(cursor_, middle))
        // The element under the keyboard is described like the one under the mouse.
        sketch_->hoverAt(middle);
    SketchAccessible::focusMoved(sketch_);
    sketch_->update();
}

bool SketchKeyboard::eventFilter(QObject* watched, QEvent* event) {
    if (watched == sketch_) {
        switch (event->type()) {
        case QEvent::FocusIn:
            // Reached with Tab: the cursor shows at once. A click or the window's activation
            // only give the focus.
            if (const Qt::FocusReason why = static_cast<QFocusEvent*>(event)->reason();
                why == Qt::TabFocusReason || why == Qt::BacktabFocusReason)
                moveTo(cursor_);
            // The toolkit reports the sketch itself as focused after this event: the element
            // is reported once more after that, so that a screen reader ends on the element.
            QTimer::singleShot(0, sketch_,
                               [sketch = sketch_] { SketchAccessible::focusMoved(sketch); });
            break;
        case QEvent::MouseMove:
            if (active_) {
                active_ = false;
                sketch_->update();
            }
            break;
        case QEvent::FocusOut:
            sketch_->update();
            break;
        case QEvent::KeyPress:
            if (sketch_->isEnabled() && keyPressed(static_cast<QKeyEvent*>(event)))
                return true;
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

bool SketchKeyboard::keyPressed(const QKeyEvent* event) {
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const bool shiftF10 = event->key() == Qt::Key_F10 && mods == Qt::ShiftModifier;
    if (mods != Qt::NoModifier && !shiftF10)
        return false;
    static const std::pair<int, SketchDirection> arrows[] = {
        {Qt::Key_Left, SketchDirection::Left},
        {Qt::Key_Right, SketchDirection::Right},
        {Qt::Key_Up, SketchDirection::Up},
        {Qt::Key_Down, SketchDirection::Down},
    };
    for (const auto& [key, direction] : arrows) {
        if (event->key() == key) {
            moveTo(moveCursor(elements(), cursor_, direction));
            return true;
        }
    }
    QPoint middle;
    if (!locate(cursor_, middle))
        return false;
    const bool onInsert = cursor_.ref.kind == SketchElementKind::Insert;
    switch (event->key()) {
    case Qt::Key_Space:
        if (onInsert)
            sketch_->toggleMaterialTargetAt(middle);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // In splitter mode an insert is split; a splitter gets the insert size popup, which
        // moves it as a drag would.
        if (onInsert && sketch_->project().splitterMode)
            sketch_->splitAt(middle);
        else if (cursor_.ref.kind == SketchElementKind::Splitter)
            sketch_->openSizePopup(cursor_.ref.door, cursor_.ref.id, middle, false);
        return true;
    case Qt::Key_Delete:
        sketch_->deleteAt(middle);
        moveTo(cursor_);
        return true;
    case Qt::Key_Menu:
    case Qt::Key_F10:
        sketch_->openContextMenu(middle);
        return true;
    default:
        return false;
    }
}

void SketchKeyboard::paintFocus(QPainter& painter) const {
    if (!active_ || !sketch_->hasFocus())
        return;
    const std::vector<SketchElement> list = sketchElements(*sketch_->project().doors);
    const int k = findElement(list, settleCursor(list, cursor_).ref);
    if (k < 0)
        return;
    // Outside the hover outline, so that both can be seen.
    painter.save();
    painter.setPen(QPen(QColor(30, 90, 200), 2, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(toRect(list[static_cast<size_t>(k)].rect).adjusted(-4, -4, 3, 3));
    painter.restore();
}

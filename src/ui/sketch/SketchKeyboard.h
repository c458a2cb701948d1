#pragma once

#include "output/SketchCursor.h"

#include <QObject>
#include <QPoint>

class DraftDlg;
class QKeyEvent;
class QPainter;

// The sketch worked from the keyboard. The arrows move a cursor over the inserts and splitters
// (and on into the neighbouring doors), Space chooses or drops the insert as the material
// target, Enter in splitter mode splits the insert (the insert size popup opens as after a
// click), Delete removes the insert's material or deletes the splitter, and the context menu
// key opens the context menu of the element. Each key runs the same command of the sketch that
// the mouse runs, at the middle of the element; the element is outlined while the sketch has the
// focus.
class SketchKeyboard : public QObject {
    Q_OBJECT
public:
    explicit SketchKeyboard(DraftDlg* sketch);

    // The element the keyboard is on; invalid while the sketch does not have the focus or the
    // mouse was used after the keyboard.
    SketchElementRef current() const;
    // Draws the focus outline around the current element.
    void paintFocus(QPainter& painter) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool keyPressed(const QKeyEvent* event);
    // The elements with their screen rectangles as now laid out (laying out first when the
    // door set changed since the last drawing).
    std::vector<SketchElement> elements() const;
    // The cursor settled on an existing element, and the middle of that element on the sketch.
    bool locate(SketchCursor& cursor, QPoint& middle) const;
    void moveTo(const SketchCursor& cursor);

    DraftDlg* sketch_;
    SketchCursor cursor_;
    // The keyboard was used last (a key, or the focus came with Tab); a mouse move ends it.
    bool active_ = false;
};

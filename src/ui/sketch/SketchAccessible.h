#pragma once

#include "output/SketchElements.h"

#include <QAccessibleWidget>

#include <map>
#include <tuple>
#include <vector>

class DraftDlg;

// What assistive technology sees of the sketch: instead of one picture, the doors in view as
// children, each with its inserts and splitters as children of its own, named in words
// ("Вставка 3 двери 2: Зеркало серебро, 477,2 × 1939,0 мм") and placed at their screen
// rectangles. The element the keyboard is on, or else the one under the mouse, is reported as
// focused; an insert chosen for a material as selected.
class SketchAccessible : public QAccessibleWidget {
public:
    explicit SketchAccessible(DraftDlg* sketch);
    ~SketchAccessible() override;

    // Makes every sketch answer with this interface (once per process).
    static void install();
    // The sketch tells its interface (if one was asked for) that the project changed or that
    // the focused element moved, so that readers are told.
    static void projectChanged(DraftDlg* sketch);
    static void focusMoved(DraftDlg* sketch);

    QAccessible::Role role() const override;
    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    // Used by the element interfaces.
    DraftDlg* sketch() const;
    std::vector<SketchElement> elements() const;
    // The interface of an element (made and registered on first use).
    QAccessibleInterface* interfaceFor(const SketchElementRef& ref) const;
    // The keyboard's element, or else the element under the mouse; invalid when neither.
    SketchElementRef focusedElement() const;
    // Screen rectangle of a rectangle of the sketch.
    QRect toScreen(const ScreenRect& r) const;
    // The children of the element at index parent of the list (-1: the doors).
    static std::vector<int> childrenOf(const std::vector<SketchElement>& list, int parent);

private:
    using Key = std::tuple<int, int, int>;
    static Key keyOf(const SketchElementRef& ref);
    void dropStale();

    mutable std::map<Key, QAccessible::Id> ids_;
};

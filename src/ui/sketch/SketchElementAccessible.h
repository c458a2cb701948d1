#pragma once

#include "output/SketchElements.h"

#include <QAccessibleInterface>
#include <QPointer>

class DraftDlg;
class SketchAccessible;

// One door, insert or splitter of the sketch as assistive technology sees it. It holds only
// which element it stands for; every answer is read from the project at the time it is asked,
// so it never points into a door set that was replaced. An element that no longer exists is
// reported invalid.
class SketchElementAccessible : public QAccessibleInterface {
public:
    SketchElementAccessible(DraftDlg* sketch, SketchElementRef ref);

    const SketchElementRef& ref() const { return ref_; }

    bool isValid() const override;
    QObject* object() const override;
    QWindow* window() const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text t, const QString& text) override;
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;

private:
    SketchAccessible* owner() const;
    // The element's place in the owner's current list (-1 when gone), with the list.
    int find(std::vector<SketchElement>& list) const;

    QPointer<DraftDlg> sketch_;
    SketchElementRef ref_;
};

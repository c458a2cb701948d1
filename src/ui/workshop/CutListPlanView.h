#pragma once

#include "plan/CuttingPlan.h"

#include <QAbstractScrollArea>

// The plan of a cut list drawn to scale as the order's "Раскрой" page draws it (every bar and
// sheet, each piece named), scrolled vertically; empty until a plan is given.
class CutListPlanView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit CutListPlanView(QWidget* parent = nullptr);

    void setPlan(const CuttingPlan& plan);
    const CuttingPlan& plan() const { return plan_; }
    // Height of the whole drawing at the view's width.
    int contentHeight() const { return contentHeight_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void relayout();

    CuttingPlan plan_;
    int contentHeight_ = 0;
};

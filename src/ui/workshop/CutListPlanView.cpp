#include "ui/workshop/CutListPlanView.h"

#include "ui/results/CuttingPlanPainter.h"

#include <QPainter>
#include <QScrollBar>

namespace {

constexpr int kMargin = 16;

bool empty(const CuttingPlan& plan) {
    return plan.articles.empty() && plan.materials.empty();
}

} // namespace

CutListPlanView::CutListPlanView(QWidget* parent) : QAbstractScrollArea(parent) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setAccessibleName(QStringLiteral("Карты раскроя"));
    viewport()->setAutoFillBackground(false);
}

void CutListPlanView::setPlan(const CuttingPlan& plan) {
    plan_ = plan;
    verticalScrollBar()->setValue(0);
    relayout();
    viewport()->update();
}

void CutListPlanView::relayout() {
    const int w = std::max(100, viewport()->width() - 2 * kMargin);
    contentHeight_ =
        empty(plan_) ? 0 : CuttingPlanPainter(plan_).height(w, logicalDpiY()) + 2 * kMargin;
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setSingleStep(40);
    verticalScrollBar()->setRange(0, std::max(0, contentHeight_ - viewport()->height()));
}

void CutListPlanView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    relayout();
}

void CutListPlanView::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), Qt::white);
    if (empty(plan_)) {
        p.setPen(QColor(120, 120, 120));
        p.drawText(viewport()->rect(), Qt::AlignCenter,
                   QStringLiteral("Заполните детали и склад и нажмите «Рассчитать»"));
        return;
    }
    const int w = std::max(100, viewport()->width() - 2 * kMargin);
    p.translate(0, -verticalScrollBar()->value());
    CuttingPlanPainter(plan_).paintAll(p, QRect(kMargin, kMargin, w, contentHeight_),
                                       logicalDpiY());
}

#include "ui/results/DlgTabs.h"

#include "ui/shared/Notify.h"
#include "ui/shared/Style.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int kTop = 7;
constexpr int kStep = 96;
constexpr int kHeight = 96;

QColor tabColor(int k) {
    static const QColor colors[] = {QColor(196, 60, 54),  QColor(134, 84, 164),
                                    QColor(58, 110, 178), QColor(226, 138, 44),
                                    QColor(64, 148, 84),  QColor(120, 120, 120)};
    return colors[k];
}

} // namespace

DlgTabs::DlgTabs(NotifyHub& hub, QWidget* parent) : QWidget(parent), hub_(hub) {
    // Reached with Tab; the arrow keys then move between the tabs.
    setFocusPolicy(Qt::TabFocus);
    setFont(style::boldFont());
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(QStringLiteral("Вкладка: ") + caption(selected_));
    setAccessibleDescription(QStringLiteral("Стрелки вверх и вниз выбирают вкладку"));
}

QString DlgTabs::caption(int k) {
    static const char* const captions[] = {"Эскиз",    "Расчеты", "Заказ",
                                           "Элементы", "Сборка",  "Раскрой"};
    return QString::fromUtf8(captions[k]);
}

QSize DlgTabs::sizeHint() const {
    return {kStripWidth, kTop + kTabCount * kStep};
}

QRect DlgTabs::tabRect(int k) const {
    const int y = kTop + k * kStep;
    if (k == selected_)
        return {7, y, 32, kHeight};
    return {12, y, 27, kHeight};
}

void DlgTabs::selectTab(int k) {
    if (k < 0 || k >= kTabCount)
        return;
    selected_ = k;
    setAccessibleName(QStringLiteral("Вкладка: ") + caption(k));
    update();
    hub_.notify(Notify::TabChanged);
}

void DlgTabs::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    for (int k = 0; k < kTabCount; ++k) {
        if (tabRect(k).contains(event->position().toPoint())) {
            selectTab(k);
            return;
        }
    }
}

void DlgTabs::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept(); // never let them reach a window that would close
        return;
    case Qt::Key_Up:
        if (selected_ > 0)
            selectTab(selected_ - 1);
        return;
    case Qt::Key_Down:
        if (selected_ < kTabCount - 1)
            selectTab(selected_ + 1);
        return;
    case Qt::Key_Home:
        if (selected_ != 0)
            selectTab(0);
        return;
    case Qt::Key_End:
        if (selected_ != kTabCount - 1)
            selectTab(kTabCount - 1);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void DlgTabs::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), QColor(245, 245, 237));
    const bool enabled = isEnabled();
    for (int k = 0; k < kTabCount; ++k) {
        const QRectF r = QRectF(tabRect(k)).adjusted(0.5, 1.5, 0.5, -1.5);
        // A tab is rounded on its left side and runs into the page on its right.
        QPainterPath path;
        const double rad = 6;
        path.moveTo(r.right() + 1, r.top());
        path.lineTo(r.left() + rad, r.top());
        path.quadTo(r.left(), r.top(), r.left(), r.top() + rad);
        path.lineTo(r.left(), r.bottom() - rad);
        path.quadTo(r.left(), r.bottom(), r.left() + rad, r.bottom());
        path.lineTo(r.right() + 1, r.bottom());
        const bool selected = k == selected_;
        QColor fill = selected ? QColor(255, 255, 255) : tabColor(k);
        if (!enabled && !selected)
            fill = QColor(fill.red() / 2 + 100, fill.green() / 2 + 100, fill.blue() / 2 + 100);
        p.setPen(QPen(selected ? QColor(219, 206, 198) : fill.darker(125), 1));
        p.setBrush(fill);
        p.drawPath(path);
        // Vertical caption, read from bottom to top.
        p.save();
        p.translate(r.center());
        p.rotate(-90);
        p.setPen(selected ? tabColor(k) : QColor(255, 255, 255));
        QFont f = font();
        f.setPixelSize(13);
        p.setFont(f);
        p.drawText(QRectF(-r.height() / 2, -r.width() / 2, r.height(), r.width()), Qt::AlignCenter,
                   caption(k));
        p.restore();
    }
    // The line along the right edge, broken where the selected tab joins the page.
    p.setRenderHint(QPainter::Antialiasing, false);
    if (hasFocus()) {
        p.setPen(QPen(tabColor(selected_), 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(tabRect(selected_).adjusted(3, 4, -3, -5));
    }
    p.setPen(QColor(219, 206, 198));
    const QRect sel = tabRect(selected_);
    p.drawLine(width() - 1, 0, width() - 1, sel.top() + 1);
    p.drawLine(width() - 1, sel.bottom() - 1, width() - 1, height());
}

void DlgTabs::receive(Notify n) {
    if (n == Notify::PopupOpened || n == Notify::PopupClosed)
        setEnabled(n == Notify::PopupClosed);
}

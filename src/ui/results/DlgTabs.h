#pragma once

#include "ui/shared/Notify.h"

#include <QWidget>

#include <array>

// The vertical tab strip at the left edge of the main window: six picture tabs (Эскиз, Расчеты,
// Заказ, Элементы, Сборка, Раскрой) with the ids 501 to 506. Clicking a tab selects it, redraws the
// strip and tells the main window (NotifyTabChanged). Enter and Escape are swallowed.
class DlgTabs : public QWidget, public NotifyReceiver {
    Q_OBJECT
public:
    static constexpr int kTabCount = 6;
    static constexpr int kFirstId = 501;
    static constexpr int kStripWidth = 39;

    DlgTabs(NotifyHub& hub, QWidget* parent);

    int selectedTab() const { return selected_; }
    // Selects tab k (0..5) as a click on it does, including the notification.
    void selectTab(int k);
    // Rectangle of tab k in the strip's coordinates (the selected tab is wider).
    QRect tabRect(int k) const;
    static QString caption(int k);

    QSize sizeHint() const override;
    // The strip takes no clicks while a popup is open.
    void receive(Notify n) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    NotifyHub& hub_;
    int selected_ = 0;
};

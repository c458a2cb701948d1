#pragma once

#include <QFrame>

class QPushButton;

// The small frame over a window whose journal action takes longer than a moment: "Журнал
// заказов: ожидание ответа…" and "Отмена". It is modal, so the person starts nothing else
// meanwhile.
class JournalBusyFrame : public QFrame {
    Q_OBJECT

public:
    explicit JournalBusyFrame(QWidget* over);
    QPushButton* cancelButton() const { return cancel_; }
    // After "Отмена", until the action has ended.
    void showCancelling();

signals:
    void cancelRequested();

private:
    QPushButton* cancel_ = nullptr;
};

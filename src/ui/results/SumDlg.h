#pragma once

#include "ui/shared/Notify.h"

#include <QWidget>

class Project;
class QLabel;
class QLineEdit;

// The totals panel at the top right of the main window: the discount in percent and the grand
// total of the order ("ОШИБКА" while the calculation has an error).
class SumDlg : public QWidget, public NotifyReceiver {
    Q_OBJECT
public:
    static constexpr int kWidth = 220;

    SumDlg(Project& project, NotifyHub& hub, QWidget* parent);

    void receive(Notify n) override;

    QLineEdit* discountEdit() const { return discount_; }
    QLabel* totalLabel() const { return total_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void discountEdited();
    void reloadDiscount();
    void showTotal();

    Project& project_;
    NotifyHub& hub_;
    bool reloading_ = false;
    QLineEdit* discount_ = nullptr;
    QLabel* total_ = nullptr;
};

#pragma once

#include "journal/JournalPayment.h"

#include <QDialog>

#include <cstdint>
#include <optional>
#include <string>

class JournalRunner;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// "Принять оплату": the amount, kind, method and note of one payment on an order, recorded when
// confirmed. The dialog's key goes with every attempt until one succeeds, so a payment whose
// answer was lost and is confirmed again is taken once. A refusal (more than the balance, an
// amount that is not one) is said in the dialog, which stays open.
class DlgPayment : public QDialog {
    Q_OBJECT
public:
    DlgPayment(JournalRunner& session, int64_t number, int64_t balanceKopecks, QWidget* parent);

    // A refund greyed, with the reason in its tooltip, for a user whose role may not give money
    // back.
    void allowRefunds(bool allowed);

    // The payment recorded, once the dialog was accepted.
    const std::optional<JournalPayment>& payment() const { return payment_; }

    QLineEdit* amountEdit() const { return amount_; }
    QComboBox* kindChoice() const { return kind_; }
    QComboBox* methodChoice() const { return method_; }
    QLineEdit* noteEdit() const { return note_; }
    QLabel* messageLabel() const { return message_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

private:
    void record();

    JournalRunner& session_;
    int64_t number_;
    std::string key_;
    std::optional<JournalPayment> payment_;
    QLineEdit* amount_ = nullptr;
    QComboBox* kind_ = nullptr;
    QComboBox* method_ = nullptr;
    QLineEdit* note_ = nullptr;
    QLabel* message_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

#pragma once

#include "ui/shared/Notify.h"

#include <QWidget>

#include <cstdint>

struct JournalOrder;

class JournalRunner;
class PictureButton;
class Project;
class QDateEdit;
class QLabel;
class QLineEdit;

// The order card beside the order-information table: number, client, address, phone, the
// assembly and delivery costs and the two dates of the project's order. Every change is stored
// at once and announced to the main window, which refreshes the totals and the tables.
// "Оформить заказ" saves the sketch under the order number, consumes the number (records the
// order in the journal when there is one) and asks for the print choice.
class DlgOrder : public QWidget, public NotifyReceiver {
    Q_OBJECT
public:
    static constexpr int kWidth = 280;
    static constexpr int kMaxTextLength = 254; // the sketch file holds 254 code units per text

    DlgOrder(Project& project, NotifyHub& hub, QWidget* parent);

    void receive(Notify n) override;
    // Shows the record's values in the controls.
    void fillFromRecord();
    // "Новый заказ" and "Оформить заказ".
    void newOrder();
    void placeOrder();
    // With a journal, placing records the order in it and takes the order's number from it, all
    // in one transaction with the saving of the sketch; without one (nullptr, or a journal
    // switched off) the number file numbers the orders.
    void setJournal(JournalRunner* journal) { journal_ = journal; }
    // The card shows an order from the journal: its money under the fields, and, when revising,
    // placing stores the project as the order's new revision under the same number. Cleared by
    // a new order and by opening another project.
    void showJournalOrder(const JournalOrder& order, bool revising);
    void clearJournalOrder();
    int64_t revisingNumber() const { return revising_ ? journalOrder_ : 0; }
    QLabel* moneyLabel() const { return money_; }

    QLineEdit* numberEdit() const { return number_; }
    QLineEdit* nameEdit() const { return name_; }
    QLineEdit* addressEdit() const { return address_; }
    QLineEdit* phoneEdit() const { return phone_; }
    QLineEdit* assemblyEdit() const { return assembly_; }
    QLineEdit* deliveryEdit() const { return delivery_; }
    QDateEdit* orderDateEdit() const { return orderDate_; }
    QDateEdit* readyDateEdit() const { return readyDate_; }
    PictureButton* newOrderButton() const { return newButton_; }
    PictureButton* placeOrderButton() const { return placeButton_; }

signals:
    // The order was recorded in the journal.
    void orderPlaced(qint64 number);
    // The order was placed: the print choice should open, as the top panel's print command does.
    void printChoiceRequested();
    // The journal did not answer, and the order was kept to be placed when it does.
    void placingDeferred();
    // A new revision of the order was stored.
    void orderRevised(qint64 number);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLineEdit* addTextField(const QString& label, int y, int width);
    QDateEdit* addDateField(const QString& label, int y);
    void costEdited(QLineEdit* edit, int32_t& cost);
    void dateEdited(QDateEdit* edit, int64_t& stored);
    void placeInJournal();
    // Offers to keep the order as a file to be placed once the journal answers; the reason is
    // the journal's message. sketchPath: the file already chosen (empty: asks for one).
    void offerToPlaceLater(const std::string& reason, QString sketchPath);

    Project& project_;
    NotifyHub& hub_;
    JournalRunner* journal_ = nullptr;
    bool inCostRule_ = false;
    QLineEdit* number_ = nullptr;
    QLineEdit* name_ = nullptr;
    QLineEdit* address_ = nullptr;
    QLineEdit* phone_ = nullptr;
    QLineEdit* assembly_ = nullptr;
    QLineEdit* delivery_ = nullptr;
    QDateEdit* orderDate_ = nullptr;
    QDateEdit* readyDate_ = nullptr;
    PictureButton* newButton_ = nullptr;
    PictureButton* placeButton_ = nullptr;
    QLabel* money_ = nullptr;
    int64_t journalOrder_ = 0;
    bool revising_ = false;
};

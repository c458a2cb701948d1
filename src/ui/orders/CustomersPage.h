#pragma once

#include "journal/JournalCustomers.h"
#include "journal/JournalOrder.h"

#include <QWidget>

#include <vector>

class JournalRunner;
class PageMessage;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// "Клиенты": the customers with their orders, totals and balance, found by a part of the name or
// phone; the selected customer's orders and record, whose name, phone and address may be edited
// (the printed texts of their orders stay as placed).
class CustomersPage : public QWidget {
    Q_OBJECT
public:
    CustomersPage(JournalRunner& journal, QWidget* parent = nullptr);

    void refresh();

    QLineEdit* searchEdit() const { return search_; }
    QTableWidget* table() const { return table_; }
    QTableWidget* ordersTable() const { return orders_; }
    QLineEdit* nameEdit() const { return name_; }
    QLineEdit* phoneEdit() const { return phone_; }
    QLineEdit* addressEdit() const { return address_; }
    QPushButton* saveButton() const { return save_; }
    const std::vector<JournalCustomer>& customers() const { return customers_; }

private:
    void showSelected();
    void saveSelected();
    int64_t selectedId() const;

    JournalRunner& journal_;
    std::vector<JournalCustomer> customers_;
    QLineEdit* search_ = nullptr;
    QTableWidget* table_ = nullptr;
    QTableWidget* orders_ = nullptr;
    QLineEdit* name_ = nullptr;
    QLineEdit* phone_ = nullptr;
    QLineEdit* address_ = nullptr;
    QPushButton* save_ = nullptr;
    PageMessage* message_ = nullptr;
};

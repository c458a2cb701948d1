#pragma once

#include <QByteArray>
#include <QDialog>

#include <QList>

#include "journal/JournalRoles.h"

#include <cstdint>
#include <vector>

class CustomersPage;
class DebtsPage;
class DlgPayment;
class JournalRunner;
class OrdersTableModel;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableView;

// "Журнал заказов", with the pages "Заказы", "Долги" and "Клиенты". "Заказы": the placed orders
// with a search field (number, customer or phone, any part), a period, a status filter and sorting
// on every column, a line with the count and sum of the orders shown; from it an order is opened,
// its status changed, copied as a new order, the rows exported as CSV, the monthly report shown,
// and several selected rows handed to the workshop as a batch. A journal that cannot be reached is
// said in the window; nothing else changes.
class DlgOrders : public QDialog {
    Q_OBJECT
public:
    DlgOrders(JournalRunner& session, QWidget* parent);

    // Reads the orders again (after an order was placed elsewhere, or the filter changed).
    void refresh();
    // The order of the selected row; 0 when none or several are selected.
    int64_t selectedNumber() const;
    // The orders of every selected row, in the table's order.
    std::vector<int64_t> selectedNumbers() const;

    QLineEdit* searchEdit() const { return search_; }
    QComboBox* statusFilter() const { return statusFilter_; }
    QCheckBox* periodCheck() const { return period_; }
    QDateEdit* fromEdit() const { return from_; }
    QDateEdit* toEdit() const { return to_; }
    QTableView* table() const { return table_; }
    OrdersTableModel* model() const { return model_; }
    QLabel* summaryLabel() const { return summary_; }
    QLabel* messageLabel() const { return message_; }
    QPushButton* openButton() const { return open_; }
    QComboBox* statusChoice() const { return statusChoice_; }
    QPushButton* statusButton() const { return setStatus_; }
    QPushButton* copyButton() const { return copy_; }
    QPushButton* exportButton() const { return export_; }
    QPushButton* reportButton() const { return report_; }
    QPushButton* payButton() const { return pay_; }
    // The payment dialog while it is open (for the tests), null otherwise.
    DlgPayment* paymentDialog() const { return paymentDialog_; }
    QPushButton* batchButton() const { return batch_; }
    QPushButton* reviseButton() const { return revise_; }
    QPushButton* historyButton() const { return history_; }
    QTabWidget* pages() const { return pages_; }
    DebtsPage* debtsPage() const { return debts_; }
    CustomersPage* customersPage() const { return customers_; }
    // What the connected user may do, read when the window reads the orders.
    const JournalRights& rights() const { return rights_; }

signals:
    // The user asked to open the order's sketch (the bytes kept when it was placed).
    void openRequested(const QByteArray& sketch, qint64 number);
    // The user asked to change the order: its sketch opens, and placing stores a new revision.
    void reviseRequested(const QByteArray& sketch, qint64 number);
    // The user asked for a new order made from this one's sketch.
    void copyRequested(const QByteArray& sketch, qint64 number);
    // A payment was recorded on the order; its receipt may be offered.
    void paymentTaken(qint64 number, qint64 paymentId);
    // The user asked for a batch of the selected orders ("В партию").
    void batchRequested(const QList<qint64>& numbers);

private:
    void filterChanged();
    void showFailure(const QString& message);
    void updateSummary();
    void updateButtons();
    enum class Open { View, Revise, Copy };
    void openSelected(Open how);
    void showHistory();
    void changeStatus();
    void exportRows();
    void showReport();
    void takePayment();

    JournalRunner& session_;
    OrdersTableModel* model_ = nullptr;
    QLineEdit* search_ = nullptr;
    QComboBox* statusFilter_ = nullptr;
    QCheckBox* period_ = nullptr;
    QDateEdit* from_ = nullptr;
    QDateEdit* to_ = nullptr;
    QTableView* table_ = nullptr;
    QLabel* summary_ = nullptr;
    QLabel* message_ = nullptr;
    QPushButton* open_ = nullptr;
    QComboBox* statusChoice_ = nullptr;
    QPushButton* setStatus_ = nullptr;
    QPushButton* copy_ = nullptr;
    QPushButton* export_ = nullptr;
    QPushButton* report_ = nullptr;
    QPushButton* pay_ = nullptr;
    DlgPayment* paymentDialog_ = nullptr;
    QPushButton* batch_ = nullptr;
    QPushButton* revise_ = nullptr;
    QPushButton* history_ = nullptr;
    QTabWidget* pages_ = nullptr;
    DebtsPage* debts_ = nullptr;
    CustomersPage* customers_ = nullptr;
    JournalRights rights_;
    bool rightsRead_ = false;
};

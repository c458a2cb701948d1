#pragma once

#include "journal/JournalOrder.h"

#include <QWidget>

class JournalRunner;
class PageMessage;
class QLabel;
class QPushButton;
class QTableWidget;

// "Долги": the orders that still owe money, the oldest placing first, with the days since
// placing and since "Готов", the totals, and their export as CSV.
class DebtsPage : public QWidget {
    Q_OBJECT
public:
    DebtsPage(JournalRunner& journal, QWidget* parent = nullptr);

    // Reads the debts again.
    void refresh();
    const DebtReport& debts() const { return debts_; }

    QTableWidget* table() const { return table_; }
    QLabel* totalsLabel() const { return totals_; }
    QPushButton* exportButton() const { return export_; }

private:
    void exportRows();

    JournalRunner& journal_;
    DebtReport debts_;
    QTableWidget* table_ = nullptr;
    QLabel* totals_ = nullptr;
    PageMessage* message_ = nullptr;
    QPushButton* refresh_ = nullptr;
    QPushButton* export_ = nullptr;
};

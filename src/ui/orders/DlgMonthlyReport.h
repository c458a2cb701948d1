#pragma once

#include "journal/JournalOrder.h"

#include <QDialog>

class JournalRunner;
class QDateEdit;
class QLabel;
class QPushButton;
class QTableWidget;

// "Отчет за месяц": the orders of a chosen month and their money by system and by salesperson
// (cancelled orders left out), shown as a table and exportable as CSV.
class DlgMonthlyReport : public QDialog {
    Q_OBJECT
public:
    DlgMonthlyReport(JournalRunner& session, QWidget* parent);

    QDateEdit* monthEdit() const { return month_; }
    QTableWidget* table() const { return table_; }
    QLabel* messageLabel() const { return message_; }
    QPushButton* exportButton() const { return export_; }
    const MonthlyReport& report() const { return report_; }

private:
    void load();
    void exportReport();

    JournalRunner& session_;
    MonthlyReport report_;
    QDateEdit* month_ = nullptr;
    QTableWidget* table_ = nullptr;
    QLabel* message_ = nullptr;
    QPushButton* export_ = nullptr;
};

#pragma once

#include "journal/JournalHistory.h"
#include "journal/JournalOrder.h"

#include <QByteArray>
#include <QDialog>

#include <vector>

class JournalRunner;
class PageMessage;
class QPushButton;
class QTableWidget;

// "История заказа": every change of the order (when, who, what, old value → new) and its
// revisions; an earlier revision opens as it was, to be read or printed.
class DlgOrderHistory : public QDialog {
    Q_OBJECT
public:
    DlgOrderHistory(JournalRunner& journal, int64_t number, QWidget* parent);

    QTableWidget* changesTable() const { return changes_; }
    QTableWidget* revisionsTable() const { return revisions_; }
    QPushButton* openButton() const { return open_; }

signals:
    // The user asked to open a revision's sketch.
    void revisionRequested(const QByteArray& sketch, qint64 number);

private:
    void openSelected();

    JournalRunner& journal_;
    int64_t number_;
    std::vector<OrderRevision> list_;
    QTableWidget* changes_ = nullptr;
    QTableWidget* revisions_ = nullptr;
    QPushButton* open_ = nullptr;
    PageMessage* message_ = nullptr;
};

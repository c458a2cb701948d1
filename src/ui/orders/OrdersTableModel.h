#pragma once

#include "journal/JournalOrder.h"

#include <QAbstractTableModel>

#include <string>
#include <vector>

class JournalRunner;

// The journal's orders as the window's table shows them: the first screen of rows read at once,
// further rows as the list is scrolled, sorted by the database on any column, with the count and
// sum of every order the filter selects. The count and sum read every selected order, so they
// follow once the first screen is shown (summaryChanged).
class OrdersTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        Number,
        PlacedAt,
        Customer,
        Phone,
        System,
        Doors,
        Total,
        Paid,
        Balance,
        Status,
        ColumnCount
    };
    static constexpr int kScreenRows = 100;

    // Reads through the session's actions; failed receives the message of a failed one.
    OrdersTableModel(JournalRunner& session, QObject* parent = nullptr);

    // Reads the first screen and the sum line again with this filter (its sort kept from the
    // table's header). Returns false and reports when the journal failed.
    bool setFilter(const OrderFilter& filter);
    bool reload() { return setFilter(filter_); }
    const OrderFilter& filter() const { return filter_; }
    const OrderSummary& summary() const { return summary_; }
    const JournalOrder* orderAt(int row) const;
    // Every order the filter selects (for the CSV export), not only the rows read so far.
    std::vector<JournalOrder> allRows();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    void sort(int column, Qt::SortOrder order) override;

signals:
    void failed(const QString& message);
    void summaryChanged();

private:
    bool read(bool append);
    void readSummary(int generation);

    JournalRunner& session_;
    OrderFilter filter_;
    OrderSummary summary_;
    std::vector<JournalOrder> rows_;
    bool loaded_ = false; // the table's first sort order arrives before the first filter
    bool summaryPending_ = false;
    int generation_ = 0; // a summary asked for an older filter is dropped
};

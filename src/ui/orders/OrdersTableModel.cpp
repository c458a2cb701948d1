#include "ui/orders/OrdersTableModel.h"

#include "journal/Journal.h"
#include "journal/JournalCsv.h"
#include "journal/JournalDates.h"
#include "journal/JournalError.h"
#include "ui/shared/JournalRunner.h"

#include "journal/OrderPlacing.h"
#include <QWidget>

#include <QTimer>

namespace {

OrderFilter::Column filterColumn(int column) {
    switch (column) {
    case OrdersTableModel::PlacedAt:
        return OrderFilter::Column::PlacedAt;
    case OrdersTableModel::Customer:
        return OrderFilter::Column::Customer;
    case OrdersTableModel::Phone:
        return OrderFilter::Column::Phone;
    case OrdersTableModel::System:
        return OrderFilter::Column::System;
    case OrdersTableModel::Doors:
        return OrderFilter::Column::Doors;
    case OrdersTableModel::Total:
        return OrderFilter::Column::Total;
    case OrdersTableModel::Paid:
        return OrderFilter::Column::Paid;
    case OrdersTableModel::Balance:
        return OrderFilter::Column::Balance;
    case OrdersTableModel::Status:
        return OrderFilter::Column::Status;
    default:
        return OrderFilter::Column::Number;
    }
}

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

namespace {

// The window the busy frame of a slow read covers: the model's own.
QWidget* overWidget(const QObject* model) {
    return qobject_cast<QWidget*>(model->parent());
}

} // namespace

OrdersTableModel::OrdersTableModel(JournalRunner& session, QObject* parent)
    : QAbstractTableModel(parent), session_(session) {}

bool OrdersTableModel::setFilter(const OrderFilter& filter) {
    const OrderFilter::Column sort = filter_.sort;
    const bool descending = filter_.descending;
    filter_ = filter;
    filter_.sort = sort;
    filter_.descending = descending;
    loaded_ = true;
    return read(false);
}

bool OrdersTableModel::read(bool append) {
    OrderFilter page = filter_;
    page.limit = kScreenRows;
    page.offset = append ? static_cast<int>(rows_.size()) : 0;
    std::vector<JournalOrder> rows;
    try {
        rows = session_.run(overWidget(this), JournalSession::Action::Read,
                            [&](Journal& journal) { return journal.list(page); });
    } catch (const JournalError& e) {
        if (!append) {
            ++generation_;
            beginResetModel();
            rows_.clear();
            summary_ = {};
            summaryPending_ = false;
            endResetModel();
            emit summaryChanged();
        }
        emit failed(qs(e.what()));
        return false;
    }
    if (append) {
        if (rows.empty())
            return true;
        const int first = static_cast<int>(rows_.size());
        beginInsertRows({}, first, first + static_cast<int>(rows.size()) - 1);
        rows_.insert(rows_.end(), rows.begin(), rows.end());
        endInsertRows();
        return true;
    }
    beginResetModel();
    rows_ = std::move(rows);
    summaryPending_ = true;
    endResetModel();
    const int generation = ++generation_;
    QTimer::singleShot(0, this, [this, generation] { readSummary(generation); });
    return true;
}

void OrdersTableModel::readSummary(int generation) {
    if (generation != generation_)
        return;
    try {
        summary_ = session_.run(overWidget(this), JournalSession::Action::Read,
                                [&](Journal& journal) { return journal.summary(filter_); });
    } catch (const JournalError& e) {
        summary_ = {static_cast<int64_t>(rows_.size()), 0};
        emit failed(qs(e.what()));
    }
    summaryPending_ = false;
    emit summaryChanged();
}

const JournalOrder* OrdersTableModel::orderAt(int row) const {
    return row >= 0 && row < static_cast<int>(rows_.size()) ? &rows_[static_cast<size_t>(row)]
                                                            : nullptr;
}

std::vector<JournalOrder> OrdersTableModel::allRows() {
    try {
        return session_.run(overWidget(this), JournalSession::Action::Read,
                            [&](Journal& journal) { return journal.list(filter_); });
    } catch (const JournalError& e) {
        emit failed(qs(e.what()));
        return {};
    }
}

int OrdersTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int OrdersTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant OrdersTableModel::data(const QModelIndex& index, int role) const {
    const JournalOrder* o = orderAt(index.row());
    if (o == nullptr)
        return {};
    if (role == Qt::TextAlignmentRole) {
        const int c = index.column();
        const bool number = c == Number || c == Doors || c == Total || c == Paid || c == Balance;
        return QVariant::fromValue(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
    }
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    switch (index.column()) {
    case Number:
        return qs(orderplacing::numberText(o->number));
    case PlacedAt:
        return qs(journaldates::shownTime(o->placedAt, o->utcOffset));
    case Customer:
        return qs(o->customer);
    case Phone:
        return qs(o->phone);
    case System:
        return qs(o->system);
    case Doors:
        return o->doors;
    case Total:
        return qs(journalcsv::money(o->totalKopecks));
    case Paid:
        return qs(journalcsv::money(o->paidKopecks));
    case Balance:
        return qs(journalcsv::money(o->balanceKopecks()));
    case Status:
        return qs(o->status);
    default:
        return {};
    }
}

QVariant OrdersTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char* const names[] = {"Номер", "Дата",        "Клиент",   "Телефон", "Система",
                                        "Двери", "Итого, руб.", "Оплачено", "Остаток", "Состояние"};
    return section >= 0 && section < ColumnCount ? QString::fromUtf8(names[section]) : QVariant();
}

bool OrdersTableModel::canFetchMore(const QModelIndex& parent) const {
    if (parent.isValid())
        return false;
    // Before the count is known, a full last page promises more.
    if (summaryPending_)
        return !rows_.empty() && rows_.size() % kScreenRows == 0;
    return static_cast<int64_t>(rows_.size()) < summary_.count;
}

void OrdersTableModel::fetchMore(const QModelIndex& parent) {
    if (canFetchMore(parent))
        read(true);
}

void OrdersTableModel::sort(int column, Qt::SortOrder order) {
    const OrderFilter::Column sort = filterColumn(column);
    const bool descending = order == Qt::DescendingOrder;
    if (sort == filter_.sort && descending == filter_.descending && loaded_)
        return;
    filter_.sort = sort;
    filter_.descending = descending;
    if (loaded_)
        read(false);
}

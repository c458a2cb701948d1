// The journal's searches: the order list of a filter, its count and sum, the monthly report.

#include "journal/Journal.h"

#include "journal/JournalConnection.h"
#include "journal/JournalDates.h"
#include "journal/JournalError.h"
#include "journal/JournalPayment.h"
#include "journal/JournalRows.h"
#include "journal/OrderStatus.h"

namespace {

// The WHERE clause of a filter and its values.
QString whereOf(const JournalConnection& db, const OrderFilter& f, QVariantList& values) {
    QStringList terms;
    if (f.from) {
        terms << "placed_at >= ?";
        values << qlonglong(*f.from);
    }
    if (f.to) {
        terms << "placed_at < ?";
        values << qlonglong(*f.to);
    }
    if (!f.status.empty()) {
        terms << "status = ?";
        values << QString::fromStdString(f.status);
    }
    if (!f.find.empty()) {
        // A number is found by any part of it as shown, a customer by any part of the name in
        // any case, a phone by any part as typed or of its digits alone.
        const QString contains = db.containsCondition("search_text");
        QString any = contains;
        values << QString::fromStdString(journalrows::folded(f.find));
        const std::string digits = journalrows::digitsOf(f.find);
        if (!digits.empty() && digits != f.find) {
            any += " OR " + contains;
            values << QString::fromStdString(digits);
        }
        terms << "(" + any + ")";
    }
    return terms.isEmpty() ? QString() : " WHERE " + terms.join(" AND ");
}

QString sortColumn(OrderFilter::Column c) {
    switch (c) {
    case OrderFilter::Column::Number:
        return "number";
    case OrderFilter::Column::PlacedAt:
        return "placed_at";
    case OrderFilter::Column::Customer:
        return "customer_folded";
    case OrderFilter::Column::Phone:
        return "phone";
    case OrderFilter::Column::System:
        return "system";
    case OrderFilter::Column::Doors:
        return "door_count";
    case OrderFilter::Column::Total:
        return "total_kopecks";
    case OrderFilter::Column::Paid:
        return journalrows::paidOf("orders.number");
    case OrderFilter::Column::Balance:
        return "total_kopecks - " + journalrows::paidOf("orders.number");
    case OrderFilter::Column::Status:
        return "status";
    }
    return "number";
}

} // namespace

std::vector<JournalOrder> Journal::list(const OrderFilter& filter) {
    QVariantList values;
    const QString direction = filter.descending ? " DESC" : " ASC";
    QString sql = "SELECT " + journalrows::kColumns + " FROM orders" +
                  whereOf(*db_, filter, values) + " ORDER BY " + sortColumn(filter.sort) +
                  direction;
    if (filter.sort != OrderFilter::Column::Number)
        sql += ", number" + direction;
    if (filter.limit >= 0) {
        sql += " LIMIT ? OFFSET ?";
        values << filter.limit << std::max(filter.offset, 0);
    }
    QSqlQuery q = db_->run(sql, values);
    std::vector<JournalOrder> orders;
    while (q.next())
        orders.push_back(journalrows::orderAt(q));
    return orders;
}

OrderSummary Journal::summary(const OrderFilter& filter) {
    QVariantList values;
    QSqlQuery q = db_->run("SELECT COUNT(*), CAST(COALESCE(SUM(total_kopecks), 0) AS BIGINT) "
                           "FROM orders" +
                               whereOf(*db_, filter, values),
                           values);
    OrderSummary s;
    if (q.next()) {
        s.count = q.value(0).toLongLong();
        s.totalKopecks = q.value(1).toLongLong();
    }
    return s;
}

MonthlyReport Journal::report(int year, int month) {
    MonthlyReport r;
    r.year = year;
    r.month = month;
    const auto from = journaldates::localDayStart(year, month, 1);
    const auto to = month == 12 ? journaldates::localDayStart(year + 1, 1, 1)
                                : journaldates::localDayStart(year, month + 1, 1);
    if (!from || !to)
        throw JournalError(JournalError::Failed, "Неверный месяц отчета");
    const QString where = " FROM orders WHERE placed_at >= ? AND placed_at < ? AND status <> ?";
    const QVariantList values = {qlonglong(*from), qlonglong(*to),
                                 QString::fromStdString(std::string(orderstatus::kCancelled))};
    auto lines = [&](const QString& column) {
        QSqlQuery q =
            db_->run("SELECT " + column + ", COUNT(*), CAST(SUM(total_kopecks) AS BIGINT)" + where +
                         " GROUP BY " + column + " ORDER BY " + column,
                     values);
        std::vector<MonthlyReport::Line> out;
        while (q.next())
            out.push_back({q.value(0).toString().toStdString(), q.value(1).toLongLong(),
                           q.value(2).toLongLong()});
        return out;
    };
    r.bySystem = lines("system");
    r.bySalesperson = lines("salesperson");
    // The money of the month's payments, by when it was taken.
    const QString refund = QString::fromUtf8(std::string(journalpayment::kRefund).c_str());
    QSqlQuery money =
        db_->run("SELECT method, COUNT(*), CAST(SUM(amount_kopecks) AS BIGINT) FROM payments WHERE "
                 "taken_at >= ? AND taken_at < ? AND kind <> ? GROUP BY method ORDER BY method",
                 {qlonglong(*from), qlonglong(*to), refund});
    while (money.next())
        r.receivedByMethod.push_back({money.value(0).toString().toStdString(),
                                      money.value(1).toLongLong(), money.value(2).toLongLong()});
    QSqlQuery back = db_->run("SELECT COUNT(*), CAST(COALESCE(SUM(amount_kopecks), 0) AS BIGINT) "
                              "FROM payments WHERE taken_at >= ? AND taken_at < ? AND kind = ?",
                              {qlonglong(*from), qlonglong(*to), refund});
    if (back.next())
        r.refunds = {back.value(0).toLongLong(), back.value(1).toLongLong()};
    for (const MonthlyReport::Line& line : r.bySystem) {
        r.all.count += line.count;
        r.all.totalKopecks += line.totalKopecks;
    }
    return r;
}

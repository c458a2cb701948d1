// The journal's money: payments and refunds on the orders, checked against the balance inside
// the transaction that records them.

#include "journal/Journal.h"

#include "journal/JournalConnection.h"
#include "journal/JournalCsv.h"
#include "journal/JournalDates.h"
#include "journal/JournalError.h"
#include "journal/JournalHistory.h"
#include "journal/JournalRows.h"
#include "journal/OrderPlacing.h"
#include "journal/OrderStatus.h"

#include <ctime>

namespace {

const QString kPaymentColumns =
    "id, number, amount_kopecks, kind, method, taken_at, utc_offset, taken_by, note";

JournalPayment paymentAt(const QSqlQuery& q) {
    JournalPayment p;
    p.id = q.value(0).toLongLong();
    p.number = q.value(1).toLongLong();
    p.amountKopecks = q.value(2).toLongLong();
    p.kind = q.value(3).toString().toStdString();
    p.method = q.value(4).toString().toStdString();
    p.takenAt = q.value(5).toLongLong();
    p.utcOffset = q.value(6).toInt();
    p.takenBy = q.value(7).toString().toStdString();
    p.note = q.value(8).toString().toStdString();
    return p;
}

[[noreturn]] void refuse(const std::string& message) {
    throw JournalError(JournalError::Refused, message);
}

std::string rub(int64_t kopecks) {
    return journalcsv::money(kopecks) + " руб.";
}

// The rules a payment must keep, given the order as it is inside the recording transaction.
void check(const JournalOrder& o, int64_t amount, const std::string& kind) {
    const std::string order = "заказу " + orderplacing::numberText(o.number);
    if (amount <= 0)
        refuse("Сумма платежа должна быть больше нуля");
    if (kind == journalpayment::kRefund) {
        if (amount > o.paidKopecks)
            refuse("Возврат " + rub(amount) + " больше оплаченного по " + order + ": оплачено " +
                   rub(o.paidKopecks));
        return;
    }
    if (o.status == orderstatus::kCancelled)
        refuse("Заказ " + orderplacing::numberText(o.number) +
               " отменён: по нему возможен только возврат");
    if (amount > o.balanceKopecks())
        refuse("Сумма " + rub(amount) + " больше остатка по " + order + ": остаток " +
               rub(o.balanceKopecks()) +
               ". Переплата не принимается; лишние деньги возвращаются возвратом.");
}

} // namespace

JournalPayment Journal::pay(int64_t number, int64_t amountKopecks, const std::string& kind,
                            const std::string& method, const std::string& note,
                            const std::string& by, const std::string& key) {
    if (!journalpayment::isOneOf(journalpayment::kKinds, kind))
        throw JournalError(JournalError::Failed, "Неизвестный вид платежа: " + kind);
    if (!journalpayment::isOneOf(journalpayment::kMethods, method))
        throw JournalError(JournalError::Failed, "Неизвестный способ оплаты: " + method);
    const int64_t id = db_->keyedWrite(key, "pay", [&] {
        // The order's row is held until the commit: a second seat paying on it waits and then
        // sees this payment in the balance (SQLite's write lock does the same).
        QSqlQuery q = db_->run("SELECT " + journalrows::kColumns + " FROM orders WHERE number = ?" +
                                   (db_->isSqlite() ? "" : " FOR UPDATE"),
                               {qlonglong(number)});
        if (!q.next())
            throw JournalError(JournalError::NoSuchOrder,
                               "Заказ " + std::to_string(number) + " не найден в журнале");
        const JournalOrder o = journalrows::orderAt(q);
        q.finish();
        check(o, amountKopecks, kind);
        const auto now = static_cast<int64_t>(std::time(nullptr));
        QSqlQuery inserted = db_->run(
            "INSERT INTO payments (number, amount_kopecks, kind, method, taken_at, "
            "utc_offset, taken_by, note) VALUES (?, ?, ?, ?, ?, ?, ?, ?) RETURNING id",
            {qlonglong(number), qlonglong(amountKopecks), QString::fromStdString(kind),
             QString::fromStdString(method), qlonglong(now), journaldates::utcOffsetAt(now),
             QString::fromStdString(by), QString::fromStdString(note)});
        if (!inserted.next())
            throw JournalError(JournalError::Failed, "Журнал заказов не записал платеж");
        const int64_t id = inserted.value(0).toLongLong();
        inserted.finish();
        JournalPayment p;
        p.amountKopecks = amountKopecks;
        p.kind = kind;
        journalhistory::record(
            *db_, journalhistory::paymentEntry(number, p, method, note, o.balanceKopecks(), now),
            by);
        return JournalConnection::Done{id, now};
    });
    return payment(id);
}

JournalPayment Journal::payment(int64_t id) {
    QSqlQuery q =
        db_->run("SELECT " + kPaymentColumns + " FROM payments WHERE id = ?", {qlonglong(id)});
    if (!q.next())
        throw JournalError(JournalError::Failed, "Платеж не найден в журнале");
    return paymentAt(q);
}

std::vector<JournalPayment> Journal::payments(int64_t number) {
    order(number); // an unknown number is an error, not an empty list
    QSqlQuery q =
        db_->run("SELECT " + kPaymentColumns + " FROM payments WHERE number = ? ORDER BY id",
                 {qlonglong(number)});
    std::vector<JournalPayment> out;
    while (q.next())
        out.push_back(paymentAt(q));
    return out;
}

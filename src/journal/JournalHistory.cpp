#include "journal/JournalHistory.h"

#include "journal/JournalConnection.h"
#include "journal/JournalCsv.h"
#include "journal/JournalDates.h"
#include "journal/JournalPayment.h"
#include "journal/OrderStatus.h"

#include <algorithm>
#include <ctime>
#include <map>
#include <tuple>

namespace journalhistory {
namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

std::string ss(const QVariant& v) {
    return v.toString().toStdString();
}

void insert(JournalConnection& db, const HistoryEntry& e) {
    db.run("INSERT INTO journal_history (at, utc_offset, who, by_name, action, number, subject, "
           "old_value, new_value, note) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
           {qlonglong(e.at), e.utcOffset, qs(e.who), qs(e.byName), qs(e.action),
            qlonglong(e.number), qs(e.subject), qs(e.oldValue), qs(e.newValue), qs(e.note)});
}

std::vector<HistoryEntry> select(JournalConnection& db, const QString& where, const QVariant& v) {
    QSqlQuery q = db.run("SELECT id, at, utc_offset, who, by_name, action, number, subject, "
                         "old_value, new_value, note FROM journal_history WHERE " +
                             where + " ORDER BY id",
                         {v});
    std::vector<HistoryEntry> out;
    while (q.next()) {
        HistoryEntry e;
        e.id = q.value(0).toLongLong();
        e.at = q.value(1).toLongLong();
        e.utcOffset = q.value(2).toInt();
        e.who = ss(q.value(3));
        e.byName = ss(q.value(4));
        e.action = ss(q.value(5));
        e.number = q.value(6).toLongLong();
        e.subject = ss(q.value(7));
        e.oldValue = ss(q.value(8));
        e.newValue = ss(q.value(9));
        e.note = ss(q.value(10));
        out.push_back(std::move(e));
    }
    return out;
}

} // namespace

HistoryEntry paymentEntry(int64_t number, const JournalPayment& payment, const std::string& method,
                          const std::string& note, int64_t balanceBefore, int64_t at) {
    HistoryEntry e;
    e.at = at;
    e.number = number;
    e.action = payment.kind;
    e.subject = journalcsv::money(payment.amountKopecks) + " руб., " + method;
    e.oldValue = "остаток " + journalcsv::money(balanceBefore);
    e.newValue =
        "остаток " + journalcsv::money(balanceBefore - journalpayment::signedAmount(payment));
    e.note = note;
    return e;
}

void record(JournalConnection& db, const HistoryEntry& entry, const std::string& by) {
    HistoryEntry e = entry;
    if (e.at == 0)
        e.at = static_cast<int64_t>(std::time(nullptr));
    e.utcOffset = journaldates::utcOffsetAt(e.at);
    e.who = by;
    e.byName = by;
    insert(db, e);
}

std::vector<HistoryEntry> ofOrder(JournalConnection& db, int64_t number) {
    return select(db, "number = ?", qlonglong(number));
}

std::vector<HistoryEntry> ofSubject(JournalConnection& db, const std::string& subject) {
    return select(db, "subject = ?", qs(subject));
}

void recordEarlier(JournalConnection& db) {
    // Status changes and payments in the order of their times; an order's first status is its
    // placing, and each later one names the status it left.
    struct Earlier {
        int64_t at;
        int source; // status changes before payments within the same second
        int64_t id;
        HistoryEntry entry;
    };
    std::vector<Earlier> all;
    std::map<int64_t, std::string> statusOf;
    QSqlQuery q = db.run("SELECT h.id, h.number, h.status, h.changed_at, h.changed_by, "
                         "o.total_kopecks FROM order_status_history h JOIN orders o ON "
                         "o.number = h.number ORDER BY h.id");
    while (q.next()) {
        HistoryEntry e;
        e.number = q.value(1).toLongLong();
        e.at = q.value(3).toLongLong();
        e.who = e.byName = ss(q.value(4));
        const std::string status = ss(q.value(2));
        auto known = statusOf.find(e.number);
        if (known == statusOf.end()) {
            e.action = kPlaced;
            e.newValue = "Итого " + journalcsv::money(q.value(5).toLongLong());
            statusOf[e.number] = status;
        } else {
            e.action = kStatus;
            e.oldValue = known->second;
            e.newValue = status;
            known->second = status;
        }
        all.push_back({e.at, 0, q.value(0).toLongLong(), e});
    }
    std::map<int64_t, int64_t> balanceOf;
    QSqlQuery p = db.run("SELECT p.id, p.number, p.amount_kopecks, p.kind, p.method, p.taken_at, "
                         "p.utc_offset, p.taken_by, p.note, o.total_kopecks FROM payments p "
                         "JOIN orders o ON o.number = p.number ORDER BY p.id");
    while (p.next()) {
        JournalPayment paid;
        paid.amountKopecks = p.value(2).toLongLong();
        paid.kind = ss(p.value(3));
        const int64_t number = p.value(1).toLongLong();
        auto balance = balanceOf.try_emplace(number, p.value(9).toLongLong()).first;
        HistoryEntry e = paymentEntry(number, paid, ss(p.value(4)), ss(p.value(8)), balance->second,
                                      p.value(5).toLongLong());
        balance->second -= journalpayment::signedAmount(paid);
        e.utcOffset = p.value(6).toInt();
        e.who = e.byName = ss(p.value(7));
        all.push_back({e.at, 1, p.value(0).toLongLong(), e});
    }
    std::stable_sort(all.begin(), all.end(), [](const Earlier& a, const Earlier& b) {
        return std::tie(a.at, a.source, a.id) < std::tie(b.at, b.source, b.id);
    });
    for (Earlier& e : all) {
        if (e.entry.utcOffset == 0)
            e.entry.utcOffset = journaldates::utcOffsetAt(e.at);
        insert(db, e.entry);
    }
}

} // namespace journalhistory

// An order changed after it was placed: the same number, a new revision, the earlier ones kept
// whole.

#include "journal/Journal.h"

#include "journal/JournalConnection.h"
#include "journal/JournalCsv.h"
#include "journal/JournalError.h"
#include "journal/JournalHistory.h"
#include "journal/JournalRows.h"
#include "journal/OrderPlacing.h"
#include "journal/OrderStatus.h"

#include <QByteArray>

#include <ctime>

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

std::string ss(const QVariant& v) {
    return v.toString().toStdString();
}

[[noreturn]] void refuse(const std::string& message) {
    throw JournalError(JournalError::Refused, message);
}

std::string revisionText(int revision, int64_t total) {
    return "редакция " + std::to_string(revision) + ", итого " + journalcsv::money(total);
}

} // namespace

int Journal::revise(int64_t number, const JournalOrder& changed, const std::string& billJson,
                    const std::string& sketch, const std::string& reason, const std::string& by,
                    const std::string& key) {
    const std::string why = QString::fromStdString(reason).trimmed().toStdString();
    const int64_t revision = db_->keyedWrite(key, "revise", [&] {
        QSqlQuery q = db_->run("SELECT " + journalrows::kColumns +
                                   ", revised_at, revised_by, revision_reason FROM orders "
                                   "WHERE number = ?" +
                                   (db_->isSqlite() ? "" : " FOR UPDATE"),
                               {qlonglong(number)});
        if (!q.next())
            throw JournalError(JournalError::NoSuchOrder,
                               "Заказ " + std::to_string(number) + " не найден в журнале");
        const JournalOrder old = journalrows::orderAt(q);
        const int64_t revisedAt = q.value(21).toLongLong();
        const std::string revisedBy = ss(q.value(22));
        const std::string oldReason = ss(q.value(23));
        q.finish();
        const std::string shown = orderplacing::numberText(number);
        if (old.status == orderstatus::kCancelled)
            refuse("Заказ " + shown + " отменён: изменить его нельзя");
        if (JournalRights::revisionNeedsReason(old.status) && why.empty())
            refuse("Заказ " + shown + " уже «" + old.status +
                   "»: укажите причину, по которой он меняется");
        const JournalDocuments docs = documents(number);
        // The revision being replaced, as it was: the first one was made by the placing.
        db_->run("INSERT INTO order_revisions (number, revision, made_at, made_by, reason, "
                 "customer, phone, address, system, door_count, opening_width, opening_height, "
                 "sum_kopecks, discount_kopecks, assembly_kopecks, delivery_kopecks, "
                 "total_kopecks, sketch, bill_json) "
                 "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                 {qlonglong(number), old.revision,
                  qlonglong(old.revision == 1 ? old.placedAt : revisedAt),
                  qs(old.revision == 1 ? old.salesperson : revisedBy), qs(oldReason),
                  qs(old.customer), qs(old.phone), qs(old.address), qs(old.system), old.doors,
                  old.openingWidth, old.openingHeight, qlonglong(old.sumKopecks),
                  qlonglong(old.discountKopecks), qlonglong(old.assemblyKopecks),
                  qlonglong(old.deliveryKopecks), qlonglong(old.totalKopecks),
                  QByteArray::fromStdString(docs.sketch), qs(docs.billJson)});
        const auto now = static_cast<int64_t>(std::time(nullptr));
        JournalOrder n = changed;
        n.number = number;
        const int64_t customer =
            journalcustomers::linkOrder(*db_, n.customer, n.phone, n.address, now);
        db_->run("UPDATE orders SET customer = ?, customer_folded = ?, phone = ?, search_text = ?, "
                 "address = ?, system = ?, door_count = ?, opening_width = ?, opening_height = ?, "
                 "sum_kopecks = ?, discount_kopecks = ?, assembly_kopecks = ?, "
                 "delivery_kopecks = ?, total_kopecks = ?, customer_id = ?, revision = ?, "
                 "revised_at = ?, revised_by = ?, revision_reason = ? WHERE number = ?",
                 {qs(n.customer),
                  qs(journalrows::folded(n.customer)),
                  qs(n.phone),
                  qs(journalrows::searchText(n)),
                  qs(n.address),
                  qs(n.system),
                  n.doors,
                  n.openingWidth,
                  n.openingHeight,
                  qlonglong(n.sumKopecks),
                  qlonglong(n.discountKopecks),
                  qlonglong(n.assemblyKopecks),
                  qlonglong(n.deliveryKopecks),
                  qlonglong(n.totalKopecks),
                  qlonglong(customer != 0 ? customer : old.customerId),
                  old.revision + 1,
                  qlonglong(now),
                  qs(by),
                  qs(why),
                  qlonglong(number)});
        db_->run("UPDATE order_documents SET sketch = ?, bill_json = ? WHERE number = ?",
                 {QByteArray::fromStdString(sketch), qs(billJson), qlonglong(number)});
        HistoryEntry e;
        e.at = now;
        e.action = journalhistory::kRevision;
        e.number = number;
        e.oldValue = revisionText(old.revision, old.totalKopecks);
        e.newValue = revisionText(old.revision + 1, n.totalKopecks);
        e.note = why;
        journalhistory::record(*db_, e, by);
        return JournalConnection::Done{old.revision + 1, now};
    });
    return static_cast<int>(revision);
}

std::vector<OrderRevision> Journal::revisions(int64_t number) {
    const JournalOrder current = order(number);
    std::vector<OrderRevision> out;
    QSqlQuery q = db_->run("SELECT revision, made_at, made_by, reason, total_kopecks FROM "
                           "order_revisions WHERE number = ? ORDER BY revision",
                           {qlonglong(number)});
    while (q.next())
        out.push_back({q.value(0).toInt(), q.value(1).toLongLong(), ss(q.value(2)), ss(q.value(3)),
                       q.value(4).toLongLong(), false});
    QSqlQuery c = db_->run("SELECT revised_at, revised_by, revision_reason FROM orders WHERE "
                           "number = ?",
                           {qlonglong(number)});
    OrderRevision now{
        current.revision, current.placedAt, current.salesperson, {}, current.totalKopecks, true};
    if (c.next() && current.revision > 1) {
        now.madeAt = c.value(0).toLongLong();
        now.madeBy = ss(c.value(1));
        now.reason = ss(c.value(2));
    }
    out.push_back(now);
    return out;
}

JournalDocuments Journal::revisionDocuments(int64_t number, int revision) {
    if (revision == order(number).revision)
        return documents(number);
    QSqlQuery q = db_->run("SELECT sketch, bill_json FROM order_revisions WHERE number = ? AND "
                           "revision = ?",
                           {qlonglong(number), revision});
    if (!q.next())
        throw JournalError(JournalError::NoSuchOrder,
                           "У заказа " + orderplacing::numberText(number) + " нет редакции " +
                               std::to_string(revision));
    return {q.value(0).toByteArray().toStdString(), q.value(1).toString().toStdString()};
}

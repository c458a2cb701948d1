#include "journal/BatchStore.h"

#include "journal/JournalConnection.h"
#include "journal/JournalError.h"
#include "journal/JournalHistory.h"
#include "journal/OffcutStore.h"
#include "journal/OrderStatus.h"

#include <ctime>

namespace {

const QString kCounter = "batch";

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

void changeOrder(JournalConnection& db, int64_t number, std::string_view from, std::string_view to,
                 const std::string& by, int64_t at, const std::string& note) {
    QSqlQuery q = db.run("UPDATE orders SET status = ? WHERE number = ? AND status = ?",
                         {qs(to), qlonglong(number), qs(from)});
    if (q.numRowsAffected() < 1) {
        QSqlQuery s = db.run("SELECT status FROM orders WHERE number = ?", {qlonglong(number)});
        if (!s.next())
            throw JournalError(JournalError::NoSuchOrder,
                               "Заказ " + std::to_string(number) + " не найден в журнале");
        throw JournalError(JournalError::Failed, "Заказ " + std::to_string(number) + " — «" +
                                                     s.value(0).toString().toStdString() +
                                                     "», а не «" + std::string(from) + "»");
    }
    db.run("INSERT INTO order_status_history (number, status, changed_at, changed_by) "
           "VALUES (?, ?, ?, ?)",
           {qlonglong(number), qs(to), qlonglong(at), qs(by)});
    HistoryEntry e;
    e.at = at;
    e.action = journalhistory::kStatus;
    e.number = number;
    e.oldValue = std::string(from);
    e.newValue = std::string(to);
    e.note = note;
    journalhistory::record(db, e, by);
}

// The batch's own change in the journal's history.
void recordBatch(JournalConnection& db, int64_t id, std::string_view from, std::string_view to,
                 const std::string& orders, const std::string& by, int64_t at) {
    HistoryEntry e;
    e.at = at;
    e.action = journalhistory::kBatch;
    e.subject = "Партия " + std::to_string(id);
    e.oldValue = std::string(from);
    e.newValue = std::string(to);
    e.note = orders;
    journalhistory::record(db, e, by);
}

std::string numbersText(const std::vector<int64_t>& orders) {
    std::string out = "заказы";
    for (size_t i = 0; i < orders.size(); ++i)
        out += (i == 0 ? " " : ", ") + std::to_string(orders[i]);
    return out;
}

} // namespace

int64_t BatchStore::start(const BatchStart& batch, const std::string& by) {
    if (batch.orders.empty())
        throw JournalError(JournalError::Failed, "В партии нет заказов");
    const int64_t at = static_cast<int64_t>(std::time(nullptr));
    int64_t id = 0;
    db_.inWrite([&] {
        id = db_.takeNumber(kCounter, 1);
        db_.run(
            "INSERT INTO batches (id, state, created_at, created_by, plan_json) "
            "VALUES (?, ?, ?, ?, ?)",
            {qlonglong(id), qs(batchstate::kStarted), qlonglong(at), qs(by), qs(batch.planJson)});
        for (int64_t number : batch.orders) {
            changeOrder(db_, number, orderstatus::kPlaced, orderstatus::kAll[1], by, at,
                        "партия " + std::to_string(id));
            QSqlQuery taken =
                db_.run("SELECT batch FROM batch_orders WHERE number = ? AND active = 1",
                        {qlonglong(number)});
            if (taken.next())
                throw JournalError(JournalError::Failed,
                                   "Заказ " + std::to_string(number) + " уже в партии " +
                                       std::to_string(taken.value(0).toLongLong()));
            db_.run("INSERT INTO batch_orders (batch, number, active) VALUES (?, ?, 1)",
                    {qlonglong(id), qlonglong(number)});
        }
        OffcutStore store(db_);
        for (int64_t offcut : batch.usedOffcuts) {
            if (!store.changeWithin(offcut, offcutstate::kOnStock, offcutstate::kUsed, id, by, at,
                                    "партия " + std::to_string(id)))
                throw JournalError(JournalError::Conflict, "Остаток " +
                                                               OffcutStore::idText(offcut) +
                                                               " уже взят другим рабочим местом");
        }
        for (JournalOffcut o : batch.kept) {
            o.fromBatch = id;
            store.addWithin(std::move(o), by, at);
        }
        recordBatch(db_, id, {}, batchstate::kStarted, numbersText(batch.orders), by, at);
    });
    return id;
}

void BatchStore::cancel(int64_t id, const std::string& by) {
    const int64_t at = static_cast<int64_t>(std::time(nullptr));
    db_.inWrite([&] {
        QSqlQuery q =
            db_.run("UPDATE batches SET state = ? WHERE id = ? AND state = ?",
                    {qs(batchstate::kCancelled), qlonglong(id), qs(batchstate::kStarted)});
        if (q.numRowsAffected() < 1)
            throw JournalError(JournalError::Failed,
                               "Партия " + std::to_string(id) + " не найдена или уже отменена");
        const BatchRecord b = get(id);
        for (int64_t number : b.orders)
            changeOrder(db_, number, orderstatus::kAll[1], orderstatus::kPlaced, by, at,
                        "партия " + std::to_string(id) + " отменена");
        db_.run("UPDATE batch_orders SET active = 0 WHERE batch = ?", {qlonglong(id)});
        recordBatch(db_, id, batchstate::kStarted, batchstate::kCancelled, numbersText(b.orders),
                    by, at);
        OffcutStore store(db_);
        const std::string note = "партия " + std::to_string(id) + " отменена";
        QSqlQuery used = db_.run("SELECT id FROM offcuts WHERE batch = ? AND state = ?",
                                 {qlonglong(id), qs(offcutstate::kUsed)});
        std::vector<int64_t> back;
        while (used.next())
            back.push_back(used.value(0).toLongLong());
        for (int64_t o : back)
            store.changeWithin(o, offcutstate::kUsed, offcutstate::kOnStock, 0, by, at, note);
        for (const JournalOffcut& o : kept(id))
            store.changeWithin(o.id, offcutstate::kOnStock, offcutstate::kScrapped, 0, by, at,
                               note);
    });
}

BatchRecord BatchStore::get(int64_t id) {
    QSqlQuery q = db_.run("SELECT id, state, created_at, created_by, plan_json FROM batches "
                          "WHERE id = ?",
                          {qlonglong(id)});
    if (!q.next())
        throw JournalError(JournalError::Failed, "Партия " + std::to_string(id) + " не найдена");
    BatchRecord b{q.value(0).toLongLong(),
                  q.value(1).toString().toStdString(),
                  q.value(2).toLongLong(),
                  q.value(3).toString().toStdString(),
                  {},
                  q.value(4).toString().toStdString()};
    QSqlQuery o =
        db_.run("SELECT number FROM batch_orders WHERE batch = ? ORDER BY number", {qlonglong(id)});
    while (o.next())
        b.orders.push_back(o.value(0).toLongLong());
    return b;
}

std::vector<BatchRecord> BatchStore::list() {
    QSqlQuery q = db_.run("SELECT id FROM batches ORDER BY id");
    std::vector<int64_t> ids;
    while (q.next())
        ids.push_back(q.value(0).toLongLong());
    std::vector<BatchRecord> out;
    for (int64_t id : ids)
        out.push_back(get(id));
    return out;
}

std::vector<JournalOffcut> BatchStore::kept(int64_t id) {
    OffcutStore store(db_);
    QSqlQuery q =
        db_.run("SELECT id FROM offcuts WHERE from_batch = ? ORDER BY id", {qlonglong(id)});
    std::vector<int64_t> ids;
    while (q.next())
        ids.push_back(q.value(0).toLongLong());
    std::vector<JournalOffcut> out;
    for (int64_t o : ids)
        out.push_back(store.get(o));
    return out;
}

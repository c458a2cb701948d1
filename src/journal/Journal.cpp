#include "journal/Journal.h"

#include "journal/JournalConnection.h"
#include "journal/JournalCsv.h"
#include "journal/JournalDates.h"
#include "journal/JournalError.h"
#include "journal/JournalRows.h"
#include "journal/JournalSchema.h"
#include "journal/OrderStatus.h"

#include <QByteArray>

#include <algorithm>
#include <ctime>

namespace {

const QString kCounter = "order";

[[noreturn]] void noSuchOrder(int64_t number) {
    throw JournalError(JournalError::NoSuchOrder,
                       "Заказ " + std::to_string(number) + " не найден в журнале");
}

} // namespace

Journal::Journal(const JournalAddress& address)
    : address_(address), db_(std::make_unique<JournalConnection>(address)) {
    // Reading the version first: a damaged file or a newer journal is refused before anything
    // is written to it.
    const int version = journalschema::versionOf(*db_);
    if (version > journalschema::latestVersion())
        journalschema::migrate(*db_); // refuses
    db_->useWriteAheadLog();
    journalschema::migrate(*db_);
}

Journal::~Journal() = default;

bool Journal::connectionLost() const {
    return db_->lost();
}

bool Journal::commitUnanswered() const {
    return db_->commitUnanswered();
}

int64_t Journal::place(JournalOrder order, const std::string& billJson, int64_t continueFrom,
                       const SketchMaker& sketchFor, const std::string& key) {
    if (order.placedAt == 0)
        order.placedAt = static_cast<int64_t>(std::time(nullptr));
    order.utcOffset = journaldates::utcOffsetAt(order.placedAt);
    order.status = std::string(orderstatus::kPlaced);
    return db_->keyedWrite(key, "place", [&] {
        // The first order continues the number file; the counter row then carries the numbering.
        order.number = db_->takeNumber(kCounter, std::max<int64_t>(continueFrom, 1));
        const std::string sketch = sketchFor(order);
        db_->run(journalrows::kInsert, journalrows::insertValues(order));
        db_->run("INSERT INTO order_documents (number, sketch, bill_json) VALUES (?, ?, ?)",
                 {qlonglong(order.number), QByteArray::fromStdString(sketch),
                  QString::fromStdString(billJson)});
        db_->run("INSERT INTO order_status_history (number, status, changed_at, changed_by) "
                 "VALUES (?, ?, ?, ?)",
                 {qlonglong(order.number), QString::fromStdString(order.status),
                  qlonglong(order.placedAt), QString::fromStdString(order.salesperson)});
        const int64_t customer = journalcustomers::linkOrder(*db_, order.customer, order.phone,
                                                             order.address, order.placedAt);
        if (customer != 0)
            db_->run("UPDATE orders SET customer_id = ? WHERE number = ?",
                     {qlonglong(customer), qlonglong(order.number)});
        HistoryEntry placed;
        placed.at = order.placedAt;
        placed.action = journalhistory::kPlaced;
        placed.number = order.number;
        placed.newValue = "Итого " + journalcsv::money(order.totalKopecks);
        journalhistory::record(*db_, placed, order.salesperson);
        return JournalConnection::Done{order.number, order.placedAt};
    });
}

std::optional<Journal::Placed> Journal::placedWith(const std::string& key) {
    const auto done = db_->doneBefore(key);
    if (!done)
        return std::nullopt;
    return Placed{done->result, done->at};
}

int64_t Journal::nextNumber(int64_t continueFrom) {
    QSqlQuery q = db_->run("SELECT next_number FROM journal_counter WHERE name = ?", {kCounter});
    return q.next() ? q.value(0).toLongLong() : std::max<int64_t>(continueFrom, 1);
}

void Journal::setStatus(int64_t number, const std::string& status, const std::string& by) {
    if (!orderstatus::isKnown(status))
        throw JournalError(JournalError::Failed, "Неизвестное состояние заказа: " + status);
    db_->inWrite([&] {
        QSqlQuery old = db_->run("SELECT status FROM orders WHERE number = ?" +
                                     QString(db_->isSqlite() ? "" : " FOR UPDATE"),
                                 {qlonglong(number)});
        if (!old.next())
            noSuchOrder(number);
        HistoryEntry change;
        change.action = journalhistory::kStatus;
        change.number = number;
        change.oldValue = old.value(0).toString().toStdString();
        change.newValue = status;
        old.finish();
        if (change.oldValue == status)
            return;
        db_->run("UPDATE orders SET status = ? WHERE number = ?",
                 {QString::fromStdString(status), qlonglong(number)});
        journalhistory::record(*db_, change, by);
        db_->run("INSERT INTO order_status_history (number, status, changed_at, changed_by) "
                 "VALUES (?, ?, ?, ?)",
                 {qlonglong(number), QString::fromStdString(status), qlonglong(std::time(nullptr)),
                  QString::fromStdString(by)});
    });
}

JournalOrder Journal::order(int64_t number) {
    QSqlQuery q = db_->run("SELECT " + journalrows::kColumns + " FROM orders WHERE number = ?",
                           {qlonglong(number)});
    if (!q.next())
        noSuchOrder(number);
    return journalrows::orderAt(q);
}

JournalDocuments Journal::documents(int64_t number) {
    QSqlQuery q = db_->run("SELECT sketch, bill_json FROM order_documents WHERE number = ?",
                           {qlonglong(number)});
    if (!q.next())
        noSuchOrder(number);
    return {q.value(0).toByteArray().toStdString(), q.value(1).toString().toStdString()};
}

std::vector<StatusChange> Journal::history(int64_t number) {
    order(number); // an unknown number is an error, not an empty history
    QSqlQuery q = db_->run("SELECT status, changed_at, changed_by FROM order_status_history "
                           "WHERE number = ? ORDER BY id",
                           {qlonglong(number)});
    std::vector<StatusChange> changes;
    while (q.next())
        changes.push_back({q.value(0).toString().toStdString(), q.value(1).toLongLong(),
                           q.value(2).toString().toStdString()});
    return changes;
}

std::vector<HistoryEntry> Journal::changes(int64_t number) {
    order(number); // an unknown number is an error, not an empty history
    return journalhistory::ofOrder(*db_, number);
}

std::vector<HistoryEntry> Journal::changesOf(const std::string& subject) {
    return journalhistory::ofSubject(*db_, subject);
}

JournalRights Journal::rights() {
    return journalroles::rightsOf(*db_);
}

void Journal::initRoles() {
    journalroles::initRoles(*db_);
}

#include "journal/JournalSchema.h"

#include "journal/JournalConnection.h"
#include "journal/JournalCustomers.h"
#include "journal/JournalError.h"
#include "journal/JournalHistory.h"
#include "journal/JournalRoles.h"

#include <QStringList>

#include <functional>
#include <vector>

namespace journalschema {
namespace {

// Step 1: the orders, their documents, their status history and the number counter.
QStringList firstTables(const JournalConnection& db) {
    return {
        "CREATE TABLE journal_schema (version INTEGER NOT NULL)",
        "INSERT INTO journal_schema (version) VALUES (0)",
        "CREATE TABLE journal_counter (name TEXT PRIMARY KEY, next_number BIGINT NOT NULL)",
        "CREATE TABLE orders ("
        " number " +
            db.numberKeyType() +
            ","
            " placed_at BIGINT NOT NULL,"
            " utc_offset INTEGER NOT NULL,"
            " salesperson TEXT NOT NULL,"
            " customer TEXT NOT NULL,"
            " customer_folded TEXT NOT NULL,"
            " phone TEXT NOT NULL,"
            // What a search looks in, one line each: the number as shown, the customer and the
            // phone in lower case, the phone's digits alone.
            " search_text TEXT NOT NULL,"
            " address TEXT NOT NULL,"
            " system TEXT NOT NULL,"
            " door_count INTEGER NOT NULL,"
            " opening_width INTEGER NOT NULL,"
            " opening_height INTEGER NOT NULL,"
            " sum_kopecks BIGINT NOT NULL,"
            " discount_kopecks BIGINT NOT NULL,"
            " assembly_kopecks BIGINT NOT NULL,"
            " delivery_kopecks BIGINT NOT NULL,"
            " total_kopecks BIGINT NOT NULL,"
            " status TEXT NOT NULL,"
            " file_path TEXT NOT NULL)",
        // The large documents apart, so that searching the orders reads only the short fields.
        "CREATE TABLE order_documents ("
        " number BIGINT PRIMARY KEY REFERENCES orders (number),"
        " sketch " +
            db.blobType() +
            " NOT NULL,"
            " bill_json TEXT NOT NULL)",
        "CREATE TABLE order_status_history ("
        " id " +
            db.serialKeyType() +
            ","
            " number BIGINT NOT NULL REFERENCES orders (number),"
            " status TEXT NOT NULL,"
            " changed_at BIGINT NOT NULL,"
            " changed_by TEXT NOT NULL)",
    };
}

// Step 2: the indexes of the searches, filters and sorts of the journal window.
QStringList searchIndexes(const JournalConnection&) {
    return {
        "CREATE INDEX orders_placed_at ON orders (placed_at)",
        "CREATE INDEX orders_status ON orders (status, placed_at)",
        "CREATE INDEX orders_customer ON orders (customer_folded)",
        "CREATE INDEX orders_total ON orders (total_kopecks)",
        "CREATE INDEX orders_system ON orders (system)",
        "CREATE INDEX order_status_history_number ON order_status_history (number)",
    };
}

// Step 3: the offcut store, each offcut with its history. Its ids come from the counter
// "offcut"; texts are kept as typed and case-folded for the filters.
QStringList offcutStore(const JournalConnection& db) {
    return {
        "CREATE TABLE offcuts ("
        " id " +
            db.numberKeyType() +
            ","
            " kind TEXT NOT NULL," // 'bar' or 'sheet'
            " article TEXT NOT NULL,"
            " article_folded TEXT NOT NULL,"
            " color TEXT NOT NULL,"
            " color_folded TEXT NOT NULL,"
            " length INTEGER NOT NULL,"
            " material_group TEXT NOT NULL,"
            " material TEXT NOT NULL,"
            " material_folded TEXT NOT NULL,"
            " width INTEGER NOT NULL,"
            " height INTEGER NOT NULL,"
            " can_turn INTEGER NOT NULL,"
            " from_order BIGINT NOT NULL,"
            " from_batch BIGINT NOT NULL,"
            " place TEXT NOT NULL,"
            " state TEXT NOT NULL,"
            " batch BIGINT NOT NULL,"
            " added_at BIGINT NOT NULL,"
            " added_by TEXT NOT NULL)",
        "CREATE TABLE offcut_history ("
        " id " +
            db.serialKeyType() +
            ","
            " offcut BIGINT NOT NULL REFERENCES offcuts (id),"
            " state TEXT NOT NULL,"
            " place TEXT NOT NULL,"
            " note TEXT NOT NULL,"
            " changed_at BIGINT NOT NULL,"
            " changed_by TEXT NOT NULL)",
        "CREATE INDEX offcuts_state ON offcuts (state, kind)",
        "CREATE INDEX offcuts_article ON offcuts (article_folded, color_folded)",
        "CREATE INDEX offcuts_material ON offcuts (material_folded)",
        "CREATE INDEX offcut_history_offcut ON offcut_history (offcut)",
    };
}

// Step 4: the batches, each with its orders and its plan. An order is in at most one batch that
// is not cancelled.
QStringList batches(const JournalConnection& db) {
    return {
        "CREATE TABLE batches ("
        " id " +
            db.numberKeyType() +
            ","
            " state TEXT NOT NULL,"
            " created_at BIGINT NOT NULL,"
            " created_by TEXT NOT NULL,"
            " plan_json TEXT NOT NULL)",
        "CREATE TABLE batch_orders ("
        " batch BIGINT NOT NULL REFERENCES batches (id),"
        " number BIGINT NOT NULL REFERENCES orders (number),"
        " active INTEGER NOT NULL)",
        "CREATE UNIQUE INDEX batch_orders_active ON batch_orders (number) WHERE active = 1",
        "CREATE INDEX batch_orders_batch ON batch_orders (batch)",
        "CREATE INDEX offcuts_from_batch ON offcuts (from_batch)",
    };
}

// Step 5: what a repeated write did the first time. Every write a seat may repeat after a lost
// answer carries a key of the seat's; the first time it is recorded here with its result.
QStringList writeKeys(const JournalConnection&) {
    return {
        "CREATE TABLE journal_keys ("
        " key TEXT PRIMARY KEY,"
        " action TEXT NOT NULL,"
        " result BIGINT NOT NULL,"
        " done_at BIGINT NOT NULL)",
    };
}

// Step 6: the money taken and given back on each order. Amounts are kopecks, always above 0; the
// kind says which way the money went. A payment's time is UTC with the seat's offset, as the
// orders keep theirs.
QStringList payments(const JournalConnection& db) {
    return {
        "CREATE TABLE payments ("
        " id " +
            db.serialKeyType() +
            ","
            " number BIGINT NOT NULL REFERENCES orders (number),"
            " amount_kopecks BIGINT NOT NULL CHECK (amount_kopecks > 0),"
            " kind TEXT NOT NULL,"
            " method TEXT NOT NULL,"
            " taken_at BIGINT NOT NULL,"
            " utc_offset INTEGER NOT NULL,"
            " taken_by TEXT NOT NULL,"
            " note TEXT NOT NULL)",
        "CREATE INDEX payments_number ON payments (number)",
    };
}

// Step 7: customers as records, an order's earlier revisions, and the history of every change.
// An order keeps the customer's texts as placed; the customer's record may be edited later
// without rewriting them. The history only grows: on PostgreSQL the seats' roles may not change
// or remove its rows, and on SQLite a trigger refuses it.
QStringList customersRevisionsHistory(const JournalConnection& db) {
    QStringList sql = {
        "CREATE TABLE customers ("
        " id " +
            db.serialKeyType() +
            ","
            " phone_key TEXT NOT NULL," // the phone's digits, normalised; empty: none
            " name TEXT NOT NULL,"
            " name_folded TEXT NOT NULL,"
            " phone TEXT NOT NULL,"
            " address TEXT NOT NULL,"
            " created_at BIGINT NOT NULL)",
        "CREATE UNIQUE INDEX customers_phone ON customers (phone_key) WHERE phone_key <> ''",
        "CREATE INDEX customers_name ON customers (name_folded)",
        "ALTER TABLE orders ADD COLUMN customer_id BIGINT NOT NULL DEFAULT 0",
        "ALTER TABLE orders ADD COLUMN revision INTEGER NOT NULL DEFAULT 1",
        "ALTER TABLE orders ADD COLUMN revised_at BIGINT NOT NULL DEFAULT 0",
        "ALTER TABLE orders ADD COLUMN revised_by TEXT NOT NULL DEFAULT ''",
        "ALTER TABLE orders ADD COLUMN revision_reason TEXT NOT NULL DEFAULT ''",
        "CREATE INDEX orders_customer_id ON orders (customer_id)",
        // Every revision an order had before its current one, whole: what the customer was
        // quoted and the sketch it was made from.
        "CREATE TABLE order_revisions ("
        " number BIGINT NOT NULL REFERENCES orders (number),"
        " revision INTEGER NOT NULL,"
        " made_at BIGINT NOT NULL,"
        " made_by TEXT NOT NULL,"
        " reason TEXT NOT NULL,"
        " customer TEXT NOT NULL,"
        " phone TEXT NOT NULL,"
        " address TEXT NOT NULL,"
        " system TEXT NOT NULL,"
        " door_count INTEGER NOT NULL,"
        " opening_width INTEGER NOT NULL,"
        " opening_height INTEGER NOT NULL,"
        " sum_kopecks BIGINT NOT NULL,"
        " discount_kopecks BIGINT NOT NULL,"
        " assembly_kopecks BIGINT NOT NULL,"
        " delivery_kopecks BIGINT NOT NULL,"
        " total_kopecks BIGINT NOT NULL,"
        " sketch " +
            db.blobType() +
            " NOT NULL,"
            " bill_json TEXT NOT NULL,"
            " PRIMARY KEY (number, revision))",
        "CREATE TABLE journal_history ("
        " id " +
            db.serialKeyType() +
            ","
            " at BIGINT NOT NULL,"
            " utc_offset INTEGER NOT NULL,"
            " who TEXT NOT NULL,"     // PostgreSQL: the connection's database user
            " by_name TEXT NOT NULL," // the name the seat works under
            " action TEXT NOT NULL,"
            " number BIGINT NOT NULL," // the order's; 0 for offcuts and batches alone
            " subject TEXT NOT NULL,"
            " old_value TEXT NOT NULL,"
            " new_value TEXT NOT NULL,"
            " note TEXT NOT NULL)",
        "CREATE INDEX journal_history_number ON journal_history (number)",
    };
    return sql;
}

// Step 7 row by row: every order linked to its customer, and what happened before the history
// was kept (placings, status changes, payments) written into it.
void customersAndHistoryOfEarlierOrders(JournalConnection& db) {
    journalcustomers::linkAllOrders(db);
    journalhistory::recordEarlier(db);
    // The rules come after what was written on behalf of earlier names.
    if (db.isSqlite()) {
        for (const char* change : {"UPDATE", "DELETE"})
            db.run(QString("CREATE TRIGGER journal_history_kept_%1 BEFORE %1 ON journal_history "
                           "BEGIN SELECT RAISE(ABORT, 'history is kept as written'); END")
                       .arg(change));
    } else {
        for (const QString& sql : journalroles::serverRules())
            db.run(sql);
    }
}

// A step is its statements, and what must then be done row by row.
struct Step {
    QStringList (*sql)(const JournalConnection&);
    void (*after)(JournalConnection&) = nullptr;
};

const std::vector<Step>& steps() {
    static const std::vector<Step> all = {
        {firstTables},
        {searchIndexes},
        {offcutStore},
        {batches},
        {writeKeys},
        {payments},
        {customersRevisionsHistory, customersAndHistoryOfEarlierOrders}};
    return all;
}

[[noreturn]] void refuseNewer(int version) {
    throw JournalError(JournalError::NewerSchema,
                       "Журнал заказов создан более новой версией программы (версия журнала " +
                           std::to_string(version) + ", программа знает до " +
                           std::to_string(latestVersion()) +
                           "). Обновите программу; журнал оставлен как есть.");
}

} // namespace

int latestVersion() {
    return static_cast<int>(steps().size());
}

int versionOf(JournalConnection& db) {
    if (!db.tableExists("journal_schema"))
        return 0;
    QSqlQuery q = db.run("SELECT MAX(version) FROM journal_schema");
    return q.next() ? q.value(0).toInt() : 0;
}

void migrate(JournalConnection& db, int target) {
    if (target < 0)
        target = latestVersion();
    int version = versionOf(db);
    if (version > latestVersion())
        refuseNewer(version);
    if (version >= target)
        return;
    db.beginWrite();
    try {
        // Two seats opening a new journal together: the second waits and finds it built.
        if (!db.isSqlite())
            db.run("SELECT pg_advisory_xact_lock(740624)");
        version = versionOf(db);
        if (version > latestVersion())
            refuseNewer(version);
        for (int step = version + 1; step <= target; ++step) {
            const Step& s = steps()[static_cast<size_t>(step - 1)];
            for (const QString& sql : s.sql(db))
                db.run(sql);
            if (s.after != nullptr)
                s.after(db);
            db.run("UPDATE journal_schema SET version = ?", {step});
        }
        db.commit();
    } catch (...) {
        db.rollback();
        throw;
    }
}

} // namespace journalschema

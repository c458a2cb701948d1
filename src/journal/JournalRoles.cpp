#include "journal/JournalRoles.h"

#include "journal/JournalConnection.h"
#include "journal/JournalError.h"
#include "journal/JournalPayment.h"

namespace journalroles {
namespace {

QString u8(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QString sqlText(std::string_view s) {
    return "'" + u8(s).replace("'", "''") + "'";
}

QString refusal(std::string_view message) {
    return "RAISE EXCEPTION USING ERRCODE = '" + QString(kRefusedState) +
           "', MESSAGE = " + sqlText(message) + ";";
}

QString statusArray() {
    QStringList items;
    for (std::string_view s : orderstatus::kAll)
        items << sqlText(s);
    return "ARRAY[" + items.join(", ") + "]::text[]";
}

} // namespace

QStringList serverRules() {
    const QString cancelled = sqlText(orderstatus::kCancelled);
    return {
        // The owner of the journal, a member of the manager role, or a server without the
        // roles at all.
        "CREATE OR REPLACE FUNCTION tavrolab_manages() RETURNS boolean LANGUAGE sql STABLE AS $$"
        " SELECT NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = '" +
            QString(kSalesperson) +
            "')"
            " OR NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = '" +
            QString(kManager) +
            "')"
            " OR session_user = (SELECT pg_get_userbyid(relowner) FROM pg_class"
            "   WHERE oid = 'orders'::regclass)"
            " OR pg_has_role(session_user, '" +
            QString(kManager) + "', 'MEMBER') $$",
        "CREATE OR REPLACE FUNCTION tavrolab_status_rank(s text) RETURNS integer LANGUAGE sql "
        "IMMUTABLE AS $$ SELECT array_position(" +
            statusArray() + ", s) $$",
        "CREATE OR REPLACE FUNCTION tavrolab_order_rules() RETURNS trigger LANGUAGE plpgsql AS $$"
        " BEGIN"
        "  IF NEW.number IS DISTINCT FROM OLD.number OR NEW.placed_at IS DISTINCT FROM "
        "OLD.placed_at OR (NEW.revision = OLD.revision AND (NEW.total_kopecks, NEW.sum_kopecks,"
        " NEW.discount_kopecks, NEW.assembly_kopecks, NEW.delivery_kopecks) IS DISTINCT FROM"
        " (OLD.total_kopecks, OLD.sum_kopecks, OLD.discount_kopecks, OLD.assembly_kopecks,"
        " OLD.delivery_kopecks)) THEN"
        "   IF NOT tavrolab_manages() THEN " +
            refusal("Сумма заказа меняется только новой редакцией заказа") +
            " END IF;"
            "  END IF;"
            "  IF tavrolab_manages() THEN RETURN NEW; END IF;"
            "  IF NEW.status IS DISTINCT FROM OLD.status AND (NEW.status = " +
            cancelled +
            " OR tavrolab_status_rank(NEW.status) < tavrolab_status_rank(OLD.status)) THEN " +
            refusal("Отменить заказ или вернуть его в прежнее состояние может только менеджер") +
            "  END IF;"
            "  IF NEW.revision IS DISTINCT FROM OLD.revision AND "
            "tavrolab_status_rank(OLD.status) >= 2 THEN " +
            refusal("Изменить заказ в производстве может только менеджер") +
            "  END IF;"
            "  RETURN NEW;"
            " END $$",
        "CREATE TRIGGER tavrolab_order_rules BEFORE UPDATE ON orders FOR EACH ROW "
        "EXECUTE FUNCTION tavrolab_order_rules()",
        "CREATE OR REPLACE FUNCTION tavrolab_payment_rules() RETURNS trigger LANGUAGE plpgsql AS $$"
        " BEGIN"
        "  IF NEW.kind = " +
            sqlText(journalpayment::kRefund) + " AND NOT tavrolab_manages() THEN " +
            refusal("Возврат денег может провести только менеджер") +
            "  END IF;"
            "  RETURN NEW;"
            " END $$",
        "CREATE TRIGGER tavrolab_payment_rules BEFORE INSERT ON payments FOR EACH ROW "
        "EXECUTE FUNCTION tavrolab_payment_rules()",
        // Who made a change is the connection's database user, not a name the seat sends.
        "CREATE OR REPLACE FUNCTION tavrolab_history_who() RETURNS trigger LANGUAGE plpgsql AS $$"
        " BEGIN NEW.who := session_user; RETURN NEW; END $$",
        "CREATE TRIGGER tavrolab_history_who BEFORE INSERT ON journal_history FOR EACH ROW "
        "EXECUTE FUNCTION tavrolab_history_who()",
    };
}

void initRoles(JournalConnection& db) {
    if (db.isSqlite())
        throw JournalError(JournalError::Failed,
                           "Роли есть только у журнала на сервере PostgreSQL; журнал SQLite "
                           "ведется с одного места и позволяет все");
    const QString s = kSalesperson;
    const QString m = kManager;
    const QString changes = "orders, order_documents, customers, journal_counter, offcuts, "
                            "batches, batch_orders";
    const QString additions = "order_status_history, order_revisions, payments, journal_keys, "
                              "journal_history, offcut_history";
    db.inWrite([&] {
        db.run("DO $$ BEGIN"
               " IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = '" +
               s + "') THEN CREATE ROLE " + s +
               " NOLOGIN; END IF;"
               " IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = '" +
               m + "') THEN CREATE ROLE " + m +
               " NOLOGIN; END IF;"
               " EXECUTE format('GRANT CONNECT ON DATABASE %I TO " +
               s +
               "', current_database());"
               " EXECUTE format('GRANT USAGE ON SCHEMA %I TO " +
               s +
               "', current_schema());"
               " EXECUTE format('GRANT SELECT ON ALL TABLES IN SCHEMA %I TO " +
               s +
               "', current_schema());"
               " EXECUTE format('GRANT USAGE, SELECT ON ALL SEQUENCES IN SCHEMA %I TO " +
               s +
               "', current_schema());"
               " END $$");
        db.run("GRANT " + s + " TO " + m);
        db.run("GRANT INSERT, UPDATE ON " + changes + " TO " + s);
        db.run("GRANT INSERT ON " + additions + " TO " + s);
        // The history is never changed, and nothing is removed from the journal.
        db.run("REVOKE UPDATE, DELETE, TRUNCATE ON journal_history FROM " + s + ", " + m);
    });
}

JournalRights rightsOf(JournalConnection& db) {
    JournalRights r;
    if (db.isSqlite())
        return r;
    QSqlQuery q = db.run("SELECT tavrolab_manages(), session_user");
    if (q.next()) {
        r.manager = q.value(0).toBool();
        r.user = q.value(1).toString().toStdString();
    }
    return r;
}

} // namespace journalroles

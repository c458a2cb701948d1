// Customers as records: found by the phone, listed with their money, edited apart from the texts
// their orders were placed with.

#include "journal/JournalCustomers.h"

#include "journal/Journal.h"
#include "journal/JournalConnection.h"
#include "journal/JournalError.h"
#include "journal/JournalHistory.h"
#include "journal/JournalRows.h"
#include "journal/OrderStatus.h"

#include <ctime>

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

std::string ss(const QVariant& v) {
    return v.toString().toStdString();
}

std::string trimmed(const std::string& s) {
    return QString::fromStdString(s).trimmed().toStdString();
}

// The customer's columns with the money of their orders.
QString customerSelect() {
    return "SELECT c.id, c.name, c.phone, c.address, c.created_at, "
           "(SELECT COUNT(*) FROM orders o WHERE o.customer_id = c.id AND o.status <> ?), "
           "(SELECT CAST(COALESCE(SUM(o.total_kopecks), 0) AS BIGINT) FROM orders o "
           "WHERE o.customer_id = c.id AND o.status <> ?), "
           "(SELECT CAST(COALESCE(SUM(" +
           journalrows::paidOf("o.number") +
           "), 0) AS BIGINT) FROM orders o WHERE o.customer_id = c.id AND o.status <> ?) "
           "FROM customers c";
}

QVariantList cancelledThrice() {
    const QString c = QString::fromUtf8(std::string(orderstatus::kCancelled).c_str());
    return {c, c, c};
}

JournalCustomer customerAt(const QSqlQuery& q) {
    JournalCustomer c;
    c.id = q.value(0).toLongLong();
    c.name = ss(q.value(1));
    c.phone = ss(q.value(2));
    c.address = ss(q.value(3));
    c.createdAt = q.value(4).toLongLong();
    c.orders = q.value(5).toLongLong();
    c.totalKopecks = q.value(6).toLongLong();
    c.paidKopecks = q.value(7).toLongLong();
    return c;
}

} // namespace

namespace journalcustomers {

std::string phoneKey(std::string_view phone) {
    std::string digits = journalrows::digitsOf(std::string(phone));
    if (digits.size() == 10)
        digits.insert(digits.begin(), '7');
    else if (!digits.empty() && digits[0] == '8')
        digits[0] = '7';
    return digits;
}

int64_t linkOrder(JournalConnection& db, const std::string& name, const std::string& phone,
                  const std::string& address, int64_t at) {
    const std::string key = phoneKey(phone);
    const std::string folded = journalrows::folded(trimmed(name));
    if (key.empty() && folded.empty())
        return 0;
    auto find = [&]() -> int64_t {
        QSqlQuery q = key.empty()
                          ? db.run("SELECT id FROM customers WHERE phone_key = '' AND "
                                   "name_folded = ? ORDER BY id LIMIT 1",
                                   {qs(folded)})
                          : db.run("SELECT id FROM customers WHERE phone_key = ?", {qs(key)});
        return q.next() ? q.value(0).toLongLong() : 0;
    };
    if (const int64_t id = find()) {
        db.run("UPDATE customers SET "
               "name = CASE WHEN name = '' THEN ? ELSE name END, "
               "name_folded = CASE WHEN name = '' THEN ? ELSE name_folded END, "
               "address = CASE WHEN address = '' THEN ? ELSE address END WHERE id = ?",
               {qs(trimmed(name)), qs(folded), qs(trimmed(address)), qlonglong(id)});
        return id;
    }
    // Another seat may create the same phone's record at once: the unique phone keeps one.
    db.run("INSERT INTO customers (phone_key, name, name_folded, phone, address, created_at) "
           "VALUES (?, ?, ?, ?, ?, ?) ON CONFLICT (phone_key) WHERE phone_key <> '' DO NOTHING",
           {qs(key), qs(trimmed(name)), qs(folded), qs(trimmed(phone)), qs(trimmed(address)),
            qlonglong(at)});
    return find();
}

void linkAllOrders(JournalConnection& db) {
    QSqlQuery q =
        db.run("SELECT number, customer, phone, address, placed_at FROM orders ORDER BY number");
    std::vector<std::pair<int64_t, int64_t>> links;
    while (q.next()) {
        const int64_t id =
            linkOrder(db, ss(q.value(1)), ss(q.value(2)), ss(q.value(3)), q.value(4).toLongLong());
        if (id != 0)
            links.emplace_back(q.value(0).toLongLong(), id);
    }
    for (const auto& [number, id] : links)
        db.run("UPDATE orders SET customer_id = ? WHERE number = ?",
               {qlonglong(id), qlonglong(number)});
}

} // namespace journalcustomers

std::vector<JournalCustomer> Journal::customers(const std::string& search) {
    QVariantList values = cancelledThrice();
    QString where;
    const std::string find = journalrows::folded(trimmed(search));
    if (!find.empty()) {
        // A part of the name in any case, of the phone as typed or of its digits alone.
        where = " WHERE " + db_->containsCondition("c.name_folded") + " OR " +
                db_->containsCondition("c.phone");
        values << qs(find) << qs(find);
        const std::string digits = journalrows::digitsOf(find);
        if (!digits.empty()) {
            where += " OR " + db_->containsCondition("c.phone_key");
            values << qs(digits);
        }
    }
    QSqlQuery q = db_->run(customerSelect() + where + " ORDER BY c.name_folded, c.id", values);
    std::vector<JournalCustomer> out;
    while (q.next())
        out.push_back(customerAt(q));
    return out;
}

JournalCustomer Journal::customer(int64_t id) {
    QVariantList values = cancelledThrice();
    values << qlonglong(id);
    QSqlQuery q = db_->run(customerSelect() + " WHERE c.id = ?", values);
    if (!q.next())
        throw JournalError(JournalError::NoSuchOrder,
                           "Клиент " + std::to_string(id) + " не найден в журнале");
    return customerAt(q);
}

std::vector<JournalOrder> Journal::ordersOf(int64_t customerId) {
    QSqlQuery q = db_->run("SELECT " + journalrows::kColumns +
                               " FROM orders WHERE customer_id = ? ORDER BY number DESC",
                           {qlonglong(customerId)});
    std::vector<JournalOrder> out;
    while (q.next())
        out.push_back(journalrows::orderAt(q));
    return out;
}

void Journal::editCustomer(int64_t id, const std::string& name, const std::string& phone,
                           const std::string& address, const std::string& by) {
    db_->inWrite([&] {
        const JournalCustomer old = customer(id);
        const std::string key = journalcustomers::phoneKey(phone);
        if (!key.empty()) {
            QSqlQuery other = db_->run("SELECT id FROM customers WHERE phone_key = ? AND id <> ?",
                                       {qs(key), qlonglong(id)});
            if (other.next())
                throw JournalError(JournalError::Refused,
                                   "Телефон " + trimmed(phone) +
                                       " уже записан у другого клиента (" +
                                       std::to_string(other.value(0).toLongLong()) + ")");
        }
        const JournalCustomer now{id, trimmed(name), trimmed(phone), trimmed(address)};
        db_->run("UPDATE customers SET name = ?, name_folded = ?, phone = ?, phone_key = ?, "
                 "address = ? WHERE id = ?",
                 {qs(now.name), qs(journalrows::folded(now.name)), qs(now.phone), qs(key),
                  qs(now.address), qlonglong(id)});
        const std::string subject = "Клиент " + std::to_string(id);
        auto changed = [&](const char* field, const std::string& from, const std::string& to) {
            if (from == to)
                return;
            HistoryEntry e;
            e.action = journalhistory::kCustomer;
            e.subject = subject;
            e.note = field;
            e.oldValue = from;
            e.newValue = to;
            journalhistory::record(*db_, e, by);
        };
        changed("имя", old.name, now.name);
        changed("телефон", old.phone, now.phone);
        changed("адрес", old.address, now.address);
    });
}

#include "journal/JournalRows.h"

#include "journal/JournalPayment.h"
#include "journal/OrderPlacing.h"
#include "text/CaseFold.h"

namespace journalrows {
namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

std::string ss(const QVariant& v) {
    return v.toString().toStdString();
}

} // namespace

QString paidOf(const QString& number) {
    return "(SELECT CAST(COALESCE(SUM(CASE WHEN p.kind = '" +
           QString::fromUtf8(std::string(journalpayment::kRefund).c_str()) +
           "' THEN -p.amount_kopecks ELSE p.amount_kopecks END), 0) AS BIGINT) FROM payments p "
           "WHERE p.number = " +
           number + ")";
}

const QString kColumns =
    "number, placed_at, utc_offset, salesperson, customer, phone, address, system, door_count, "
    "opening_width, opening_height, sum_kopecks, discount_kopecks, assembly_kopecks, "
    "delivery_kopecks, total_kopecks, status, file_path, revision, customer_id, " +
    paidOf("orders.number");

JournalOrder orderAt(const QSqlQuery& q) {
    JournalOrder o;
    o.number = q.value(0).toLongLong();
    o.placedAt = q.value(1).toLongLong();
    o.utcOffset = q.value(2).toInt();
    o.salesperson = ss(q.value(3));
    o.customer = ss(q.value(4));
    o.phone = ss(q.value(5));
    o.address = ss(q.value(6));
    o.system = ss(q.value(7));
    o.doors = q.value(8).toInt();
    o.openingWidth = q.value(9).toInt();
    o.openingHeight = q.value(10).toInt();
    o.sumKopecks = q.value(11).toLongLong();
    o.discountKopecks = q.value(12).toLongLong();
    o.assemblyKopecks = q.value(13).toLongLong();
    o.deliveryKopecks = q.value(14).toLongLong();
    o.totalKopecks = q.value(15).toLongLong();
    o.status = ss(q.value(16));
    o.filePath = ss(q.value(17));
    o.revision = q.value(18).toInt();
    o.customerId = q.value(19).toLongLong();
    o.paidKopecks = q.value(20).toLongLong();
    return o;
}

const QString kInsert =
    "INSERT INTO orders (number, placed_at, utc_offset, salesperson, customer, "
    "customer_folded, phone, search_text, address, system, door_count, opening_width, "
    "opening_height, sum_kopecks, discount_kopecks, assembly_kopecks, delivery_kopecks, "
    "total_kopecks, status, file_path) "
    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";

QVariantList insertValues(const JournalOrder& o) {
    return {
        qlonglong(o.number),
        qlonglong(o.placedAt),
        o.utcOffset,
        qs(o.salesperson),
        qs(o.customer),
        qs(folded(o.customer)),
        qs(o.phone),
        qs(searchText(o)),
        qs(o.address),
        qs(o.system),
        o.doors,
        o.openingWidth,
        o.openingHeight,
        qlonglong(o.sumKopecks),
        qlonglong(o.discountKopecks),
        qlonglong(o.assemblyKopecks),
        qlonglong(o.deliveryKopecks),
        qlonglong(o.totalKopecks),
        qs(o.status),
        qs(o.filePath),
    };
}

std::string folded(const std::string& text) {
    return text::toLower(text);
}

std::string searchText(const JournalOrder& o) {
    return orderplacing::numberText(o.number) + "\n" + folded(o.customer) + "\n" + folded(o.phone) +
           "\n" + digitsOf(o.phone);
}

std::string digitsOf(const std::string& text) {
    std::string digits;
    for (char c : text)
        if (c >= '0' && c <= '9')
            digits += c;
    return digits;
}

} // namespace journalrows

// Who still owes: the orders with a balance above 0, the oldest first.

#include "journal/Journal.h"

#include "journal/JournalConnection.h"
#include "journal/JournalRows.h"
#include "journal/OrderStatus.h"

#include <ctime>

namespace {

constexpr int64_t kDay = 24 * 60 * 60;

QString u8(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

int64_t daysBetween(int64_t from, int64_t to) {
    return to > from ? (to - from) / kDay : 0;
}

} // namespace

DebtReport Journal::debts(int64_t now) {
    if (now == 0)
        now = static_cast<int64_t>(std::time(nullptr));
    // An order is ready when it last became "Готов"; one that went on to "Доставлен" counts
    // from the same day.
    QSqlQuery q = db_->run(
        "SELECT " + journalrows::kColumns +
            ", (SELECT MAX(h.changed_at) FROM order_status_history h WHERE h.number = "
            "orders.number AND h.status = ?) FROM orders WHERE status <> ? AND total_kopecks > " +
            journalrows::paidOf("orders.number") + " ORDER BY placed_at, number",
        {u8(orderstatus::kAll[2]), u8(orderstatus::kCancelled)});
    DebtReport r;
    while (q.next()) {
        DebtLine line;
        line.order = journalrows::orderAt(q);
        line.daysSincePlaced = daysBetween(line.order.placedAt, now);
        if (!q.value(21).isNull())
            line.daysSinceReady = daysBetween(q.value(21).toLongLong(), now);
        r.totalKopecks += line.order.totalKopecks;
        r.paidKopecks += line.order.paidKopecks;
        r.balanceKopecks += line.order.balanceKopecks();
        r.lines.push_back(std::move(line));
    }
    return r;
}

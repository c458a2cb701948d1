// Customers found by their phone, revisions of placed orders, debts, the month's money and the
// history of changes, the same on SQLite and PostgreSQL.

#include "journal/JournalBackend.h"

#include "journal/JournalConnection.h"
#include "journal/JournalCustomers.h"
#include "journal/JournalError.h"
#include "journal/OrderStatus.h"

#include <ctime>
#include <string>
#include <vector>

namespace {

JournalError refusal(const std::function<void()>& change) {
    try {
        change();
    } catch (const JournalError& e) {
        return e;
    }
    ADD_FAILURE() << "the change was made";
    return JournalError(JournalError::Failed, "");
}

std::vector<std::string> actionsOf(const std::vector<HistoryEntry>& entries) {
    std::vector<std::string> out;
    for (const HistoryEntry& e : entries)
        out.push_back(e.action);
    return out;
}

} // namespace

TEST(CustomerPhone, FormsOfOnePhoneGiveOneKey) {
    const struct {
        const char* typed;
        const char* key;
    } cases[] = {
        {"8 (912) 345-67-89", "79123456789"},
        {"+7 912 3456789", "79123456789"},
        {"912 345 67 89", "79123456789"}, // typed without a prefix
        {"8-800-555-35-35", "78005553535"},
        {"(800) 555 35 35", "78005553535"}, // ten digits starting with 8: not a long-distance 8
        {"123-45-67", "1234567"},           // a city number stays as it is
        {"+375 29 123 45 67", "375291234567"},
        {"нет телефона", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(journalcustomers::phoneKey(c.typed), c.key) << c.typed;
}

class JournalCustomersTest : public JournalBackendTest {};
TAV_ON_BOTH_BACKENDS(JournalCustomersTest);

TEST_P(JournalCustomersTest, OrdersOfOnePhoneMeetInOneCustomerWhoseEditsLeaveTheOrdersAlone) {
    Journal journal(address());
    const int64_t a = placeSample(journal, sampleOrder("Иванов Иван", "8 (912) 345-67-89", 100000));
    const int64_t b = placeSample(journal, sampleOrder("Иванов И.", "+7 912 3456789", 50000));
    const int64_t c = placeSample(journal, sampleOrder("Петров", "+7 900 0000000", 30000));
    const int64_t nobody = placeSample(journal, sampleOrder("", "", 10000));
    journal.pay(a, 40000, "Предоплата", "Наличные", "", "Анна");
    EXPECT_EQ(journal.order(a).customerId, journal.order(b).customerId);
    EXPECT_NE(journal.order(a).customerId, journal.order(c).customerId);
    EXPECT_EQ(journal.order(nobody).customerId, 0);

    const std::vector<JournalCustomer> all = journal.customers();
    ASSERT_EQ(all.size(), 2u);
    const JournalCustomer ivanov = journal.customer(journal.order(a).customerId);
    EXPECT_EQ(ivanov.name, "Иванов Иван"); // the first order named the record
    EXPECT_EQ(ivanov.orders, 2);
    EXPECT_EQ(ivanov.totalKopecks, 150000);
    EXPECT_EQ(ivanov.paidKopecks, 40000);
    EXPECT_EQ(ivanov.balanceKopecks(), 110000);
    std::vector<int64_t> numbers;
    for (const JournalOrder& o : journal.ordersOf(ivanov.id))
        numbers.push_back(o.number);
    EXPECT_EQ(numbers, (std::vector<int64_t>{b, a}));
    // Found by a part of the name in any case, and by the phone's digits however typed.
    for (const char* find : {"ИВАН", "345-67", "9123456"}) {
        const std::vector<JournalCustomer> found = journal.customers(find);
        ASSERT_EQ(found.size(), 1u) << find;
        EXPECT_EQ(found[0].id, ivanov.id) << find;
    }
    EXPECT_TRUE(journal.customers("Сидоров").empty());

    journal.editCustomer(ivanov.id, "Иванов Иван Петрович", ivanov.phone, "ул. Мира, 5", "Анна");
    EXPECT_EQ(journal.customer(ivanov.id).address, "ул. Мира, 5");
    EXPECT_EQ(journal.order(a).customer, "Иванов Иван"); // the printed text stays
    EXPECT_EQ(journal.order(a).address, "ул. Ленина, 1");
    const std::vector<HistoryEntry> edits =
        journal.changesOf("Клиент " + std::to_string(ivanov.id));
    ASSERT_EQ(edits.size(), 2u);
    EXPECT_EQ(edits[0].note, "имя");
    EXPECT_EQ(edits[1].oldValue, "ул. Ленина, 1");
    EXPECT_EQ(edits[1].newValue, "ул. Мира, 5");

    // Another customer's phone is refused, and nothing changes.
    const JournalError e =
        refusal([&] { journal.editCustomer(ivanov.id, "Иванов", "89000000000", "", "Анна"); });
    EXPECT_EQ(e.kind(), JournalError::Refused);
    EXPECT_EQ(journal.customer(ivanov.id).name, "Иванов Иван Петрович");
    // A new order on the edited record's phone finds it and keeps its edited texts.
    const int64_t d = placeSample(journal, sampleOrder("Ваня", "9123456789", 1000));
    EXPECT_EQ(journal.order(d).customerId, ivanov.id);
    EXPECT_EQ(journal.customer(ivanov.id).name, "Иванов Иван Петрович");
}

TEST_P(JournalCustomersTest, ARevisionKeepsTheNumberAndTheEarlierRevisionWithItsHistory) {
    Journal journal(address());
    const int64_t n = placeSample(journal, sampleOrder("Иванов", "1", 100000));
    const std::string firstBill = journal.documents(n).billJson;
    journal.pay(n, 50000, "Предоплата", "Карта", "", "Анна");

    JournalOrder changed = sampleOrder("Иванов", "1", 120000);
    changed.doors = 4;
    const std::string key = "seat:revise-1";
    EXPECT_EQ(journal.revise(n, changed, "[2]", "sketch 2", "", "Борис", key), 2);
    EXPECT_EQ(journal.revise(n, changed, "[2]", "sketch 2", "", "Борис", key), 2); // repeated
    const JournalOrder now = journal.order(n);
    EXPECT_EQ(now.revision, 2);
    EXPECT_EQ(now.doors, 4);
    EXPECT_EQ(now.totalKopecks, 120000);
    EXPECT_EQ(now.balanceKopecks(), 70000); // the balance follows
    EXPECT_EQ(journal.documents(n).sketch, "sketch 2");
    EXPECT_EQ(journal.revisionDocuments(n, 1).sketch, "sketch of " + std::to_string(n));
    EXPECT_EQ(journal.revisionDocuments(n, 1).billJson, firstBill);
    EXPECT_EQ(journal.revisionDocuments(n, 2).billJson, "[2]");
    EXPECT_EQ(refusal([&] { journal.revisionDocuments(n, 3); }).kind(), JournalError::NoSuchOrder);
    EXPECT_EQ(journal.list({}).size(), 1u);

    // In production a reason must be given.
    journal.setStatus(n, std::string(orderstatus::kAll[1]), "Борис");
    const JournalError noReason =
        refusal([&] { journal.revise(n, changed, "[3]", "sketch 3", "  ", "Борис"); });
    EXPECT_EQ(noReason.kind(), JournalError::Refused);
    EXPECT_NE(std::string(noReason.what()).find("причину"), std::string::npos);
    changed.totalKopecks = 40000; // less than was paid: a refund is owed
    EXPECT_EQ(journal.revise(n, changed, "[3]", "sketch 3", "зеркало вместо стекла", "Борис"), 3);
    EXPECT_EQ(journal.order(n).balanceKopecks(), -10000);

    const std::vector<OrderRevision> revisions = journal.revisions(n);
    ASSERT_EQ(revisions.size(), 3u);
    EXPECT_EQ(revisions[0].totalKopecks, 100000);
    EXPECT_EQ(revisions[0].madeBy, "Петрова");
    EXPECT_EQ(revisions[1].totalKopecks, 120000);
    EXPECT_EQ(revisions[1].madeBy, "Борис");
    EXPECT_EQ(revisions[2].reason, "зеркало вместо стекла");
    EXPECT_TRUE(revisions[2].current);
    EXPECT_FALSE(revisions[1].current);

    const std::vector<HistoryEntry> history = journal.changes(n);
    EXPECT_EQ(actionsOf(history), (std::vector<std::string>{"Оформление", "Предоплата", "Редакция",
                                                            "Состояние", "Редакция"}));
    EXPECT_EQ(history[1].oldValue, "остаток 1000,00");
    EXPECT_EQ(history[1].newValue, "остаток 500,00");
    EXPECT_EQ(history[2].oldValue, "редакция 1, итого 1000,00");
    EXPECT_EQ(history[2].newValue, "редакция 2, итого 1200,00");
    EXPECT_EQ(history[3].oldValue, "Принят");
    EXPECT_EQ(history[4].note, "зеркало вместо стекла");

    journal.setStatus(n, std::string(orderstatus::kCancelled), "Борис");
    EXPECT_EQ(refusal([&] { journal.revise(n, changed, "[4]", "s", "причина", "Борис"); }).kind(),
              JournalError::Refused);
    EXPECT_EQ(journal.order(n).revision, 3);
}

TEST_P(JournalCustomersTest, DebtsListWhoOwesByAgeAndTheMonthCountsTheMoney) {
    Journal journal(address());
    const auto now = static_cast<int64_t>(std::time(nullptr));
    const int64_t day = 24 * 3600;
    JournalOrder old = sampleOrder("Старый", "1", 100000);
    old.placedAt = now - 30 * day - 10;
    const int64_t first = placeSample(journal, old);
    JournalOrder recent = sampleOrder("Новый", "2", 50000);
    recent.placedAt = now - 2 * day - 10;
    const int64_t second = placeSample(journal, recent);
    const int64_t paidUp = placeSample(journal, sampleOrder("Оплатил", "3", 20000));
    const int64_t cancelled = placeSample(journal, sampleOrder("Отказ", "4", 70000));
    journal.pay(first, 60000, "Предоплата", "Наличные", "", "Анна");
    journal.pay(paidUp, 20000, "Оплата", "Карта", "", "Анна");
    journal.pay(cancelled, 10000, "Предоплата", "Карта", "", "Анна");
    journal.setStatus(cancelled, std::string(orderstatus::kCancelled), "Анна");
    journal.pay(cancelled, 10000, "Возврат", "Карта", "", "Анна");
    journal.setStatus(first, std::string(orderstatus::kAll[2]), "Анна"); // Готов

    const DebtReport debts = journal.debts(now + day);
    ASSERT_EQ(debts.lines.size(), 2u);
    EXPECT_EQ(debts.lines[0].order.number, first); // the oldest first
    EXPECT_EQ(debts.lines[0].daysSincePlaced, 31);
    EXPECT_EQ(debts.lines[0].daysSinceReady, 1);
    EXPECT_EQ(debts.lines[1].order.number, second);
    EXPECT_EQ(debts.lines[1].daysSincePlaced, 3);
    EXPECT_FALSE(debts.lines[1].daysSinceReady);
    EXPECT_EQ(debts.totalKopecks, 150000);
    EXPECT_EQ(debts.paidKopecks, 60000);
    EXPECT_EQ(debts.balanceKopecks, 90000);

    std::tm local{};
    const std::time_t t = now;
    localtime_r(&t, &local);
    const MonthlyReport month = journal.report(local.tm_year + 1900, local.tm_mon + 1);
    ASSERT_EQ(month.receivedByMethod.size(), 2u);
    EXPECT_EQ(month.receivedByMethod[0].name, "Карта");
    EXPECT_EQ(month.receivedByMethod[0].count, 2);
    EXPECT_EQ(month.receivedByMethod[0].totalKopecks, 30000);
    EXPECT_EQ(month.receivedByMethod[1].name, "Наличные");
    EXPECT_EQ(month.receivedByMethod[1].totalKopecks, 60000);
    EXPECT_EQ(month.refunds.count, 1);
    EXPECT_EQ(month.refunds.totalKopecks, 10000);
}

TEST_P(JournalCustomersTest, TheHistoryIsNotRewrittenFromTheProgramsConnection) {
    {
        Journal journal(address());
        placeSample(journal, sampleOrder("Иванов", "1"));
    }
    // The owner of a PostgreSQL journal may; SQLite's own trigger refuses everyone.
    if (GetParam() != Backend::Sqlite)
        GTEST_SKIP() << "the server's roles are tested with their own users";
    JournalConnection db(address());
    EXPECT_THROW(db.run("UPDATE journal_history SET who = 'x'"), JournalError);
    EXPECT_THROW(db.run("DELETE FROM journal_history"), JournalError);
    QSqlQuery q = db.run("SELECT COUNT(*) FROM journal_history WHERE who = 'Петрова'");
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toInt(), 1);
}

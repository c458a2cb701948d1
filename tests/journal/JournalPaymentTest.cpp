// Payments and refunds on orders, the same on SQLite and PostgreSQL: the balance at each of its
// boundaries, refunds, cancelled orders, and a payment repeated with its key.

#include "journal/JournalBackend.h"

#include "journal/JournalError.h"

#include <ctime>
#include <string>

namespace {

// The refusal's kind and message of a payment the journal must not take.
JournalError refusalOf(Journal& journal, int64_t number, int64_t amount, const std::string& kind,
                       const std::string& key = {}) {
    try {
        journal.pay(number, amount, kind, "Наличные", "", "Анна", key);
    } catch (const JournalError& e) {
        return e;
    }
    ADD_FAILURE() << amount << " " << kind << " was taken";
    return JournalError(JournalError::Failed, "");
}

bool says(const JournalError& e, const std::string& text) {
    return std::string(e.what()).find(text) != std::string::npos;
}

} // namespace

class JournalPaymentTest : public JournalBackendTest {};
TAV_ON_BOTH_BACKENDS(JournalPaymentTest);

TEST_P(JournalPaymentTest, TakesUpToTheBalanceAndNotAKopeckMore) {
    Journal journal(address());
    const int64_t n = placeSample(journal, sampleOrder("Иванов", "1", 100000));
    const auto before = static_cast<int64_t>(std::time(nullptr));
    const JournalPayment first = journal.pay(n, 70000, "Предоплата", "Карта", "70 %", "Анна");
    EXPECT_GT(first.id, 0);
    EXPECT_EQ(first, journal.payments(n).at(0));
    EXPECT_EQ(first.number, n);
    EXPECT_EQ(first.amountKopecks, 70000);
    EXPECT_EQ(first.kind, "Предоплата");
    EXPECT_EQ(first.method, "Карта");
    EXPECT_EQ(first.note, "70 %");
    EXPECT_EQ(first.takenBy, "Анна");
    EXPECT_GE(first.takenAt, before);
    EXPECT_LE(first.takenAt, before + 60);
    EXPECT_EQ(journal.order(n).balanceKopecks(), 30000);

    for (int64_t amount : {int64_t{30001}, int64_t{0}, int64_t{-1}}) {
        const JournalError e = refusalOf(journal, n, amount, "Оплата");
        EXPECT_EQ(e.kind(), JournalError::Refused) << amount;
    }
    EXPECT_TRUE(says(refusalOf(journal, n, 30001, "Оплата"), "остаток 300,00 руб."));
    EXPECT_EQ(journal.payments(n).size(), 1u);
    EXPECT_EQ(journal.order(n).paidKopecks, 70000);

    const JournalPayment rest = journal.pay(n, 30000, "Оплата", "Наличные", "", "Борис");
    EXPECT_GT(rest.id, first.id);
    EXPECT_EQ(journal.order(n).paidKopecks, 100000);
    EXPECT_EQ(journal.order(n).balanceKopecks(), 0);
    EXPECT_EQ(refusalOf(journal, n, 1, "Предоплата").kind(), JournalError::Refused);
    // The list reads the same money as the order.
    const std::vector<JournalOrder> listed = journal.list({});
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].paidKopecks, 100000);
}

TEST_P(JournalPaymentTest, RefundsGiveBackNoMoreThanWasPaid) {
    Journal journal(address());
    const int64_t n = placeSample(journal, sampleOrder("Петров", "2", 50000));
    const int64_t other = placeSample(journal, sampleOrder("Сидоров", "3", 50000));
    EXPECT_TRUE(says(refusalOf(journal, n, 1, "Возврат"), "оплачено 0,00 руб."));
    journal.pay(n, 20000, "Предоплата", "Наличные", "", "Анна");
    journal.pay(other, 50000, "Оплата", "Наличные", "", "Анна"); // another order's money
    const JournalError e = refusalOf(journal, n, 20001, "Возврат");
    EXPECT_EQ(e.kind(), JournalError::Refused);
    EXPECT_TRUE(says(e, "оплачено 200,00 руб.")) << e.what();
    journal.pay(n, 5000, "Возврат", "Наличные", "", "Анна");
    EXPECT_EQ(journal.order(n).paidKopecks, 15000);
    EXPECT_EQ(journal.order(n).balanceKopecks(), 35000);
    journal.pay(n, 15000, "Возврат", "Наличные", "", "Анна");
    EXPECT_EQ(journal.order(n).balanceKopecks(), 50000);
    EXPECT_EQ(journal.payments(n).size(), 3u);
    EXPECT_EQ(journal.order(other).balanceKopecks(), 0);
}

TEST_P(JournalPaymentTest, ACancelledOrderTakesRefundsOnly) {
    Journal journal(address());
    const int64_t n = placeSample(journal, sampleOrder("Козлов", "4", 90000));
    journal.pay(n, 10000, "Предоплата", "Безналичный расчет", "", "Анна");
    journal.setStatus(n, "Отменён", "Анна");
    for (const char* kind : {"Предоплата", "Оплата"}) {
        const JournalError e = refusalOf(journal, n, 100, kind);
        EXPECT_EQ(e.kind(), JournalError::Refused);
        EXPECT_TRUE(says(e, "только возврат")) << e.what();
    }
    journal.pay(n, 10000, "Возврат", "Безналичный расчет", "", "Анна");
    EXPECT_EQ(journal.order(n).paidKopecks, 0);
}

TEST_P(JournalPaymentTest, UnknownOrderKindOrMethodChangesNothing) {
    Journal journal(address());
    const int64_t n = placeSample(journal, sampleOrder("Орлов", "5"));
    try {
        journal.pay(n + 1, 100, "Оплата", "Наличные", "", "Анна");
        ADD_FAILURE();
    } catch (const JournalError& e) {
        EXPECT_EQ(e.kind(), JournalError::NoSuchOrder);
    }
    EXPECT_THROW(journal.pay(n, 100, "Аванс", "Наличные", "", "Анна"), JournalError);
    EXPECT_THROW(journal.pay(n, 100, "Оплата", "Бартер", "", "Анна"), JournalError);
    EXPECT_THROW(journal.payments(n + 1), JournalError);
    EXPECT_TRUE(journal.payments(n).empty());
}

TEST_P(JournalPaymentTest, APaymentRepeatedWithItsKeyIsTakenOnce) {
    Journal journal(address());
    const int64_t n = placeSample(journal, sampleOrder("Соколов", "6", 100000));
    const std::string key = "pay-3b1f2a";
    const JournalPayment first = journal.pay(n, 60000, "Предоплата", "Карта", "", "Анна", key);
    // The answer was lost; the seat asks again. 60000 twice would even be more than the total.
    EXPECT_EQ(journal.pay(n, 60000, "Предоплата", "Карта", "", "Анна", key), first);
    EXPECT_EQ(journal.payments(n).size(), 1u);
    EXPECT_EQ(journal.order(n).paidKopecks, 60000);
    // A refused payment records no key: the same key then carries a payment the balance allows.
    EXPECT_EQ(refusalOf(journal, n, 40001, "Оплата", "pay-late").kind(), JournalError::Refused);
    EXPECT_EQ(journal.pay(n, 40000, "Оплата", "Карта", "", "Анна", "pay-late").amountKopecks,
              40000);
    EXPECT_EQ(journal.order(n).balanceKopecks(), 0);
}

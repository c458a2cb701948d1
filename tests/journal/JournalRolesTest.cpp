// The salesperson's and the manager's rights, kept by the PostgreSQL server itself: through the
// program and through a console connected as the salesperson.

#include "journal/JournalBackend.h"

#include "journal/JournalConnection.h"
#include "journal/JournalError.h"
#include "journal/OrderStatus.h"

#include <functional>
#include <string>

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

bool says(const JournalError& e, const std::string& text) {
    return std::string(e.what()).find(text) != std::string::npos;
}

const std::string kProduction(orderstatus::kAll[1]);
const std::string kCancelled(orderstatus::kCancelled);

// A person's login on the server, in one of the two roles.
JournalAddress personOn(const JournalAddress& journal, const std::string& user, const char* role) {
    JournalConnection owner(journal);
    owner.run(QString("DO $$ BEGIN IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = '%1') "
                      "THEN CREATE ROLE %1 LOGIN; END IF; END $$")
                  .arg(QString::fromStdString(user)));
    owner.run(QString("GRANT %1 TO %2").arg(role, QString::fromStdString(user)));
    JournalAddress a = journal;
    a.user = user;
    return a;
}

} // namespace

class JournalRolesTest : public JournalBackendTest {};
INSTANTIATE_TEST_SUITE_P(Server, JournalRolesTest, testing::Values(Backend::Postgres), backendName);

TEST_P(JournalRolesTest, ASalespersonCannotDoAManagersChangeEvenFromAConsole) {
    const JournalAddress journal = address();
    int64_t n = 0;
    {
        Journal owner(journal);
        EXPECT_TRUE(owner.rights().manager); // roles not made yet: everything, as before
        owner.initRoles();
        owner.initRoles();                   // again: nothing fails
        EXPECT_TRUE(owner.rights().manager); // the owner
    }
    const JournalAddress seller = personOn(journal, "seller", journalroles::kSalesperson);
    const JournalAddress boss = personOn(journal, "boss", journalroles::kManager);

    Journal sales(seller);
    const JournalRights rights = sales.rights();
    EXPECT_FALSE(rights.manager);
    EXPECT_EQ(rights.user, "seller");
    n = placeSample(sales, sampleOrder("Иванов", "8 912 000 00 00", 100000));
    sales.pay(n, 50000, "Предоплата", "Наличные", "", "Анна");
    const JournalError refund =
        refusal([&] { sales.pay(n, 100, "Возврат", "Наличные", "", "Анна"); });
    EXPECT_EQ(refund.kind(), JournalError::Refused);
    EXPECT_TRUE(says(refund, "только менеджер")) << refund.what();
    EXPECT_EQ(sales.order(n).paidKopecks, 50000);
    // Forward is the salesperson's; back and cancelling are not.
    sales.setStatus(n, kProduction, "Анна");
    for (const std::string& status : {std::string(orderstatus::kPlaced), kCancelled}) {
        const JournalError e = refusal([&] { sales.setStatus(n, status, "Анна"); });
        EXPECT_EQ(e.kind(), JournalError::Refused) << status;
        EXPECT_TRUE(says(e, "только менеджер")) << e.what();
    }
    EXPECT_EQ(sales.order(n).status, kProduction);
    const JournalError revise = refusal([&] {
        sales.revise(n, sampleOrder("Иванов", "1", 1), "[]", "s", "клиент просил", "Анна");
    });
    EXPECT_EQ(revise.kind(), JournalError::Refused);
    EXPECT_EQ(sales.order(n).revision, 1);

    {
        // A console connected as the salesperson changes nothing it may not.
        JournalConnection console(seller);
        for (const char* sql : {
                 "UPDATE journal_history SET who = 'boss'",
                 "DELETE FROM journal_history",
                 "DELETE FROM payments",
                 "UPDATE orders SET total_kopecks = 1",
                 "UPDATE orders SET status = 'Принят'",
                 "INSERT INTO payments (number, amount_kopecks, kind, method, taken_at, "
                 "utc_offset, taken_by, note) SELECT number, 100, 'Возврат', 'Наличные', 0, 0, "
                 "'x', '' FROM orders",
                 "ALTER TABLE orders DISABLE TRIGGER ALL",
                 "DROP FUNCTION tavrolab_manages()",
             }) {
            EXPECT_THROW(console.run(sql), JournalError) << sql;
        }
    }
    EXPECT_EQ(sales.order(n).totalKopecks, 100000);
    EXPECT_EQ(sales.payments(n).size(), 1u);

    // Who made a change is the server's user, whatever name the seat gives.
    for (const HistoryEntry& e : sales.changes(n)) {
        EXPECT_EQ(e.who, "seller") << e.action;
        EXPECT_EQ(e.byName, e.action == "Оформление" ? "Петрова" : "Анна") << e.action;
    }

    Journal manager(boss);
    EXPECT_TRUE(manager.rights().manager);
    manager.pay(n, 100, "Возврат", "Наличные", "", "Ольга");
    manager.revise(n, sampleOrder("Иванов", "1", 90000), "[]", "s", "клиент просил", "Ольга");
    manager.setStatus(n, std::string(orderstatus::kPlaced), "Ольга");
    manager.setStatus(n, kCancelled, "Ольга");
    EXPECT_EQ(manager.order(n).status, kCancelled);
    EXPECT_EQ(manager.order(n).revision, 2);
    EXPECT_EQ(manager.changes(n).back().who, "boss");
}

TEST(JournalRoles, SqliteHasNoRolesAndAllowsEverything) {
    TempFolder dir;
    Journal journal(JournalAddress::sqlite(dir / "j.sqlite"));
    EXPECT_TRUE(journal.rights().manager);
    EXPECT_EQ(refusal([&] { journal.initRoles(); }).kind(), JournalError::Failed);
    const JournalRights salesperson{false, "x"};
    EXPECT_TRUE(salesperson.mayChangeStatus("Принят", "Готов"));
    EXPECT_FALSE(salesperson.mayChangeStatus("Готов", "Принят"));
    EXPECT_FALSE(salesperson.mayChangeStatus("Принят", "Отменён"));
    EXPECT_TRUE(salesperson.mayRevise("Принят"));
    EXPECT_FALSE(salesperson.mayRevise("В производстве"));
    EXPECT_FALSE(JournalRights{}.mayRevise("Отменён"));
    EXPECT_TRUE(JournalRights{}.mayRevise("Доставлен"));
}

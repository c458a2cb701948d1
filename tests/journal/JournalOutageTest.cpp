// A journal whose server goes away: restarted between two actions of one session, an answer to
// COMMIT lost on the way, a server that takes questions and never answers.

#include "journal/Journal.h"
#include "journal/JournalConnection.h"
#include "journal/JournalDeadline.h"
#include "journal/JournalError.h"
#include "journal/JournalSession.h"
#include "journal/PostgresServer.h"
#include "journal/TcpProxy.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using Action = JournalSession::Action;
using namespace std::chrono_literals;

std::string urlOf(const JournalAddress& a) {
    return "postgresql://" + a.user + "@/" + a.database + "?host=" + a.host;
}

int64_t placeOne(Journal& journal, const std::string& key, int* sketches = nullptr) {
    JournalOrder order;
    order.customer = "Иванов";
    order.system = "Ловен";
    return journal.place(
        order, "[]", 1,
        [&](JournalOrder&) {
            if (sketches != nullptr)
                ++*sketches;
            return std::string("эскиз");
        },
        key);
}

int64_t count(const JournalAddress& address, const QString& table) {
    JournalConnection c(address);
    QSqlQuery q = c.run("SELECT COUNT(*) FROM " + table);
    return q.next() ? q.value(0).toLongLong() : -1;
}

class JournalOutage : public testing::Test {
protected:
    void SetUp() override {
        server_ = PostgresServer::instance().freshDatabase(true);
        ASSERT_TRUE(PostgresServer::instance().running()) << PostgresServer::instance().failure();
        const Journal made(server_); // before any test action reaches it
    }
    void TearDown() override { journaldeadline::setLimit(20s); }

    TempFolder dir_;
    JournalAddress server_;
};

} // namespace

TEST_F(JournalOutage, AServerRestartedBetweenTwoActionsOfASessionIsNotNoticed) {
    JournalSession session(dir_.path(), urlOf(server_));
    int changes = 0;
    session.onStateChange([&] { ++changes; });
    EXPECT_EQ(session.run(Action::KeyedWrite, [](Journal& j) { return placeOne(j, "k1"); }), 1);
    // Stopped as for an update, then killed: each time the next action of every kind just works.
    for (bool kill : {false, true}) {
        ASSERT_TRUE(PostgresServer::instance().restart(kill)) << kill;
        EXPECT_EQ(session.run(Action::Read, [](Journal& j) { return j.order(1).customer; }),
                  "Иванов");
        ASSERT_TRUE(PostgresServer::instance().restart(kill)) << kill;
        // A status set again is no change: each round moves it on.
        session.run(Action::Write, [kill](Journal& j) {
            j.setStatus(1, kill ? "Доставлен" : "Готов", "Петрова");
        });
        ASSERT_TRUE(PostgresServer::instance().restart(kill)) << kill;
        EXPECT_EQ(session.run(Action::KeyedWrite, [](Journal& j) { return placeOne(j, "k1"); }), 1);
    }
    EXPECT_FALSE(session.failing());
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(count(server_, "orders"), 1);
    EXPECT_EQ(count(server_, "order_status_history"), 3);
    // A server still away after the one repeat is reported, and so is its return.
    PostgresServer::instance().stopServer();
    EXPECT_THROW(session.run(Action::Read, [](Journal& j) { return j.nextNumber(1); }),
                 JournalError);
    EXPECT_TRUE(session.failing());
    ASSERT_TRUE(PostgresServer::instance().startServer());
    EXPECT_EQ(session.run(Action::Read, [](Journal& j) { return j.nextNumber(1); }), 2);
    EXPECT_FALSE(session.failing());
    EXPECT_EQ(changes, 2);
    EXPECT_GT(session.lastAnswer(), 0);
}

TEST_F(JournalOutage, ALostAnswerToCommitIsRepeatedWithItsKeyIntoOneOrder) {
    TcpProxy proxy(PostgresServer::instance().socketFolder() + "/.s.PGSQL.5432");
    JournalSession session(dir_.path(), proxy.url(server_));
    session.run(Action::Read, [](Journal& j) { return j.nextNumber(1); });
    // With its key the placing is repeated and answers with its first number, its sketch made
    // once; without one, the seat is told it cannot know.
    proxy.setMode(TcpProxy::Mode::DropCommitAnswer);
    int sketches = 0;
    const int64_t number = session.run(
        Action::KeyedWrite, [&](Journal& j) { return placeOne(j, "окно:1", &sketches); });
    EXPECT_EQ(proxy.dropped(), 1);
    EXPECT_EQ(sketches, 1);
    EXPECT_EQ(count(server_, "orders"), 1);
    EXPECT_EQ(Journal(server_).placedWith("окно:1")->number, number);
    proxy.setMode(TcpProxy::Mode::DropCommitAnswer);
    try {
        session.run(Action::Write, [](Journal& j) { j.setStatus(1, "Готов", "Петрова"); });
        ADD_FAILURE() << "a change lost at COMMIT was reported done";
    } catch (const JournalError& e) {
        EXPECT_EQ(e.kind(), JournalError::Unreachable);
        EXPECT_NE(std::string(e.what()).find("неизвестно, записано ли"), std::string::npos);
    }
    EXPECT_EQ(proxy.dropped(), 2);
    EXPECT_EQ(Journal(server_).order(1).status, "Готов");
}

TEST_F(JournalOutage, EveryActionOnAHungServerEndsByTheDeadline) {
    journaldeadline::setLimit(2000ms);
    {
        // The server's own statement timeout follows the deadline.
        JournalConnection c(server_);
        QSqlQuery q = c.run("SHOW statement_timeout");
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(0).toString(), "2s");
        const auto start = journaldeadline::Clock::now();
        EXPECT_THROW(c.run("SELECT pg_sleep(10)"), JournalError);
        EXPECT_LT(journaldeadline::Clock::now() - start, 2500ms);
    }
    TcpProxy proxy(PostgresServer::instance().socketFolder() + "/.s.PGSQL.5432");
    const struct {
        const char* name;
        Action action;
        std::function<void(Journal&)> work;
    } actions[] = {
        {"read", Action::Read, [](Journal& j) { j.list({}); }},
        {"placing", Action::KeyedWrite, [](Journal& j) { placeOne(j, "ключ"); }},
    };
    for (const auto& a : actions) {
        proxy.setMode(TcpProxy::Mode::Forward);
        JournalSession session(dir_.path(), proxy.url(server_));
        session.run(Action::Read, [](Journal& j) { return j.nextNumber(1); });
        proxy.setMode(TcpProxy::Mode::Hang);
        // On the open connection (the watchdog ends the wait), then connecting anew.
        for (const char* connection : {"open", "new"}) {
            const auto start = journaldeadline::Clock::now();
            try {
                session.run(a.action, a.work);
                ADD_FAILURE() << a.name << " " << connection << ": answered";
            } catch (const JournalError& e) {
                EXPECT_EQ(e.kind(), JournalError::NotAnswering) << a.name << " " << connection;
                EXPECT_STREQ(e.what(), "Сервер журнала заказов не отвечает");
            }
            const auto took = journaldeadline::Clock::now() - start;
            EXPECT_LT(took, 2300ms) << a.name << " " << connection;
            EXPECT_GT(took, 900ms) << a.name << " " << connection;
            std::printf("%s, %s connection: %lld ms\n", a.name, connection,
                        static_cast<long long>(
                            std::chrono::duration_cast<std::chrono::milliseconds>(took).count()));
            EXPECT_TRUE(session.failing());
        }
        proxy.setMode(TcpProxy::Mode::Forward);
        session.run(a.action, a.work);
        EXPECT_FALSE(session.failing());
    }
    EXPECT_EQ(count(server_, "orders"), 1);
}

#pragma once

#include "journal/JournalAddress.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <type_traits>

// One connection to the journal's database through Qt SQL, with what differs between SQLite and
// PostgreSQL in one place. Every statement goes through run() with bound values; a failure
// throws JournalError of the kind the database's answer means.
//
// A PostgreSQL connection never waits on its server past the journal action's deadline
// (journaldeadline): TCP keep-alives and a user timeout notice a dead link, the server's statement
// timeout a statement that runs too long, and the watchdog a server that takes questions and
// never answers. Such a wait ends with JournalError::NotAnswering.
class JournalConnection {
public:
    // Connects; an SQLite file's folder is created when missing. Throws JournalError.
    explicit JournalConnection(const JournalAddress& address);
    ~JournalConnection();
    JournalConnection(const JournalConnection&) = delete;
    JournalConnection& operator=(const JournalConnection&) = delete;

    bool isSqlite() const { return address_.backend == JournalAddress::Backend::Sqlite; }
    // The server's connection was lost (closed by the server, or shut down by the watchdog).
    bool lost() const;
    // The last COMMIT was sent and its answer never came: whether it was done is not known.
    bool commitUnanswered() const { return commitSent_ && lost(); }

    // Prepares, binds the values in order and executes; throws JournalError on failure.
    QSqlQuery run(const QString& sql, std::initializer_list<QVariant> values = {});
    // The same with the values in a list (for statements built from a filter).
    QSqlQuery run(const QString& sql, const QVariantList& values);

    // A transaction that takes the write lock at once (SQLite: BEGIN IMMEDIATE), so that two seats
    // placing together wait for each other instead of failing at commit.
    void beginWrite();
    void commit();
    void rollback() noexcept;
    // Runs work in a write transaction: committed when it returns, rolled back when it throws.
    // Returns what work returns.
    template <typename Work>
    auto inWrite(Work work) {
        beginWrite();
        try {
            if constexpr (std::is_void_v<decltype(work())>) {
                work();
                commit();
            } else {
                auto result = work();
                commit();
                return result;
            }
        } catch (...) {
            rollback();
            throw;
        }
    }

    // Column types: a byte string, an identity key, and the key of the orders (in SQLite the
    // table's own row number, so that reading orders by number needs no second look-up; both
    // hold 64 bits).
    QString blobType() const { return isSqlite() ? "BLOB" : "BYTEA"; }
    QString serialKeyType() const {
        return isSqlite() ? "INTEGER PRIMARY KEY AUTOINCREMENT" : "BIGSERIAL PRIMARY KEY";
    }
    QString numberKeyType() const {
        return isSqlite() ? "INTEGER PRIMARY KEY" : "BIGINT PRIMARY KEY";
    }
    bool tableExists(const QString& name);
    // Inside the caller's write transaction: the next number of the named counter, which starts
    // at first. Two seats never get the same number; a rolled-back transaction uses none.
    int64_t takeNumber(const QString& counter, int64_t first);
    // A write's key: what it did the first time (its result and when), if it was done.
    struct Done {
        int64_t result = 0;
        int64_t at = 0;
    };
    std::optional<Done> doneBefore(const std::string& key);
    // Inside the write's transaction: records its key with its result (a second seat recording
    // the same key fails at the unique key).
    void recordDone(const std::string& key, const std::string& action, int64_t result, int64_t at);
    // A write that happens once per key: in a write transaction, work() runs unless the key was
    // done before, and its result (with when) is recorded under the key in the same
    // transaction. Returns the result, the first one's for a repeated key, also when another
    // seat recorded the same key meanwhile. An empty key is a plain write.
    int64_t keyedWrite(const std::string& key, const std::string& action,
                       const std::function<Done()>& work);
    // A condition true when the column holds the text bound to its "?" anywhere, taken literally.
    QString containsCondition(const QString& column) const {
        return (isSqlite() ? "instr(" : "strpos(") + column + ", ?) > 0";
    }
    // SQLite: readers and the writer do not block each other (write-ahead log).
    void useWriteAheadLog();

    // The message to show for a failed database answer, of the kind it means.
    [[noreturn]] void fail(const QSqlError& error, const std::string& doing) const;

private:
    void openSqlite();
    void openPostgres();
    // The connection's socket for the watchdog; -1 for SQLite or a closed connection.
    int socket() const;
    // Executes the prepared or plain query within the action's deadline.
    bool execWatched(QSqlQuery& q, const QString& plain, bool* fired);
    [[noreturn]] void notAnswering() const;

    JournalAddress address_;
    QString name_;
    QSqlDatabase db_;
    bool commitSent_ = false;
    bool closedByServer_ = false;
};

// Qt SQL loads its drivers through the application object: makes a core application when the
// program has none yet (the command line without documents to draw).
void ensureQtApplication();

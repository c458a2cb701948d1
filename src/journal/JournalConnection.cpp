#include "journal/JournalConnection.h"

#include "journal/JournalDeadline.h"
#include "journal/JournalError.h"
#include "journal/JournalRoles.h"
#include "journal/JournalWatchdog.h"

#include <QCoreApplication>
#include <QSqlDriver>
#include <QSqlError>

#include <libpq-fe.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <thread>

namespace {

// How long a seat waits for another seat's placing to finish before it reports the journal busy.
constexpr int kBusyTimeoutMs = 10000;
// How long a PostgreSQL server may take to answer the connection, in seconds (less when the
// action's deadline is nearer; libpq takes no less than 2).
constexpr int kConnectTimeoutSeconds = 5;
constexpr int kShortestConnectTimeoutSeconds = 2;
// A link that went dead is noticed within seconds: keep-alives after 5 s of silence, every 2 s,
// 3 unanswered; data unacknowledged for 10 s ends the connection.
const char* const kLinkOptions[] = {"keepalives=1", "keepalives_idle=5", "keepalives_interval=2",
                                    "keepalives_count=3", "tcp_user_timeout=10000"};
// SQLSTATE query_canceled: the server's statement timeout ended the statement.
const QString kStatementCanceled = "57014";

QString connectionName() {
    static std::atomic<int> counter{0};
    return QString("tavrolab-journal-%1").arg(++counter);
}

// The result codes of SQLite (the driver reports them as its native error code).
bool sqliteCode(const QSqlError& e, std::initializer_list<int> codes) {
    bool ok = false;
    const int code = e.nativeErrorCode().toInt(&ok);
    if (!ok)
        return false;
    for (int c : codes)
        if ((code & 0xff) == c)
            return true;
    return false;
}

} // namespace

void ensureQtApplication() {
    if (QCoreApplication::instance() != nullptr)
        return;
    static int argc = 1;
    static char name[] = "tavrolab";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QCoreApplication> app = std::make_unique<QCoreApplication>(argc, argv);
}

JournalConnection::JournalConnection(const JournalAddress& address)
    : address_(address), name_(connectionName()) {
    ensureQtApplication();
    if (isSqlite())
        openSqlite();
    else
        openPostgres();
}

JournalConnection::~JournalConnection() {
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(name_);
}

void JournalConnection::openSqlite() {
    namespace fs = std::filesystem;
    const fs::path file = address_.file;
    const std::string unreachable = "Не удалось открыть журнал заказов " + file.string();
    if (file.empty())
        throw JournalError(JournalError::Unreachable,
                           "Не задан файл журнала заказов: нет папки данных пользователя");
    std::error_code ec;
    if (fs::exists(file, ec) && !fs::is_regular_file(file, ec))
        throw JournalError(JournalError::Unreachable, unreachable + ": это не файл");
    if (file.has_parent_path() && !fs::is_directory(file.parent_path(), ec)) {
        fs::create_directories(file.parent_path(), ec);
        if (ec)
            throw JournalError(JournalError::Unreachable, unreachable +
                                                              ": не удалось создать папку " +
                                                              file.parent_path().string());
    }
    db_ = QSqlDatabase::addDatabase("QSQLITE", name_);
    if (!db_.isValid())
        throw JournalError(JournalError::Unreachable,
                           "Не установлен драйвер SQLite для Qt (пакет libqt6sql6-sqlite)");
    db_.setDatabaseName(QString::fromStdString(file.string()));
    db_.setConnectOptions(QString("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    if (!db_.open())
        fail(db_.lastError(), "открытие");
}

void JournalConnection::openPostgres() {
    if (JournalWatchdog::cancelled())
        notAnswering();
    db_ = QSqlDatabase::addDatabase("QPSQL", name_);
    if (!db_.isValid())
        throw JournalError(JournalError::Unreachable,
                           "Не установлен драйвер PostgreSQL для Qt (пакет libqt6sql6-psql)");
    db_.setDatabaseName(QString::fromStdString(address_.database));
    if (!address_.host.empty())
        db_.setHostName(QString::fromStdString(address_.host));
    if (address_.port > 0)
        db_.setPort(address_.port);
    if (!address_.user.empty())
        db_.setUserName(QString::fromStdString(address_.user));
    if (!address_.password.empty())
        db_.setPassword(QString::fromStdString(address_.password));
    // QPSQL hands the options to libpq as they are (";" between them), so every libpq keyword
    // is taken; the address's own options come first and win.
    QStringList options;
    std::set<std::string> given;
    int connectTimeout = 0;
    for (const auto& [key, value] : address_.options) {
        options << QString::fromStdString(key + "=" + value);
        given.insert(key);
        if (key == "connect_timeout")
            connectTimeout = std::atoi(value.c_str());
    }
    for (const char* option : kLinkOptions) {
        const std::string text = option;
        if (!given.count(text.substr(0, text.find('='))))
            options << option;
    }
    const auto leftSeconds = static_cast<int>(journaldeadline::left().count() / 1000);
    if (!given.count("connect_timeout")) {
        connectTimeout =
            std::clamp(leftSeconds, kShortestConnectTimeoutSeconds, kConnectTimeoutSeconds);
        options << QString("connect_timeout=%1").arg(connectTimeout);
    }
    // The server ends a statement that runs longer than an action may (the watchdog is there for
    // a server that does not even do that).
    if (!given.count("options"))
        options
            << QString("options='-c statement_timeout=%1'").arg(journaldeadline::limit().count());
    db_.setConnectOptions(options.join(';'));
    const auto started = journaldeadline::Clock::now();
    if (!db_.open()) {
        // A server that takes the connection and then says nothing fails only when the connect
        // timeout runs out (libpq counts in whole seconds: a second early at worst).
        const auto waited = journaldeadline::Clock::now() - started;
        if (connectTimeout > 0 && waited >= std::chrono::seconds(connectTimeout - 1))
            notAnswering();
        throw JournalError(JournalError::Unreachable,
                           "Сервер журнала заказов недоступен (" + address_.shown() + ")");
    }
}

void JournalConnection::notAnswering() const {
    throw JournalError(JournalError::NotAnswering, "Сервер журнала заказов не отвечает");
}

// QPSQL's handle of the connection; Qt names its type after libpq's struct (pg_conn*).
static PGconn* pgConnection(const QSqlDatabase& db) {
    if (!db.isValid() || db.driver() == nullptr)
        return nullptr;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() ||
        (qstrcmp(handle.typeName(), "pg_conn*") != 0 && qstrcmp(handle.typeName(), "PGconn*") != 0))
        return nullptr;
    return *static_cast<PGconn* const*>(handle.constData());
}

int JournalConnection::socket() const {
    PGconn* connection = isSqlite() ? nullptr : pgConnection(db_);
    return connection != nullptr ? PQsocket(connection) : -1;
}

bool JournalConnection::lost() const {
    if (isSqlite())
        return false;
    PGconn* connection = pgConnection(db_);
    return closedByServer_ || connection == nullptr || PQstatus(connection) != CONNECTION_OK;
}

bool JournalConnection::execWatched(QSqlQuery& q, const QString& plain, bool* fired) {
    auto call = [&] { return plain.isNull() ? q.exec() : q.exec(plain); };
    *fired = false;
    if (isSqlite())
        return call();
    if (journaldeadline::left().count() == 0) {
        *fired = true;
        return false;
    }
    JournalWatchdog::Watch watch(socket(), journaldeadline::end());
    const bool done = call();
    *fired = watch.fired();
    return done;
}

void JournalConnection::fail(const QSqlError& error, const std::string& doing) const {
    const std::string where = address_.shown();
    if (isSqlite()) {
        if (sqliteCode(error, {5, 6})) // SQLITE_BUSY, SQLITE_LOCKED
            throw JournalError(JournalError::Locked, "Журнал заказов занят другой программой: " +
                                                         where + ". Повторите позже.");
        if (sqliteCode(error, {11, 26})) // SQLITE_CORRUPT, SQLITE_NOTADB
            throw JournalError(JournalError::Damaged,
                               "Файл журнала заказов поврежден или не является журналом: " + where +
                                   ". Файл оставлен как есть.");
        if (sqliteCode(error, {8, 14, 23})) // SQLITE_READONLY, SQLITE_CANTOPEN, SQLITE_AUTH
            throw JournalError(JournalError::Unreachable,
                               "Нет доступа к журналу заказов: " + where);
    } else if (error.type() == QSqlError::ConnectionError || lost()) {
        throw JournalError(JournalError::Unreachable,
                           "Сервер журнала заказов недоступен (" + where + ")");
    } else if (error.nativeErrorCode() == journalroles::kRefusedState) {
        // The server's own rule, in its own words ("ERROR:  …" with the server's prefix).
        QString text = error.databaseText().section('\n', 0, 0);
        const qsizetype colon = text.indexOf(QStringLiteral(":  "));
        if (colon >= 0 && colon < 12)
            text = text.mid(colon + 3);
        throw JournalError(JournalError::Refused, text.trimmed().toStdString());
    } else if (error.nativeErrorCode() == QLatin1String("42501")) {
        throw JournalError(JournalError::Refused,
                           "У пользователя журнала заказов нет права на это действие (" + where +
                               ")");
    }
    // The database's own words are for the administrator's log, not for the salesperson.
    qWarning("tavrolab journal: %s", qPrintable(error.text()));
    throw JournalError(JournalError::Failed, "Ошибка журнала заказов (" + doing + "): " + where);
}

QSqlQuery JournalConnection::run(const QString& sql, std::initializer_list<QVariant> values) {
    return run(sql, QVariantList(values));
}

QSqlQuery JournalConnection::run(const QString& sql, const QVariantList& values) {
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    // A statement without values runs as it is: PostgreSQL prepares only queries and changes of
    // rows, not BEGIN or CREATE TABLE.
    bool done = false;
    bool fired = false;
    if (values.isEmpty()) {
        done = execWatched(q, sql, &fired);
    } else {
        // QPSQL prepares on the server: the preparing waits on it as a statement does.
        bool prepared = false;
        {
            JournalWatchdog::Watch watch(socket(), journaldeadline::end());
            prepared = q.prepare(sql);
            fired = watch.fired();
        }
        if (!prepared) {
            if (fired)
                notAnswering();
            fail(q.lastError(), "запрос");
        }
        for (int i = 0; i < values.size(); ++i)
            q.bindValue(i, values[i]);
        done = execWatched(q, QString(), &fired);
    }
    if (!done) {
        const QString state = q.lastError().nativeErrorCode();
        if (fired || (!isSqlite() && state == kStatementCanceled))
            notAnswering();
        // The server said it is shutting down (57P01..57P03) or the connection failed (08...):
        // the connection is gone even when libpq has not seen its end yet.
        if (!isSqlite() && (state.startsWith("57P") || state.startsWith("08")))
            closedByServer_ = true;
        // A lost server connection shows as a failed statement: say so plainly.
        if (lost())
            fail(QSqlError({}, {}, QSqlError::ConnectionError), "запрос");
        fail(q.lastError(), "запрос");
    }
    return q;
}

void JournalConnection::beginWrite() {
    commitSent_ = false;
    run(isSqlite() ? "BEGIN IMMEDIATE" : "BEGIN");
}

void JournalConnection::commit() {
    // A cancelled action never sends its COMMIT, so that it is known to have recorded nothing.
    if (JournalWatchdog::cancelled())
        notAnswering();
    commitSent_ = true;
    run("COMMIT");
    commitSent_ = false;
}

void JournalConnection::rollback() noexcept {
    QSqlQuery q(db_);
    bool fired = false;
    execWatched(q, "ROLLBACK", &fired);
}

void JournalConnection::useWriteAheadLog() {
    if (!isSqlite())
        return;
    // Switching a new file's mode needs it to itself, and SQLite does not wait for that: another
    // seat opening the same new journal at the same moment is waited for here.
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kBusyTimeoutMs);
    for (;;) {
        try {
            run("PRAGMA journal_mode = WAL");
            return;
        } catch (const JournalError& e) {
            if (e.kind() != JournalError::Locked || std::chrono::steady_clock::now() > deadline)
                throw;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

bool JournalConnection::tableExists(const QString& name) {
    QSqlQuery q =
        isSqlite()
            ? run("SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND name = ?", {name})
            : run("SELECT COUNT(*) FROM information_schema.tables WHERE table_name = ? AND "
                  "table_schema = current_schema()",
                  {name});
    return q.next() && q.value(0).toLongLong() > 0;
}

int64_t JournalConnection::takeNumber(const QString& counter, int64_t first) {
    run("INSERT INTO journal_counter (name, next_number) VALUES (?, ?) "
        "ON CONFLICT (name) DO NOTHING",
        {counter, qlonglong(first)});
    QSqlQuery q = run("UPDATE journal_counter SET next_number = next_number + 1 "
                      "WHERE name = ? RETURNING next_number - 1",
                      {counter});
    if (!q.next())
        throw JournalError(JournalError::Failed,
                           "Журнал заказов не выдал номер (" + counter.toStdString() + ")");
    return q.value(0).toLongLong();
}

std::optional<JournalConnection::Done> JournalConnection::doneBefore(const std::string& key) {
    QSqlQuery q = run("SELECT result, done_at FROM journal_keys WHERE key = ?",
                      {QString::fromStdString(key)});
    if (!q.next())
        return std::nullopt;
    return Done{q.value(0).toLongLong(), q.value(1).toLongLong()};
}

void JournalConnection::recordDone(const std::string& key, const std::string& action,
                                   int64_t result, int64_t at) {
    run("INSERT INTO journal_keys (key, action, result, done_at) VALUES (?, ?, ?, ?)",
        {QString::fromStdString(key), QString::fromStdString(action), qlonglong(result),
         qlonglong(at)});
}

int64_t JournalConnection::keyedWrite(const std::string& key, const std::string& action,
                                      const std::function<Done()>& work) {
    try {
        return inWrite([&] {
            if (!key.empty()) {
                if (const auto done = doneBefore(key))
                    return done->result;
            }
            const Done done = work();
            if (!key.empty())
                recordDone(key, action, done.result, done.at);
            return done.result;
        });
    } catch (const JournalError& e) {
        // Another seat did the same key meanwhile (the key's unique constraint failed this
        // commit): what it did is the answer.
        if (!key.empty() && e.kind() == JournalError::Failed) {
            if (const auto done = doneBefore(key))
                return done->result;
        }
        throw;
    }
}

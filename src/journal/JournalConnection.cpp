#include "journal/JournalConnection.h"

#include "journal/JournalError.h"

#include <QCoreApplication>
#include <QSqlError>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

namespace {

// How long a seat waits for another seat's placing to finish before it reports the journal busy.
constexpr int kBusyTimeoutMs = 10000;
// How long a PostgreSQL server may take to answer the connection, in seconds.
constexpr int kConnectTimeoutSeconds = 5;

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
    QStringList options;
    bool timeoutGiven = false;
    for (const auto& [key, value] : address_.options) {
        options << QString::fromStdString(key + "=" + value);
        timeoutGiven = timeoutGiven || key == "connect_timeout";
    }
    if (!timeoutGiven)
        options << QString("connect_timeout=%1").arg(kConnectTimeoutSeconds);
    db_.setConnectOptions(options.join(';'));
    if (!db_.open())
        throw JournalError(JournalError::Unreachable,
                           "Сервер журнала заказов недоступен (" + address_.shown() + ")");
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
    } else if (error.type() == QSqlError::ConnectionError || !db_.isOpen()) {
        throw JournalError(JournalError::Unreachable,
                           "Сервер журнала заказов недоступен (" + where + ")");
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
    if (values.isEmpty()) {
        done = q.exec(sql);
    } else {
        if (!q.prepare(sql))
            fail(q.lastError(), "запрос");
        for (int i = 0; i < values.size(); ++i)
            q.bindValue(i, values[i]);
        done = q.exec();
    }
    if (!done) {
        // A lost server connection shows as a failed statement: say so plainly.
        if (!isSqlite() && !db_.isOpen())
            fail(QSqlError({}, {}, QSqlError::ConnectionError), "запрос");
        fail(q.lastError(), "запрос");
    }
    return q;
}

void JournalConnection::beginWrite() {
    run(isSqlite() ? "BEGIN IMMEDIATE" : "BEGIN");
}

void JournalConnection::commit() {
    run("COMMIT");
}

void JournalConnection::rollback() noexcept {
    QSqlQuery q(db_);
    q.exec("ROLLBACK");
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

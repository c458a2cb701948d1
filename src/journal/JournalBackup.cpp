#include "journal/JournalBackup.h"

#include "journal/JournalConnection.h"
#include "journal/JournalError.h"
#include "journal/JournalSchema.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace journalbackup {
namespace {

namespace fs = std::filesystem;

std::string stamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

int64_t ordersIn(JournalConnection& db) {
    QSqlQuery q = db.run("SELECT COUNT(*) FROM orders");
    return q.next() ? q.value(0).toLongLong() : 0;
}

// A copy is a journal this program can read: whole, of a schema it knows, with its orders.
int64_t checked(JournalConnection& db, const std::string& name) {
    int version = 0;
    try {
        if (db.isSqlite()) {
            QSqlQuery q = db.run("PRAGMA integrity_check");
            if (!q.next() || q.value(0).toString() != "ok")
                throw JournalError(JournalError::Damaged, "");
        }
        version = journalschema::versionOf(db);
    } catch (const JournalError& e) {
        if (e.kind() == JournalError::Unreachable)
            throw;
        throw JournalError(JournalError::Damaged,
                           "Копия " + name + " повреждена или не является журналом заказов");
    }
    if (version == 0)
        throw JournalError(JournalError::Damaged,
                           "Копия " + name + " не является журналом заказов");
    if (version > journalschema::latestVersion())
        throw JournalError(JournalError::NewerSchema,
                           "Копия " + name + " записана более новой версией программы (версия " +
                               std::to_string(version) + ", программа знает до " +
                               std::to_string(journalschema::latestVersion()) + ")");
    return ordersIn(db);
}

// Whether another process has the file open (its descriptors under /proc).
bool openElsewhere(const fs::path& file) {
    std::error_code ec;
    const fs::path target = fs::weakly_canonical(file, ec);
    const std::string self = std::to_string(::getpid());
    for (const auto& process : fs::directory_iterator("/proc", ec)) {
        const std::string pid = process.path().filename().string();
        if (pid == self || pid.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::error_code fdError;
        for (const auto& fd : fs::directory_iterator(process.path() / "fd", fdError)) {
            std::error_code linkError;
            const fs::path points = fs::read_symlink(fd.path(), linkError);
            if (!linkError && (points == target || points.string() == target.string() + "-wal"))
                return true;
        }
    }
    return false;
}

// Runs one of the server's tools; its own message is passed on after ours.
void runTool(const JournalAddress& a, const QString& tool, QStringList args,
             const std::string& doing) {
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        throw JournalError(JournalError::Failed,
                           "Для копии журнала на PostgreSQL нужна программа " + tool.toStdString() +
                               " (пакет postgresql-client); она не установлена");
    if (!a.host.empty())
        args << "--host" << QString::fromStdString(a.host);
    if (a.port > 0)
        args << "--port" << QString::number(a.port);
    if (!a.user.empty())
        args << "--username" << QString::fromStdString(a.user);
    args << "--no-password";
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!a.password.empty())
        env.insert("PGPASSWORD", QString::fromStdString(a.password));
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(30 * 60 * 1000) || p.exitStatus() != QProcess::NormalExit ||
        p.exitCode() != 0)
        throw JournalError(
            JournalError::Failed,
            doing + ": " +
                QString::fromLocal8Bit(p.readAllStandardError()).trimmed().toStdString());
}

QString quotedName(const std::string& name) {
    return "\"" + QString::fromStdString(name).replace("\"", "\"\"") + "\"";
}

Copy backupSqlite(const JournalAddress& address, const fs::path& file) {
    std::error_code ec;
    if (!fs::is_regular_file(address.file, ec))
        throw JournalError(JournalError::Unreachable,
                           "Журнал заказов " + address.file.string() + " не найден");
    const fs::path tmp = file.string() + ".tmp-" + std::to_string(::getpid());
    fs::remove(tmp, ec);
    Copy copy;
    {
        JournalConnection db(address);
        db.run("VACUUM INTO ?", {QString::fromStdString(tmp.string())});
        copy.orders = ordersIn(db);
    }
    fs::rename(tmp, file, ec);
    if (ec) {
        fs::remove(tmp, ec);
        throw JournalError(JournalError::Failed, "Не удалось записать копию " + file.string());
    }
    return copy;
}

Copy restoreSqlite(const JournalAddress& address, const fs::path& file) {
    const fs::path journal = address.file;
    std::error_code ec;
    const fs::path tmp = journal.string() + ".restore-" + std::to_string(::getpid());
    fs::remove(tmp, ec);
    if (!fs::copy_file(file, tmp, ec) || ec)
        throw JournalError(JournalError::Unreachable, "Копия " + file.string() + " не читается");
    Copy copy;
    try {
        {
            JournalConnection db(JournalAddress::sqlite(tmp));
            copy.orders = checked(db, file.string());
        }
        if (fs::exists(tmp.string() + "-wal", ec))
            throw JournalError(JournalError::Failed, "Копия " + file.string() + " не закрылась");
        if (fs::exists(journal, ec)) {
            if (openElsewhere(journal))
                throw JournalError(JournalError::Locked,
                                   "Журнал заказов открыт другой программой; закройте её и "
                                   "повторите восстановление");
            // What the journal's write-ahead log still holds goes into the file first, so that
            // the log is not taken for the copy's.
            if (fs::exists(journal.string() + "-wal", ec)) {
                JournalConnection old(address);
                old.run("PRAGMA wal_checkpoint(TRUNCATE)");
            }
            fs::remove(journal.string() + "-wal", ec);
            fs::remove(journal.string() + "-shm", ec);
            copy.kept = journal.string() + ".replaced-" + stamp();
            // One step: the copy and the journal change places, then the old one is renamed.
            if (::renameat2(AT_FDCWD, tmp.c_str(), AT_FDCWD, journal.c_str(), RENAME_EXCHANGE) != 0)
                throw JournalError(JournalError::Failed,
                                   "Не удалось заменить журнал " + journal.string());
            fs::rename(tmp, copy.kept, ec);
        } else {
            fs::create_directories(journal.parent_path(), ec);
            fs::rename(tmp, journal, ec);
            if (ec)
                throw JournalError(JournalError::Failed,
                                   "Не удалось записать журнал " + journal.string());
        }
    } catch (...) {
        fs::remove(tmp, ec);
        throw;
    }
    return copy;
}

Copy backupPostgres(const JournalAddress& address, const fs::path& file) {
    Copy copy;
    {
        JournalConnection db(address);
        copy.orders = ordersIn(db);
    }
    const fs::path tmp = file.string() + ".tmp-" + std::to_string(::getpid());
    std::error_code ec;
    try {
        runTool(address, "pg_dump",
                {"--format=custom", "--file", QString::fromStdString(tmp.string()), "--dbname",
                 QString::fromStdString(address.database)},
                "pg_dump не сделал копию журнала");
    } catch (...) {
        fs::remove(tmp, ec);
        throw;
    }
    fs::rename(tmp, file, ec);
    if (ec)
        throw JournalError(JournalError::Failed, "Не удалось записать копию " + file.string());
    return copy;
}

Copy restorePostgres(const JournalAddress& address, const fs::path& file) {
    std::error_code ec;
    if (!fs::is_regular_file(file, ec))
        throw JournalError(JournalError::Unreachable, "Копия " + file.string() + " не найдена");
    JournalAddress maintenance = address;
    maintenance.database = "postgres";
    JournalConnection admin(maintenance);
    const std::string scratch = address.database + "_restore_" + std::to_string(::getpid());
    admin.run("DROP DATABASE IF EXISTS " + quotedName(scratch));
    admin.run("CREATE DATABASE " + quotedName(scratch));
    Copy copy;
    try {
        try {
            runTool(address, "pg_restore",
                    {"--no-owner", "--exit-on-error", "--dbname", QString::fromStdString(scratch),
                     QString::fromStdString(file.string())},
                    "");
        } catch (const JournalError&) {
            throw JournalError(JournalError::Damaged,
                               "Копия " + file.string() + " повреждена или не является журналом");
        }
        {
            JournalAddress restored = address;
            restored.database = scratch;
            JournalConnection db(restored);
            copy.orders = checked(db, file.string());
        }
        QSqlQuery exists = admin.run("SELECT 1 FROM pg_database WHERE datname = ?",
                                     {QString::fromStdString(address.database)});
        if (exists.next()) {
            QSqlQuery others = admin.run("SELECT COUNT(*) FROM pg_stat_activity WHERE datname = ? "
                                         "AND pid <> pg_backend_pid()",
                                         {QString::fromStdString(address.database)});
            if (others.next() && others.value(0).toLongLong() > 0)
                throw JournalError(JournalError::Locked,
                                   "Журнал заказов открыт другими программами (" +
                                       others.value(0).toString().toStdString() +
                                       "); закройте их и повторите восстановление");
            copy.kept = address.database + "_replaced_" + stamp();
            admin.run("ALTER DATABASE " + quotedName(address.database) + " RENAME TO " +
                      quotedName(copy.kept));
        }
        admin.run("ALTER DATABASE " + quotedName(scratch) + " RENAME TO " +
                  quotedName(address.database));
    } catch (...) {
        try {
            admin.run("DROP DATABASE IF EXISTS " + quotedName(scratch));
        } catch (const JournalError&) {
        }
        throw;
    }
    return copy;
}

// The copies of one kind in the folder, oldest first (their names sort by date).
std::vector<fs::path> copiesIn(const fs::path& folder, const std::string& prefix) {
    std::vector<fs::path> out;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(prefix) && name.ends_with(".sqlite") &&
            name.find_first_not_of("0123456789-", prefix.size()) == name.size() - 7)
            out.push_back(entry.path());
    }
    std::sort(out.begin(), out.end());
    return out;
}

void keepNewest(const fs::path& folder, const std::string& prefix, size_t keep) {
    std::vector<fs::path> all = copiesIn(folder, prefix);
    std::error_code ec;
    for (size_t i = 0; i + keep < all.size(); ++i)
        fs::remove(all[i], ec);
}

} // namespace

fs::path daily(const JournalAddress& address, const fs::path& folder, std::time_t now) {
    std::error_code ec;
    if (address.backend != JournalAddress::Backend::Sqlite ||
        !fs::is_regular_file(address.file, ec))
        return {};
    std::tm local{};
    localtime_r(&now, &local);
    char day[32], week[32];
    std::strftime(day, sizeof day, "journal-%Y-%m-%d.sqlite", &local);
    std::strftime(week, sizeof week, "journal-week-%G-%V.sqlite", &local);
    const fs::path copy = folder / day;
    if (fs::exists(copy, ec))
        return {};
    fs::create_directories(folder, ec);
    backup(address, copy);
    if (!fs::exists(folder / week, ec))
        fs::copy_file(copy, folder / week, ec);
    keepNewest(folder, "journal-week-", 4);
    keepNewest(folder, "journal-2", 7);
    return copy;
}

Copy backup(const JournalAddress& address, const fs::path& file) {
    return address.backend == JournalAddress::Backend::Sqlite ? backupSqlite(address, file)
                                                              : backupPostgres(address, file);
}

Copy restore(const JournalAddress& address, const fs::path& file) {
    return address.backend == JournalAddress::Backend::Sqlite ? restoreSqlite(address, file)
                                                              : restorePostgres(address, file);
}

} // namespace journalbackup

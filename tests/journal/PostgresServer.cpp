#include "journal/PostgresServer.h"

#include "journal/JournalConnection.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <memory>
#include <pwd.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const char* const kUser = "tavrolab";

// The newest installed server: /usr/lib/postgresql/<version>/bin.
std::string serverBinaries() {
    std::vector<fs::path> found;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/usr/lib/postgresql", ec))
        if (fs::exists(entry.path() / "bin" / "initdb", ec))
            found.push_back(entry.path() / "bin");
    if (found.empty())
        return {};
    std::sort(found.begin(), found.end(), [](const fs::path& a, const fs::path& b) {
        return std::stoi(a.parent_path().filename().string()) <
               std::stoi(b.parent_path().filename().string());
    });
    return found.back().string();
}

const passwd* unprivilegedUser() {
    return ::getpwnam("nobody");
}

// Whether the process is gone or a zombie nobody reaps (its state in /proc/PID/stat is 'Z').
bool deadProcess(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line))
        return true;
    const std::size_t close = line.rfind(')');
    return close != std::string::npos && close + 2 < line.size() && line[close + 2] == 'Z';
}

// The process id a lock file names on its first line, 0 when there is none.
pid_t lockOwner(const std::string& file) {
    std::ifstream in(file);
    long long pid = 0;
    return in >> pid ? static_cast<pid_t>(pid) : 0;
}

std::unique_ptr<PostgresServer>* theServer() {
    static std::unique_ptr<PostgresServer> server;
    return &server;
}

} // namespace

int PostgresServer::runProgram(const std::vector<std::string>& argv, bool dropPrivileges,
                               const std::string& logFile) {
    const passwd* user = dropPrivileges && ::geteuid() == 0 ? unprivilegedUser() : nullptr;
    const pid_t pid = ::fork();
    if (pid < 0)
        return -1;
    if (pid == 0) {
        std::FILE* log = std::fopen(logFile.c_str(), "a");
        if (log != nullptr) {
            ::dup2(::fileno(log), 1);
            ::dup2(::fileno(log), 2);
        }
        if (user != nullptr && (::setgroups(0, nullptr) != 0 || ::setgid(user->pw_gid) != 0 ||
                                ::setuid(user->pw_uid) != 0))
            ::_exit(126);
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

PostgresServer& PostgresServer::instance() {
    if (!*theServer())
        theServer()->reset(new PostgresServer());
    return **theServer();
}

void PostgresServer::shutDown() {
    theServer()->reset();
}

PostgresServer::PostgresServer() {
    binDir_ = serverBinaries();
    if (binDir_.empty()) {
        failure_ = "PostgreSQL is not installed (the postgresql package; tools/setup.sh)";
        return;
    }
    // Under /tmp whatever TMPDIR says: the unprivileged user must reach the folder, and the
    // socket's path must stay short.
    std::string pattern = "/tmp/tavrolab-pg-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        failure_ = "no temporary folder for the server";
        return;
    }
    folder_ = pattern;
    socketDir_ = folder_ + "/socket";
    dataDir_ = folder_ + "/data";
    fs::create_directories(socketDir_);
    if (::geteuid() == 0) {
        const passwd* user = unprivilegedUser();
        if (user == nullptr || ::chown(folder_.c_str(), user->pw_uid, user->pw_gid) != 0 ||
            ::chown(socketDir_.c_str(), user->pw_uid, user->pw_gid) != 0) {
            failure_ = "cannot hand the server's folder to the user nobody";
            return;
        }
    }
    const std::string log = folder_ + "/log.txt";
    if (runProgram({binDir_ + "/initdb", "-D", dataDir_, "-U", kUser, "-A", "trust", "-E", "UTF8",
                    "--locale=C", "--no-sync"},
                   true, log) != 0) {
        failure_ = "initdb failed, see " + log;
        return;
    }
    {
        // No TCP port: the server listens on its socket in the test's folder only.
        std::ofstream conf(dataDir_ + "/postgresql.conf", std::ios::app);
        conf << "\nlisten_addresses = ''\nunix_socket_directories = '" << socketDir_
             << "'\nfsync = off\nsynchronous_commit = off\nfull_page_writes = off\n"
                "max_connections = 40\nshared_buffers = 16MB\n";
    }
    if (!startServer())
        failure_ = "pg_ctl start failed, see " + log + " and server.log";
}

bool PostgresServer::startServer() {
    // A killed server's locks name a process that is gone or a zombie: they are stale.
    for (const std::string& lock :
         {dataDir_ + "/postmaster.pid", socketDir_ + "/.s.PGSQL.5432.lock"}) {
        const pid_t owner = lockOwner(lock);
        if (owner > 0 && deadProcess(owner)) {
            std::error_code ec;
            fs::remove(lock, ec);
        }
    }
    // The killed server's own processes leave its shared memory a moment after it died.
    for (int attempt = 0; attempt < 20 && !running_; ++attempt) {
        running_ = runProgram({binDir_ + "/pg_ctl", "-D", dataDir_, "-l", folder_ + "/server.log",
                               "-w", "-t", "60", "start"},
                              true, folder_ + "/log.txt") == 0;
        if (!running_)
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
    }
    return running_;
}

bool PostgresServer::stopServer(bool kill) {
    if (!running_)
        return true;
    running_ = false;
    if (!kill)
        return runProgram({binDir_ + "/pg_ctl", "-D", dataDir_, "-m", "fast", "-w", "stop"}, true,
                          folder_ + "/log.txt") == 0;
    const pid_t pid = lockOwner(dataDir_ + "/postmaster.pid");
    if (pid <= 0 || ::kill(pid, SIGKILL) != 0)
        return false;
    for (int i = 0; i < 200 && !deadProcess(pid); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return deadProcess(pid);
}

bool PostgresServer::restart(bool kill) {
    return stopServer(kill) && startServer();
}

PostgresServer::~PostgresServer() {
    stop();
}

void PostgresServer::stop() {
    stopServer(false);
    if (!folder_.empty()) {
        std::error_code ec;
        fs::remove_all(folder_, ec);
    }
}

JournalAddress PostgresServer::freshDatabase(bool durable) {
    JournalAddress address;
    address.backend = JournalAddress::Backend::Postgres;
    address.host = socketDir_;
    address.user = kUser;
    address.database = "journal_" + std::to_string(::getpid()) + "_" + std::to_string(++databases_);
    if (!running_) {
        ADD_FAILURE() << failure_;
        return address;
    }
    ensureQtApplication();
    {
        QSqlDatabase admin = QSqlDatabase::addDatabase("QPSQL", "tavrolab-test-admin");
        admin.setHostName(QString::fromStdString(socketDir_));
        admin.setUserName(kUser);
        admin.setDatabaseName("postgres");
        if (!admin.open()) {
            ADD_FAILURE() << "cannot reach the test server: "
                          << admin.lastError().text().toStdString();
        } else {
            QSqlQuery q(admin);
            if (!q.exec(QString::fromStdString("CREATE DATABASE " + address.database)))
                ADD_FAILURE() << "CREATE DATABASE: " << q.lastError().text().toStdString();
            if (durable && !q.exec(QString::fromStdString("ALTER DATABASE " + address.database +
                                                          " SET synchronous_commit = on")))
                ADD_FAILURE() << "ALTER DATABASE: " << q.lastError().text().toStdString();
        }
        admin.close();
    }
    QSqlDatabase::removeDatabase("tavrolab-test-admin");
    return address;
}

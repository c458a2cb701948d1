#pragma once

#include "journal/JournalAddress.h"

#include <string>
#include <vector>

// A PostgreSQL server of the test run's own: a cluster made by initdb in a temporary folder,
// listening on a Unix socket only, run by an unprivileged user when the tests run as root
// (the server refuses root). Started on first use, stopped and removed at the end of the run.
class PostgresServer {
public:
    // The one server of this test program; starts it when it is not running.
    static PostgresServer& instance();
    // Stops the server if one was started (called at the end of the run).
    static void shutDown();

    // A new empty database on the server and its address; fails the test when the server could
    // not be started. The server runs with synchronous_commit off, for speed: a killed server
    // loses its last commits, unless the database is durable.
    JournalAddress freshDatabase(bool durable = false);
    bool running() const { return running_; }
    // The folder of the server's Unix socket (.s.PGSQL.5432 in it).
    const std::string& socketFolder() const { return socketDir_; }

    // Stops the server and starts it again on the same data. With kill, the server is killed
    // (SIGKILL) instead of asked to stop: nothing reaps it here, so it stays a zombie whose
    // postmaster.pid would block the start; such a lock of a dead process is cleared. Returns
    // whether the server runs again.
    bool restart(bool kill = false);
    bool stopServer(bool kill = false);
    bool startServer();
    const std::string& failure() const { return failure_; }

    // Runs a program and waits for it; as the unprivileged user when dropPrivileges and running
    // as root. Returns the exit status (-1 when it could not be started or was killed).
    static int runProgram(const std::vector<std::string>& argv, bool dropPrivileges,
                          const std::string& logFile);

    ~PostgresServer();

private:
    PostgresServer();
    void stop();

    std::string folder_, binDir_, socketDir_, dataDir_;
    bool running_ = false;
    std::string failure_;
    int databases_ = 0;
};

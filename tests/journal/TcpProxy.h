#pragma once

#include "journal/JournalAddress.h"

#include <atomic>
#include <string>
#include <thread>

// A TCP port on localhost between the program and the test's PostgreSQL server (its Unix
// socket), which forwards, loses an answer or hangs as the test says:
//   Forward: passes every byte both ways;
//   DropCommitAnswer: once a client sent COMMIT, the server's answer to it is dropped and both
//     connections closed (the change is done, the seat never hears so); then Forward again;
//   Hang: takes connections and reads what clients send, but forwards and answers nothing, as
//     a stalled server or a black hole in the network does.
class TcpProxy {
public:
    enum class Mode { Forward, DropCommitAnswer, Hang };

    explicit TcpProxy(std::string serverSocket);
    ~TcpProxy();
    TcpProxy(const TcpProxy&) = delete;
    TcpProxy& operator=(const TcpProxy&) = delete;

    void setMode(Mode mode) { mode_ = mode; }
    int port() const { return port_; }
    // The server's address as reached through the proxy.
    JournalAddress address(const JournalAddress& server) const;
    // "postgresql://USER@127.0.0.1:PORT/DATABASE".
    std::string url(const JournalAddress& server) const;
    // How many COMMIT answers were dropped.
    int dropped() const { return dropped_; }

private:
    void loop();

    std::string serverSocket_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<Mode> mode_{Mode::Forward};
    std::atomic<int> dropped_{0};
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

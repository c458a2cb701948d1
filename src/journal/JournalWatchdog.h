#pragma once

#include "journal/JournalDeadline.h"

#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

// Ends a wait on the journal's server that outlives its deadline. A server that accepted the
// connection and acknowledges every packet but never answers is caught by neither TCP
// keep-alives nor the server's own statement timeout: the watchdog then shuts the connection's
// socket down, so that the call blocked on it returns at once with a lost connection.
class JournalWatchdog {
public:
    // Watches the socket while it lives (one statement's wait).
    class Watch {
    public:
        Watch(int socket, journaldeadline::Clock::time_point end);
        ~Watch();
        Watch(const Watch&) = delete;
        Watch& operator=(const Watch&) = delete;
        // Whether the deadline passed and the socket was shut down.
        bool fired() const;

    private:
        int id_ = 0;
    };

    ~JournalWatchdog();

private:
    struct Entry {
        int socket = -1;
        journaldeadline::Clock::time_point end;
        bool fired = false;
    };

    static JournalWatchdog& instance();
    void loop();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::map<int, Entry> watched_;
    int lastId_ = 0;
    bool stopping_ = false;
    std::thread thread_;
};

#include "journal/JournalWatchdog.h"

#include <sys/socket.h>

JournalWatchdog& JournalWatchdog::instance() {
    static JournalWatchdog watchdog;
    return watchdog;
}

JournalWatchdog::~JournalWatchdog() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

void JournalWatchdog::loop() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        auto next = journaldeadline::Clock::time_point::max();
        const auto now = journaldeadline::Clock::now();
        for (auto& [id, entry] : watched_) {
            if (entry.fired)
                continue;
            if (entry.end <= now) {
                // The socket stays open (its owner closes it), so its number cannot be reused
                // by another file meanwhile.
                ::shutdown(entry.socket, SHUT_RDWR);
                entry.fired = true;
            } else if (entry.end < next) {
                next = entry.end;
            }
        }
        if (next == journaldeadline::Clock::time_point::max())
            wake_.wait(lock);
        else
            wake_.wait_until(lock, next);
    }
}

JournalWatchdog::Watch::Watch(int socket, journaldeadline::Clock::time_point end) {
    if (socket < 0)
        return;
    JournalWatchdog& w = instance();
    {
        std::lock_guard lock(w.mutex_);
        if (!w.thread_.joinable())
            w.thread_ = std::thread([&w] { w.loop(); });
        id_ = ++w.lastId_;
        w.watched_[id_] = {socket, end, false};
    }
    w.wake_.notify_all();
}

JournalWatchdog::Watch::~Watch() {
    if (id_ == 0)
        return;
    JournalWatchdog& w = instance();
    std::lock_guard lock(w.mutex_);
    w.watched_.erase(id_);
}

bool JournalWatchdog::Watch::fired() const {
    if (id_ == 0)
        return false;
    JournalWatchdog& w = instance();
    std::lock_guard lock(w.mutex_);
    const auto it = w.watched_.find(id_);
    return it != w.watched_.end() && it->second.fired;
}

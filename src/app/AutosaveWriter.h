#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

// Writes recovery copies on a thread of its own, so that an autosave never holds up the window.
// Jobs run in the order given; a write still waiting is replaced by a newer one of the same file
// (only the latest state matters). Writes go through the atomic writer: a copy on disk is always
// whole.
class AutosaveWriter {
public:
    // Called on the writer's thread with the reason when a job failed.
    using FailureHandler = std::function<void(const std::string& reason)>;

    explicit AutosaveWriter(FailureHandler onFailure = {});
    ~AutosaveWriter(); // finishes the jobs given

    void write(const std::string& path, std::string bytes);
    void remove(const std::string& path);
    // Blocks until every job given has finished.
    void waitIdle();
    // Copies written so far.
    int writes() const { return writes_.load(); }

private:
    struct Job {
        std::string path;
        std::string bytes;
        bool remove = false;
    };
    void run();
    void perform(const Job& job);

    FailureHandler onFailure_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<Job> jobs_;
    bool busy_ = false;
    bool stopping_ = false;
    std::atomic<int> writes_{0};
    std::thread thread_;
};

#include "app/AutosaveWriter.h"

#include "model/AtomicFile.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

AutosaveWriter::AutosaveWriter(FailureHandler onFailure)
    : onFailure_(std::move(onFailure)), thread_([this] { run(); }) {}

AutosaveWriter::~AutosaveWriter() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void AutosaveWriter::write(const std::string& path, std::string bytes) {
    {
        std::lock_guard lock(mutex_);
        if (!jobs_.empty() && !jobs_.back().remove && jobs_.back().path == path)
            jobs_.back().bytes = std::move(bytes);
        else
            jobs_.push_back({path, std::move(bytes), false});
    }
    wake_.notify_one();
}

void AutosaveWriter::remove(const std::string& path) {
    {
        std::lock_guard lock(mutex_);
        jobs_.push_back({path, {}, true});
    }
    wake_.notify_one();
}

void AutosaveWriter::waitIdle() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return jobs_.empty() && !busy_; });
}

void AutosaveWriter::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
        if (jobs_.empty())
            return; // stopping, and every job done
        Job job = std::move(jobs_.front());
        jobs_.pop_front();
        busy_ = true;
        lock.unlock();
        perform(job);
        lock.lock();
        busy_ = false;
        if (jobs_.empty())
            idle_.notify_all();
    }
}

void AutosaveWriter::perform(const Job& job) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (job.remove) {
        fs::remove(job.path, ec);
        return;
    }
    std::string reason;
    fs::create_directories(fs::path(job.path).parent_path(), ec);
    if (ec) {
        if (onFailure_)
            onFailure_(fileio::systemErrorText(ec.value()));
        return;
    }
    if (fileio::writeFileAtomically(job.path, job.bytes, &reason))
        ++writes_;
    else if (onFailure_)
        onFailure_(reason);
}

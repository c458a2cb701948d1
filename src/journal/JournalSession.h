#pragma once

#include "journal/JournalConfig.h"
#include "journal/JournalDeadline.h"
#include "journal/JournalError.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class Journal;

// The journal a program run works with: the configuration read once, the connection opened on
// first use and kept. After a failure the connection is dropped, so the next use tries afresh
// (a server back up, a file no longer held).
//
// Every caller asks through run(): an action within the journal's deadline which, should it find
// its connection lost (the server restarted since the last action), reconnects once and repeats
// itself when that is safe. Only a journal still unreachable then is reported.
class JournalSession {
public:
    // dataFolder: the program's data folder (its config/journal.conf); commandLineAddress
    // overrides the configured address when not empty.
    explicit JournalSession(const std::filesystem::path& dataFolder,
                            const std::string& commandLineAddress = {});
    ~JournalSession();

    // False when the configuration says "off": the number file alone numbers the orders.
    bool enabled() const { return !configError_.empty() || config_.address.has_value(); }
    const std::string& salesperson() const { return config_.salesperson; }

    // The journal's address, without opening it; throws JournalError when it is not configured.
    const JournalAddress& address() const;
    // The open journal; throws JournalError when it cannot be opened (or is not configured).
    Journal& journal();
    // Drops the connection after a failure.
    void reset();

    // What an action does, which says whether it may be repeated after a lost connection:
    //   Read: always; Write: when its transaction never reached COMMIT; KeyedWrite: always, as
    //   it carries an exactly-once key and its repeat answers with what the first one did.
    enum class Action { Read, Write, KeyedWrite };

    // Runs work(journal) as one action and returns what it returns; throws JournalError.
    template <typename Work>
    auto run(Action action, Work work) -> decltype(work(std::declval<Journal&>()));

    // The state the window shows: whether the last action found the journal unreachable or not
    // answering, and when the journal last answered (seconds since the epoch, 0 for never).
    bool failing() const { return failing_; }
    int64_t lastAnswer() const { return lastAnswer_; }
    // Called whenever failing() changes.
    void onStateChange(std::function<void()> listener) { listener_ = std::move(listener); }

private:
    // After a failed attempt: drops the connection when the failure calls for it, records the
    // state, and says whether the action is to be repeated.
    bool failedAttempt(const JournalError& e, Action action, bool hadConnection, int attempt);
    void answered();

    JournalConfig config_;
    std::string configError_;
    std::unique_ptr<Journal> journal_;
    bool failing_ = false;
    int64_t lastAnswer_ = 0;
    std::function<void()> listener_;
};

template <typename Work>
auto JournalSession::run(Action action, Work work) -> decltype(work(std::declval<Journal&>())) {
    const journaldeadline::Action deadline;
    for (int attempt = 0;; ++attempt) {
        const bool hadConnection = journal_ != nullptr;
        try {
            if constexpr (std::is_void_v<decltype(work(journal()))>) {
                work(journal());
                answered();
                return;
            } else {
                auto result = work(journal());
                answered();
                return result;
            }
        } catch (const JournalError& e) {
            if (!failedAttempt(e, action, hadConnection, attempt))
                throw;
        }
    }
}

#pragma once

#include "journal/JournalSession.h"

#include <QObject>
#include <QThread>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <type_traits>

class Journal;
class QWidget;

// The window's journal: its session lives on a journal thread of its own, which alone opens and
// uses the session's connection, so that a slow or hung server never freezes the window. run()
// has the shape of JournalSession::run: it hands the action to the journal thread and waits in a
// local event loop, the window painted and its timers running, but deaf to the person's clicks
// and keys. After a moment a busy frame over the window offers "Отмена"; cancelling ends the
// statement waiting on the server at once, and the action fails with JournalError::Cancelled.
class JournalRunner : public QObject {
    Q_OBJECT

public:
    // How long an action runs before the busy frame shows.
    static constexpr std::chrono::milliseconds kBusyDelay{300};

    explicit JournalRunner(std::unique_ptr<JournalSession> session, QObject* parent = nullptr);
    ~JournalRunner() override;

    // The configuration and the state, which the interface thread may read.
    const JournalSession& session() const { return *session_; }
    bool enabled() const { return session_->enabled(); }
    const std::string& salesperson() const { return session_->salesperson(); }
    const JournalAddress& address() const { return session_->address(); }
    bool failing() const { return session_->failing(); }
    int64_t lastAnswer() const { return session_->lastAnswer(); }
    // Called on the interface thread whenever failing() changes.
    void onStateChange(std::function<void()> listener) { listener_ = std::move(listener); }

    // Runs work(journal) on the journal thread as the session's action and returns what it
    // returns; throws its JournalError here. over: the window the busy frame covers.
    template <typename Work>
    auto run(QWidget* over, JournalSession::Action action, Work work)
        -> decltype(work(std::declval<Journal&>()));

    // Whether an action is waited for.
    bool busy() const { return waiting_ > 0; }
    // Cancels the actions waited for (as "Отмена" does).
    void cancel();

signals:
    // The busy frame came up (it did not for an action that answered within kBusyDelay).
    void busyShown();
    // An action ended on the journal thread (its waiter checks whether it was its own).
    void answered();
    // No action is waited for any more.
    void idle();

private:
    struct Task;
    // Runs task on the journal thread and waits for it to end; rethrows what it threw, turned
    // into JournalError::Cancelled when the person cancelled it.
    void wait(QWidget* over, JournalSession::Action action, std::function<void()> task);
    void cancel(Task& task);
    // Calls the listener when failing() changed since it last heard.
    void tellState();

    std::unique_ptr<JournalSession> session_;
    QThread thread_;
    QObject* worker_ = nullptr; // lives on thread_
    std::function<void()> listener_;
    bool toldFailing_ = false;
    std::vector<std::shared_ptr<Task>> tasks_; // the actions waited for, innermost last
    int waiting_ = 0;
};

template <typename Work>
auto JournalRunner::run(QWidget* over, JournalSession::Action action, Work work)
    -> decltype(work(std::declval<Journal&>())) {
    using Result = decltype(work(std::declval<Journal&>()));
    // wait() returns only once the task ended, so the task may refer to this frame.
    if constexpr (std::is_void_v<Result>) {
        wait(over, action, [&] { session_->run(action, work); });
    } else {
        std::optional<Result> result;
        wait(over, action, [&] { result.emplace(session_->run(action, work)); });
        return std::move(*result);
    }
}

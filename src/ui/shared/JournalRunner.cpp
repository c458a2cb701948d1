#include "ui/shared/JournalRunner.h"

#include "journal/JournalWatchdog.h"
#include "ui/shared/JournalBusyFrame.h"

#include <QEventLoop>
#include <QTimer>
#include <QWidget>

#include <mutex>
#include <thread>
#include <vector>

// One action handed to the journal thread: what the two threads share about it.
struct JournalRunner::Task {
    std::mutex mutex;
    bool started = false;
    bool done = false;
    bool ran = false;
    bool cancelled = false;
    std::thread::id thread;
    std::exception_ptr error;
    bool commitUnknown = false;

    bool finished() {
        std::lock_guard lock(mutex);
        return done;
    }
};

JournalRunner::JournalRunner(std::unique_ptr<JournalSession> session, QObject* parent)
    : QObject(parent), session_(std::move(session)) {
    thread_.setObjectName(QStringLiteral("journal"));
    worker_ = new QObject;
    worker_->moveToThread(&thread_);
    thread_.start();
    // The session calls its listener on the journal thread; the window hears it on its own.
    session_->onStateChange([this] {
        QMetaObject::invokeMethod(
            this, [this] { tellState(); }, Qt::QueuedConnection);
    });
}

JournalRunner::~JournalRunner() {
    cancel();
    // The connection is closed on the thread that opened it, after the action it runs.
    QMetaObject::invokeMethod(
        worker_, [this] { session_->reset(); }, Qt::BlockingQueuedConnection);
    thread_.quit();
    thread_.wait();
    delete worker_;
}

void JournalRunner::tellState() {
    const bool failing = session_->failing();
    if (failing == toldFailing_)
        return;
    toldFailing_ = failing;
    if (listener_)
        listener_();
}

void JournalRunner::cancel() {
    for (const auto& task : tasks_)
        cancel(*task);
}

void JournalRunner::cancel(Task& task) {
    std::lock_guard lock(task.mutex);
    task.cancelled = true;
    if (task.started && !task.done)
        JournalWatchdog::cancel(task.thread);
}

void JournalRunner::wait(QWidget* over, JournalSession::Action action, std::function<void()> work) {
    auto task = std::make_shared<Task>();
    QMetaObject::invokeMethod(
        worker_,
        [this, task, work = std::move(work)] {
            // A cancel of an earlier action ends here; one of this action before it started
            // means it never starts.
            JournalWatchdog::resume(std::this_thread::get_id());
            bool run = false;
            {
                std::lock_guard lock(task->mutex);
                run = !task->cancelled;
                task->started = true;
                task->ran = run;
                task->thread = std::this_thread::get_id();
            }
            std::exception_ptr error;
            bool commitUnknown = false;
            if (run) {
                try {
                    work();
                } catch (const JournalError&) {
                    error = std::current_exception();
                    commitUnknown = session_->commitUnknown();
                } catch (...) {
                    error = std::current_exception();
                }
            }
            {
                std::lock_guard lock(task->mutex);
                task->done = true;
                task->error = error;
                task->commitUnknown = commitUnknown;
            }
            JournalWatchdog::resume(std::this_thread::get_id());
            emit answered();
        },
        Qt::QueuedConnection);

    tasks_.push_back(task);
    ++waiting_;
    QEventLoop loop;
    connect(this, &JournalRunner::answered, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    // A moment without the busy frame: the window paints and its timers run, the person's
    // input waits until the action ends.
    QTimer delay;
    delay.setSingleShot(true);
    delay.setTimerType(Qt::PreciseTimer);
    connect(&delay, &QTimer::timeout, &loop, &QEventLoop::quit);
    delay.start(kBusyDelay);
    while (!task->finished() && delay.isActive())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!task->finished()) {
        JournalBusyFrame frame(over);
        connect(&frame, &JournalBusyFrame::cancelRequested, this, [this, task] { cancel(*task); });
        frame.show();
        emit busyShown();
        while (!task->finished())
            loop.exec();
    }
    --waiting_;
    std::erase(tasks_, task);
    // The window hears of the journal's new state before the caller of the action does.
    tellState();
    if (waiting_ == 0)
        emit idle();

    std::lock_guard lock(task->mutex);
    if (task->cancelled && (task->error || !task->ran)) {
        const bool write = action != JournalSession::Action::Read;
        throw JournalError(JournalError::Cancelled,
                           !write ? "Отменено"
                           : task->commitUnknown
                               ? "Отменено, но изменение могло быть записано: проверьте журнал"
                               : "Отменено: ничего не записано");
    }
    if (task->error)
        std::rethrow_exception(task->error);
}

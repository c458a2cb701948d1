#pragma once

#include "plan/CutListPlan.h"

#include <QObject>

#include <atomic>
#include <memory>

class QThread;

// Plans a cut list on a thread of its own, so that the window stays alive while the planners
// work: it tells which material is being planned, and stop() makes them hand over their best
// plans so far. The signals arrive on the thread that started the job.
class CutListJob : public QObject {
    Q_OBJECT
public:
    explicit CutListJob(QObject* parent = nullptr);
    // A job still running is stopped and waited for.
    ~CutListJob() override;

    // Starts planning a copy of the list; false while a plan is still being made.
    bool start(const CutList& list);
    void stop();
    bool running() const { return thread_ != nullptr; }
    bool stopRequested() const { return stop_.load(); }

signals:
    void progress(int done, int total, const QString& material);
    void finished(const CutListPlan& plan);

private:
    void deliver(std::shared_ptr<CutListPlan> plan);

    std::atomic<bool> stop_{false};
    QThread* thread_ = nullptr;
};

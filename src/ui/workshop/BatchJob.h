#pragma once

#include "journal/BatchOrders.h"

#include <QObject>

#include <memory>
#include <vector>

class QThread;

// Plans a batch on a thread of its own, so that the window stays alive while the planners work
// (a month of orders takes a while). The orders are read from the journal before (the journal's
// connection belongs to the interface thread); finished arrives on the thread that started it.
class BatchJob : public QObject {
    Q_OBJECT
public:
    explicit BatchJob(QObject* parent = nullptr);
    // A job still running is waited for.
    ~BatchJob() override;

    // Starts planning the orders on the store's offcuts with the saw's settings; false while a
    // plan is still being made.
    bool start(std::vector<batchorders::Source> orders, std::vector<StoreOffcut> store,
               const PlanSettings& settings);
    bool running() const { return thread_ != nullptr; }

    // What the last finished job planned, and its orders (whose projects the pack prints).
    const BatchPlan& plan() const { return result_->plan; }
    const std::vector<batchorders::Source>& orders() const { return result_->orders; }
    bool hasResult() const { return result_ != nullptr; }

signals:
    void finished();

private:
    struct Result {
        std::vector<batchorders::Source> orders;
        std::vector<StoreOffcut> store;
        BatchPlan plan;
    };
    void deliver(std::shared_ptr<Result> result);

    std::shared_ptr<Result> result_;
    QThread* thread_ = nullptr;
};

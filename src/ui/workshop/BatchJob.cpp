#include "ui/workshop/BatchJob.h"

#include <QMetaObject>
#include <QThread>

BatchJob::BatchJob(QObject* parent) : QObject(parent) {}

BatchJob::~BatchJob() {
    if (thread_ != nullptr) {
        thread_->wait();
        delete thread_;
    }
}

bool BatchJob::start(std::vector<batchorders::Source> orders, std::vector<StoreOffcut> store,
                     const PlanSettings& settings) {
    if (thread_ != nullptr)
        return false;
    auto work = std::make_shared<Result>();
    work->orders = std::move(orders);
    work->store = std::move(store);
    thread_ = QThread::create([this, work, settings] {
        work->plan = batchorders::plan(work->orders, work->store, settings);
        QMetaObject::invokeMethod(
            this, [this, work] { deliver(work); }, Qt::QueuedConnection);
    });
    thread_->start();
    return true;
}

void BatchJob::deliver(std::shared_ptr<Result> result) {
    // The thread has handed over its plan and is ending.
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
    result_ = std::move(result);
    emit finished();
}

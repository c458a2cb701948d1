#include "ui/workshop/CutListJob.h"

#include <QMetaObject>
#include <QThread>

CutListJob::CutListJob(QObject* parent) : QObject(parent) {}

CutListJob::~CutListJob() {
    if (thread_ != nullptr) {
        stop_.store(true);
        thread_->wait();
        delete thread_;
    }
}

bool CutListJob::start(const CutList& list) {
    if (thread_ != nullptr)
        return false;
    stop_.store(false);
    thread_ = QThread::create([this, list] {
        CutListControl control;
        control.stop = &stop_;
        control.progress = [this](int done, int total, const std::string& material) {
            const QString name = QString::fromStdString(material);
            QMetaObject::invokeMethod(
                this, [this, done, total, name] { emit progress(done, total, name); },
                Qt::QueuedConnection);
        };
        auto plan = std::make_shared<CutListPlan>(CutListPlan::build(list, control));
        QMetaObject::invokeMethod(
            this, [this, plan] { deliver(plan); }, Qt::QueuedConnection);
    });
    thread_->start();
    return true;
}

void CutListJob::stop() {
    stop_.store(true);
}

void CutListJob::deliver(std::shared_ptr<CutListPlan> plan) {
    // The thread has handed over its plan and is ending.
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
    emit finished(*plan);
}

#include "app/PendingPlacer.h"

#include "calc/SystemFactory.h"
#include "catalog/Catalog.h"
#include "journal/JournalError.h"
#include "journal/JournalSession.h"
#include "model/OrderNumberFile.h"

#include <QMetaObject>

PendingPlacer::PendingPlacer(std::filesystem::path dataFolder, PendingPlacings store,
                             QObject* parent)
    : QObject(parent), dataFolder_(std::move(dataFolder)), store_(std::move(store)) {
    retry_.setInterval(kRetryMs);
    connect(&retry_, &QTimer::timeout, this, &PendingPlacer::tryNow);
}

PendingPlacer::~PendingPlacer() {
    if (worker_.joinable())
        worker_.join();
}

void PendingPlacer::tryNow() {
    if (running_ || store_.list().empty())
        return;
    if (worker_.joinable())
        worker_.join();
    running_ = true;
    worker_ = std::thread([this] {
        PendingPlacings::Outcome outcome;
        try {
            JournalSession session(dataFolder_);
            if (session.enabled()) {
                Catalog catalog(dataFolder_.string(), makeAllSystems);
                // Every placing carries its key, so the round may be repeated as a whole.
                outcome = session.run(JournalSession::Action::KeyedWrite, [&](Journal& journal) {
                    return store_.placeAll(journal, catalog, OrderNumberFile(dataFolder_));
                });
            }
        } catch (const JournalError& e) {
            outcome.problems.emplace_back(e.what());
            outcome.journalAway = true;
        } catch (const std::exception& e) {
            outcome.problems.emplace_back(e.what());
        }
        QMetaObject::invokeMethod(
            this, [this, outcome] { finish(outcome); }, Qt::QueuedConnection);
    });
}

void PendingPlacer::finish(const PendingPlacings::Outcome& outcome) {
    if (worker_.joinable())
        worker_.join();
    running_ = false;
    if (store_.list().empty())
        retry_.stop();
    else if (!retry_.isActive())
        retry_.start();
    emit roundDone(outcome);
}

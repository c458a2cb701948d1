#pragma once

#include "journal/PendingPlacings.h"

#include <QObject>
#include <QTimer>

#include <atomic>
#include <filesystem>
#include <thread>

// Places the orders kept while the journal was away, off the interface thread: when asked (at
// start, after an order was kept) and every half minute while some wait. Each round opens a
// connection and reads a catalog of its own, so nothing the window uses is touched meanwhile.
class PendingPlacer : public QObject {
    Q_OBJECT
public:
    static constexpr int kRetryMs = 30000;

    // dataFolder: the program's data folder (prices, journal.conf, number file).
    PendingPlacer(std::filesystem::path dataFolder, PendingPlacings store,
                  QObject* parent = nullptr);
    // Waits for a round in progress.
    ~PendingPlacer() override;

    const PendingPlacings& store() const { return store_; }
    // Starts a round unless one is running or none wait.
    void tryNow();
    bool running() const { return running_; }
    QTimer& retryTimer() { return retry_; }

signals:
    // A round ended (on the interface thread).
    void roundDone(const PendingPlacings::Outcome& outcome);

private:
    void finish(const PendingPlacings::Outcome& outcome);

    std::filesystem::path dataFolder_;
    PendingPlacings store_;
    QTimer retry_;
    std::thread worker_;
    std::atomic<bool> running_{false};
};

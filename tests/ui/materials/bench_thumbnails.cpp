// Opening a material group of 200 pictures of 1600×1200: how soon the grid shows, how long the
// thumbnails take to arrive, how long the interface thread is ever kept from its events while they
// arrive, how long a scroll step paints, and what the thumbnails cost in memory. Round 1 decodes
// every picture into an empty thumbnail cache; later rounds find them there. The pictures are
// generated into a temporary folder first.
#include "ui/materials/CThumbListCtrl.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kPictures = 200;

long rssKb() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').front().toLong();
    return -1;
}

// A photograph-like picture: gradients, shapes and noise, so the decoder has real work.
QImage makePicture(int k) {
    QImage image(1600, 1200, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient g(0, 0, 1600, 1200);
    g.setColorAt(0, QColor::fromHsv((k * 37) % 360, 120, 230));
    g.setColorAt(1, QColor::fromHsv((k * 37 + 120) % 360, 200, 90));
    p.fillRect(image.rect(), g);
    QRandomGenerator rng(static_cast<quint32>(k));
    for (int i = 0; i < 60; ++i) {
        p.setBrush(QColor::fromRgb(rng.generate()));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPoint(rng.bounded(1600), rng.bounded(1200)), rng.bounded(20, 200),
                      rng.bounded(20, 200));
    }
    p.end();
    for (int y = 0; y < 1200; y += 2) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < 1600; x += 3)
            line[x] ^= rng.bounded(0x202020);
    }
    return image;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    // A thumbnail cache of the run's own: round 1 finds it empty (cold), later rounds full (warm).
    qputenv("XDG_CACHE_HOME", dir.filePath(QStringLiteral("cache")).toUtf8());
    const QString images = dir.filePath(QStringLiteral("images"));
    QDir().mkpath(images);
    QElapsedTimer clock;
    clock.start();
    QStringList paths;
    for (int k = 0; k < kPictures; ++k) {
        const QString path =
            QDir(images).filePath(QStringLiteral("дуб_%1.jpg").arg(k, 3, 10, QLatin1Char('0')));
        makePicture(k).save(path, "JPEG", 90);
        paths << path;
    }
    std::printf("generated %d pictures of 1600x1200 in %lld ms\n", kPictures, clock.elapsed());

    // What decoding on the interface thread would cost: the whole picture, then scaled.
    clock.restart();
    for (int k = 0; k < 20; ++k)
        (void)QImage(paths[k]).scaled(62, 62, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    std::printf("full decode and scale, one picture: %.1f ms (x%d = %.0f ms blocked if done "
                "in the interface thread)\n",
                clock.elapsed() / 20.0, kPictures, clock.elapsed() / 20.0 * kPictures);
    clock.restart();
    for (int k = 0; k < 20; ++k)
        CThumbListCtrl::makeThumbnail(paths[k]);
    std::printf("thumbnail through the reader's scaled decode, one picture: %.1f ms\n",
                clock.elapsed() / 20.0);

    QWidget window;
    window.resize(280, 650);
    CThumbListCtrl list(&window);
    list.setGeometry(4, 114, 272, 530);
    window.show();
    QApplication::processEvents();

    // The items on the first screen, from the grid's first layout; every round shows the same.
    int firstScreen = 0;
    // Rounds: the first argument, 3 when none is given; more rounds show whether memory settles.
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    for (int round = 1; round <= rounds; ++round) {
        const long rssBefore = rssKb();
        // The interface thread's pulse: a 5 ms timer; the longest gap between two ticks is the
        // longest time typing or the sketch would have waited.
        QElapsedTimer pulse;
        qint64 lastTick = 0;
        qint64 longestGap = 0;
        QTimer ticker;
        ticker.setInterval(5);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            const qint64 now = pulse.elapsed();
            longestGap = std::max(longestGap, now - lastTick);
            lastTick = now;
        });
        // Items change when they are created too; a thumbnail has arrived once its item is
        // marked as loaded. They arrive in list order.
        qint64 firstArrived = -1;
        qint64 screenArrived = -1;
        QMetaObject::Connection c =
            QObject::connect(&list, &QListWidget::itemChanged, [&](QListWidgetItem* item) {
                if (!item->data(Qt::UserRole).toBool())
                    return;
                const int row = list.row(item);
                if (row == 0)
                    firstArrived = clock.elapsed();
                if (row == firstScreen - 1)
                    screenArrived = clock.elapsed();
            });

        clock.restart();
        list.rebuild(images, paths);
        list.repaint();
        const qint64 gridShown = clock.elapsed();
        const QRect view = list.viewport()->rect();
        while (round == 1 && firstScreen < list.count() &&
               list.visualItemRect(list.item(firstScreen)).intersects(view))
            ++firstScreen;
        pulse.start();
        ticker.start();
        // Scroll while the thumbnails arrive, one step per 40 ms, timing each step's paint.
        qint64 longestScroll = 0;
        double scrollSum = 0;
        int scrolls = 0;
        QTimer scroller;
        scroller.setInterval(40);
        QObject::connect(&scroller, &QTimer::timeout, [&] {
            QScrollBar* bar = list.verticalScrollBar();
            QElapsedTimer t;
            t.start();
            bar->setValue((bar->value() + 90) % (bar->maximum() + 1));
            list.viewport()->repaint();
            const qint64 ms = t.nsecsElapsed() / 1000;
            longestScroll = std::max(longestScroll, ms);
            scrollSum += static_cast<double>(ms);
            ++scrolls;
        });
        scroller.start();
        const bool all = list.waitForThumbnails(60000);
        const qint64 allArrived = clock.elapsed();
        ticker.stop();
        scroller.stop();
        QObject::disconnect(c);
        QApplication::processEvents();
        const long rssAfter = rssKb();
        std::printf("round %d: grid shown %lld ms; first thumbnail %lld ms; first screen (%d) "
                    "%lld ms; all %d %s in %lld ms; longest wait of the interface thread %lld ms; "
                    "scroll step paint avg %.2f ms, max %.2f ms (%d steps); RSS %ld -> %ld KiB "
                    "(%+ld)\n",
                    round, gridShown, firstArrived, firstScreen, screenArrived, list.loadedCount(),
                    all ? "arrived" : "NOT all arrived", allArrived, longestGap,
                    scrolls ? scrollSum / scrolls / 1000.0 : 0.0, longestScroll / 1000.0, scrolls,
                    rssBefore, rssAfter, rssAfter - rssBefore);
    }
    return 0;
}

#pragma once

#include <QColor>
#include <QImage>
#include <QListWidget>
#include <QStringList>

#include "ui/shared/ThumbnailCache.h"

#include <QMutex>

#include <atomic>
#include <deque>
#include <memory>

class QThreadPool;
class QTimer;

// The thumbnail grid of the materials panel: one 62×62 picture per material of a group, labelled
// with the material's picture key. The thumbnails come from the shared thumbnail cache; pictures
// not seen before are decoded on one worker per core and leave their thumbnail in the cache. They
// fill in as they arrive, a few milliseconds' worth at a time, so a large group shows its grid at
// once and never holds up typing or the sketch. Only the thumbnails are kept.
class CThumbListCtrl : public QListWidget {
    Q_OBJECT
public:
    static constexpr int kThumbSize = 62;
    // The narrowest column of the grid: a thumbnail with a little room on each side.
    static constexpr int kMinCellWidth = 76;
    // The frame around the chosen thumbnail.
    static constexpr QColor kChosenFrame{0xad, 0x29, 0x29};

    explicit CThumbListCtrl(QWidget* parent = nullptr);
    ~CThumbListCtrl() override;

    // Replaces the items by one per picture path, in order. An item's label is its path without
    // the images folder and the separator after it, with backslashes as separators (the
    // material's picture key). names, when given, are what a screen reader calls each item (its
    // material); without them the label stands in.
    void rebuild(const QString& imagesFolder, const QStringList& paths,
                 const QStringList& names = {});

    // The item's label as above; the text shown has break points added so it can wrap.
    QString label(int item) const;
    // The thumbnail of the item once it arrived, else a null image.
    QImage thumbnail(int item) const;
    int loadedCount() const { return loaded_; }
    bool thumbnailsPending() const { return loaded_ < count(); }
    // Processes events until every thumbnail arrived or the time ran out; whether all arrived. A
    // grid that is not shown loads nothing, so waiting on it runs out.
    bool waitForThumbnails(int timeoutMs);

    // The 62×62 thumbnail of a picture file: a picture of exactly that size is taken unchanged,
    // any other is stretched to it (the aspect ratio is not kept); drawn over white. A file that
    // cannot be decoded gives a crossed-out grey box. Safe on any thread.
    static QImage makeThumbnail(const QString& path);
    // The same, from the shared thumbnail cache: a picture seen before is not decoded again, a
    // picture seen for the first time leaves its thumbnail there.
    static QImage makeThumbnail(const QString& path, const ThumbnailCache& cache);

    // The cache the grid uses (the user's shared cache unless set).
    void setCache(const ThumbnailCache& cache) { cache_ = cache; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    // Enter and Space do with the current item what a click does.
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

signals:
    // A click on an item (not on the empty space between items), or Enter or Space on the
    // current one.
    void thumbnailClicked(int item);
    // The last thumbnail of the group arrived.
    void thumbnailsLoaded();

private:
    struct Arrival {
        quint64 generation = 0;
        int item = 0;
        QImage image;
    };
    static constexpr int kSliceMs = 6;

    // From the decoders: queues the thumbnail for the interface thread.
    void arrived(quint64 generation, int item, QImage image);
    // On the interface thread: shows queued thumbnails for a few milliseconds at a time.
    void takeArrivals();
    void thumbnailArrived(quint64 generation, int item, const QImage& image);
    // Starts decoding the thumbnails of the last rebuild.
    void startLoading();
    void stopLoading();
    // As many columns as the width holds, sharing it evenly.
    void fitGridToWidth();
    QSize itemSize() const;

    QThreadPool* pool_;
    std::shared_ptr<std::atomic<bool>> cancel_;
    quint64 generation_ = 0;
    int loaded_ = 0;
    QIcon placeholder_;
    ThumbnailCache cache_;
    QStringList paths_;        // the pictures of the last rebuild
    bool loadPending_ = false; // rebuilt while hidden: load when shown
    QTimer* arrivals_ = nullptr;
    QMutex arrivedMutex_;
    std::deque<Arrival> arrivedQueue_;
};

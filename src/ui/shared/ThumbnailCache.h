#pragma once

#include <QImage>
#include <QString>

// The thumbnails of pictures kept between runs, shared with the desktop's file managers: the
// freedesktop.org convention. A thumbnail is a PNG in $XDG_CACHE_HOME/thumbnails/normal (at most
// 128 pixels on its longer side) or large (256), named by the MD5 of the picture's file URI, and
// carries the URI and the picture's modification time (Thumb::URI, Thumb::MTime); a thumbnail
// whose time differs from the picture's is stale and made anew. Safe to use from any thread.
class ThumbnailCache {
public:
    enum class Size { Normal = 128, Large = 256 };

    // The cache under root (a folder holding normal/ and large/); empty: the user's cache.
    explicit ThumbnailCache(QString root = {});

    // $XDG_CACHE_HOME/thumbnails, or ~/.cache/thumbnails when the variable is unset or relative.
    static QString userRoot();
    // The picture's file URI as the convention hashes it ("file:///…", percent-encoded).
    static QByteArray uriOf(const QString& picture);

    QString root() const { return root_; }
    // Where the thumbnail of the picture is kept.
    QString pathFor(const QString& picture, Size size) const;

    // The thumbnail of the picture, from the cache when it is there and up to date, else read
    // from the picture (at most size pixels on its longer side, never enlarged) and stored for
    // the next time. A picture that cannot be read gives a null image and nothing is stored.
    // stored, when given, tells whether a new thumbnail reached the cache.
    QImage thumbnail(const QString& picture, Size size = Size::Normal,
                     bool* stored = nullptr) const;

    // The cached thumbnail when it is up to date, else a null image.
    QImage lookup(const QString& picture, Size size) const;
    // Stores a thumbnail of the picture; false when the cache cannot be written (the
    // thumbnail is still good to show).
    bool store(const QString& picture, const QImage& thumbnail, Size size) const;

private:
    QString root_;
};

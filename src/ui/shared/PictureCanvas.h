#pragma once

#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QString>

// The cache and canvas behind the program's own pictures: each picture is painted once per key
// and kept for the life of the program.
namespace pictures::canvas {

inline QHash<QString, QPixmap>& cache() {
    static QHash<QString, QPixmap> pixmaps;
    return pixmaps;
}

inline QPixmap blank(int w, int h) {
    QPixmap pm(w, h);
    pm.fill(Qt::transparent);
    return pm;
}

// The picture kept under key, made by make() on first use.
template <class Make>
QPixmap cached(const QString& key, Make make) {
    auto it = cache().find(key);
    if (it != cache().end())
        return *it;
    return *cache().insert(key, make());
}

// The picture kept under key, painted on first use onto a transparent square of the size.
template <class Paint>
QPixmap cachedSquare(const QString& key, int size, Paint paint) {
    return cached(key, [&] {
        QPixmap pm = blank(size, size);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        paint(p);
        p.end();
        return pm;
    });
}

} // namespace pictures::canvas

#include "ui/shared/PictureCache.h"

#include "text/Format.h"

#include <QImageReader>

PictureCache& PictureCache::shared() {
    static PictureCache cache;
    return cache;
}

QString PictureCache::scaledKey(const std::string& path, int width, int height) {
    return QString::fromStdString(text::format("%s_%d_%d", path.c_str(), width, height));
}

const QImage* PictureCache::picture(const std::string& path) {
    const QString key = QString::fromStdString(path);
    auto it = decoded_.constFind(key);
    if (it == decoded_.constEnd()) {
        if (decoded_.size() > kMaxEntries)
            decoded_.clear();
        ++decodeCalls_;
        QImageReader reader(key);
        QImage image = reader.read();
        if (!image.isNull() && image.format() != QImage::Format_RGB32)
            image = image.convertToFormat(QImage::Format_RGB32);
        it = decoded_.insert(key, image);
    }
    return it->isNull() ? nullptr : &*it;
}

const QImage* PictureCache::scaled(const std::string& path, int width, int height) {
    if (width <= 0 || height <= 0)
        return nullptr;
    const QString key = scaledKey(path, width, height);
    auto it = scaled_.constFind(key);
    if (it != scaled_.constEnd())
        return &*it;
    const QImage* source = picture(path);
    if (!source)
        return nullptr;
    ++scaleCalls_;
    QImage image =
        source->size() == QSize(width, height)
            ? *source
            : source->scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (image.isNull())
        return nullptr;
    if (scaled_.size() > kMaxEntries)
        scaled_.clear();
    it = scaled_.insert(key, image);
    return &*it;
}

void PictureCache::clear() {
    decoded_.clear();
    scaled_.clear();
}

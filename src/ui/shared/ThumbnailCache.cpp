#include "ui/shared/ThumbnailCache.h"

#include "text/PngTexts.h"
#include "ui/shared/XdgFolders.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>
#include <QUrl>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace {

const char* folderOf(ThumbnailCache::Size size) {
    return size == ThumbnailCache::Size::Large ? "large" : "normal";
}

QString mtimeOf(const QFileInfo& info) {
    return QString::number(info.lastModified().toSecsSinceEpoch());
}

// The texts of a thumbnail file (Qt's reader splits keys at ':', and "Thumb::URI" has two).
std::map<std::string, std::string> pngTextsOf(const QString& path) {
    std::ifstream file(std::filesystem::path(path.toStdString()), std::ios::binary);
    return pngtexts::read(file);
}

} // namespace

ThumbnailCache::ThumbnailCache(QString root) : root_(root.isEmpty() ? userRoot() : root) {}

QString ThumbnailCache::userRoot() {
    return xdg::home("XDG_CACHE_HOME", ".cache") + QStringLiteral("/thumbnails");
}

QByteArray ThumbnailCache::uriOf(const QString& picture) {
    return QUrl::fromLocalFile(QFileInfo(picture).absoluteFilePath()).toEncoded();
}

QString ThumbnailCache::pathFor(const QString& picture, Size size) const {
    const QByteArray md5 = QCryptographicHash::hash(uriOf(picture), QCryptographicHash::Md5);
    return QDir(root_).filePath(QString::fromLatin1(folderOf(size)) + QLatin1Char('/') +
                                QString::fromLatin1(md5.toHex()) + QStringLiteral(".png"));
}

QImage ThumbnailCache::lookup(const QString& picture, Size size) const {
    const QFileInfo info(picture);
    if (!info.exists())
        return {};
    const QString file = pathFor(picture, size);
    // The texts come before the image data: a stale thumbnail is not decoded at all.
    const std::map<std::string, std::string> texts = pngTextsOf(file);
    auto text = [&](const char* key) {
        const auto it = texts.find(key);
        return it == texts.end() ? std::string() : it->second;
    };
    if (text("Thumb::URI") != uriOf(picture).toStdString() ||
        text("Thumb::MTime") != mtimeOf(info).toStdString())
        return {};
    return QImageReader(file, "png").read();
}

bool ThumbnailCache::store(const QString& picture, const QImage& thumbnail, Size size) const {
    const QFileInfo info(picture);
    const QString target = pathFor(picture, size);
    // The folders are the user's alone (0700), the files too (0600), as the convention asks.
    const QString folder = QFileInfo(target).absolutePath();
    if (!QFileInfo(folder).isDir()) {
        if (!QDir().mkpath(folder))
            return false;
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QImage image = thumbnail;
    image.setText(QStringLiteral("Thumb::URI"), QString::fromLatin1(uriOf(picture)));
    image.setText(QStringLiteral("Thumb::MTime"), mtimeOf(info));
    image.setText(QStringLiteral("Thumb::Size"), QString::number(info.size()));
    image.setText(QStringLiteral("Software"), QStringLiteral("tavrolab"));
    // Written whole or not at all: a reader in another program never sees half a file.
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&file, "png");
    if (!writer.write(image)) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit())
        return false;
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    return true;
}

QImage ThumbnailCache::thumbnail(const QString& picture, Size size, bool* stored) const {
    if (stored)
        *stored = false;
    QImage cached = lookup(picture, size);
    if (!cached.isNull())
        return cached;
    QImageReader reader(picture);
    const int most = static_cast<int>(size);
    const QSize full = reader.size();
    if (full.isValid() && (full.width() > most || full.height() > most))
        reader.setScaledSize(full.scaled(most, most, Qt::KeepAspectRatio));
    QImage image = reader.read();
    if (image.isNull())
        return {};
    if (image.width() > most || image.height() > most)
        image = image.scaled(most, most, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    const bool ok = store(picture, image, size);
    if (stored)
        *stored = ok;
    return image;
}

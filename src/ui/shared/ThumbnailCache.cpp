#include "ui/shared/ThumbnailCache.h"

#include "ui/shared/XdgFolders.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>
#include <QUrl>

namespace {

const char* folderOf(ThumbnailCache::Size size) {
    return size == ThumbnailCache::Size::Large ? "large" : "normal";
}

QString mtimeOf(const QFileInfo& info) {
    return QString::number(info.lastModified().toSecsSinceEpoch());
}

// A zlib stream as PNG keeps it (qUncompress wants the length in front; a guess grows).
QByteArray inflate(const QByteArray& stream) {
    QByteArray framed(4, '\0');
    const quint32 guess = static_cast<quint32>(stream.size()) * 8 + 64;
    framed[0] = static_cast<char>(guess >> 24);
    framed[1] = static_cast<char>(guess >> 16);
    framed[2] = static_cast<char>(guess >> 8);
    framed[3] = static_cast<char>(guess);
    return qUncompress(framed + stream);
}

// The text chunks before its image data, read without decoding the image (Qt's reader
// splits keys at ':', and "Thumb::URI" has two): tEXt, and zTXt and iTXt, in which a writer may
// keep long texts. Empty when the file is not a PNG.
QHash<QByteArray, QByteArray> pngTexts(const QString& path) {
    QHash<QByteArray, QByteArray> texts;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.read(8) != QByteArray("\x89PNG\r\n\x1a\n", 8))
        return texts;
    for (;;) {
        const QByteArray head = file.read(8);
        if (head.size() != 8)
            return texts;
        const quint32 length = (quint32(uchar(head[0])) << 24) | (quint32(uchar(head[1])) << 16) |
                               (quint32(uchar(head[2])) << 8) | quint32(uchar(head[3]));
        const QByteArray type = head.mid(4, 4);
        if (type == "IDAT" || type == "IEND" || length > (1u << 20))
            return texts;
        const QByteArray data = file.read(length);
        if (data.size() != static_cast<qsizetype>(length) || file.read(4).size() != 4)
            return texts;
        const qsizetype zero = data.indexOf('\0');
        if (zero <= 0)
            continue;
        if (type == "tEXt")
            texts.insert(data.left(zero), data.mid(zero + 1));
        else if (type == "zTXt" && data.size() > zero + 2) // long texts come compressed
            texts.insert(data.left(zero), inflate(data.mid(zero + 2)));
        else if (type == "iTXt" && data.size() > zero + 3) {
            // Compression flag and method, then language and translated keyword, each ended by 0.
            const bool compressed = data[zero + 1] != 0;
            const qsizetype language = data.indexOf('\0', zero + 3);
            const qsizetype translated = language < 0 ? -1 : data.indexOf('\0', language + 1);
            if (translated >= 0) {
                const QByteArray text = data.mid(translated + 1);
                texts.insert(data.left(zero), compressed ? inflate(text) : text);
            }
        }
    }
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
    const QHash<QByteArray, QByteArray> texts = pngTexts(file);
    if (texts.value("Thumb::URI") != uriOf(picture) ||
        texts.value("Thumb::MTime") != mtimeOf(info).toLatin1())
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

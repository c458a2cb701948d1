#include "app/RecentFiles.h"

#include "model/AtomicFile.h"
#include "ui/shared/XdgFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

RecentFiles::RecentFiles(QString file) : file_(std::move(file)) {}

QString RecentFiles::defaultFile() {
    return xdg::home("XDG_CONFIG_HOME", ".config") + QStringLiteral("/tavrolab/recent-files");
}

QStringList RecentFiles::files() const {
    QFile f(file_);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList out;
    for (const QByteArray& line : f.readAll().split('\n')) {
        const QString path = QString::fromUtf8(line);
        if (path.startsWith(QLatin1Char('/')) && !out.contains(path) && out.size() < kMaxFiles)
            out << path;
    }
    return out;
}

bool RecentFiles::add(const QString& path) {
    QStringList list = files();
    const QString absolute = QFileInfo(path).absoluteFilePath();
    list.removeAll(absolute);
    list.prepend(absolute);
    while (list.size() > kMaxFiles)
        list.removeLast();
    return store(list);
}

bool RecentFiles::remove(const QString& path) {
    QStringList list = files();
    list.removeAll(path);
    return store(list);
}

bool RecentFiles::store(const QStringList& files) const {
    QDir().mkpath(QFileInfo(file_).path());
    const QByteArray bytes = files.join(QLatin1Char('\n')).toUtf8() + '\n';
    return fileio::writeFileAtomically(file_.toStdString(),
                                       std::string_view(bytes.constData(), bytes.size()));
}

#include "app/RecoveryStore.h"

#include "ui/shared/XdgFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace {

const QString kSuffix = QStringLiteral(".tavrec");

} // namespace

RecoveryStore::RecoveryStore(QString folder) : folder_(std::move(folder)) {}

QString RecoveryStore::defaultFolder() {
    return xdg::home("XDG_STATE_HOME", ".local/state") + QStringLiteral("/tavrolab/recovery");
}

QString RecoveryStore::ownPath(int window) const {
    const qint64 pid = QCoreApplication::applicationPid();
    return QDir(folder_).filePath(
        QStringLiteral("%1-%2-%3").arg(pid).arg(processStartTime(pid)).arg(window) + kSuffix);
}

quint64 RecoveryStore::processStartTime(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray line = stat.readAll();
    // The command name in parentheses may hold spaces: fields are counted after its end.
    const qsizetype close = line.lastIndexOf(')');
    if (close < 0)
        return 0;
    const QList<QByteArray> fields = line.mid(close + 2).split(' ');
    // Field 22 of the line is the 20th after the name (state is the 3rd field).
    return fields.size() > 19 ? fields[19].toULongLong() : 0;
}

bool RecoveryStore::ownerRuns(const QString& fileName) {
    static const QRegularExpression name(QStringLiteral("^(\\d+)-(\\d+)-\\d+\\.tavrec$"));
    const QRegularExpressionMatch m = name.match(fileName);
    if (!m.hasMatch())
        return false;
    const quint64 start = processStartTime(m.captured(1).toLongLong());
    return start != 0 && start == m.captured(2).toULongLong();
}

QStringList RecoveryStore::orphans() const {
    QFileInfoList files =
        QDir(folder_).entryInfoList({QStringLiteral("*") + kSuffix}, QDir::Files, QDir::Time);
    std::reverse(files.begin(), files.end());
    QStringList out;
    for (const QFileInfo& f : files)
        if (!ownerRuns(f.fileName()))
            out << f.filePath();
    return out;
}

bool RecoveryStore::moveInto(const QString& path, const QString& sub) const {
    QDir dir(folder_);
    if (!dir.mkpath(sub))
        return false;
    const QString target = dir.filePath(sub + QLatin1Char('/') + QFileInfo(path).fileName());
    QFile::remove(target);
    if (!QFile::rename(path, target))
        return false;
    // The age in declined/ counts from the move.
    QFile moved(target);
    if (moved.open(QIODevice::ReadWrite))
        moved.setFileTime(QDateTime::currentDateTimeUtc(), QFileDevice::FileModificationTime);
    return true;
}

void RecoveryStore::expireDeclined(const QDateTime& now) const {
    const QDir declined(QDir(folder_).filePath(QStringLiteral("declined")));
    for (const QFileInfo& f : declined.entryInfoList(QDir::Files))
        if (f.lastModified().toUTC().daysTo(now) > kDeclinedKeptDays)
            QFile::remove(f.filePath());
}

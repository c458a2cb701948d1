#pragma once

#include <QString>
#include <QStringList>

// The last files opened or saved, newest first, kept in $XDG_CONFIG_HOME/tavrolab/recent-files
// (else ~/.config/tavrolab/recent-files), one path a line. The list is read again before every
// change, so that two windows add to one list.
class RecentFiles {
public:
    static constexpr int kMaxFiles = 10;

    explicit RecentFiles(QString file = defaultFile());
    static QString defaultFile();

    QStringList files() const;
    // Puts path first (an earlier entry of it is dropped) and keeps kMaxFiles. False when the
    // list could not be written.
    bool add(const QString& path);
    bool remove(const QString& path);

private:
    bool store(const QStringList& files) const;

    QString file_;
};

#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

// The folder of recovery copies, $XDG_STATE_HOME/tavrolab/recovery (else
// ~/.local/state/tavrolab/recovery). Each running window keeps one copy there, named after its
// process id and the process's start time, so that a copy whose process is gone (a crash, a kill,
// a power cut) can be told from the copy of a window still open. Declined copies are moved to
// declined/ and kept for 30 days; copies that cannot be read are moved to damaged/ and copies of a
// newer program to newer/, both kept.
class RecoveryStore {
public:
    static constexpr int kDeclinedKeptDays = 30;

    explicit RecoveryStore(QString folder = defaultFolder());

    // $XDG_STATE_HOME/tavrolab/recovery when XDG_STATE_HOME is absolute, else under ~/.local/state.
    static QString defaultFolder();

    const QString& folder() const { return folder_; }
    // This process's copy for its window number n: "<pid>-<start time>-<n>.tavrec".
    QString ownPath(int window = 1) const;

    // Copies whose process no longer runs, oldest first.
    QStringList orphans() const;
    // Moves a copy into declined/, damaged/ or newer/; false when it could not be moved.
    bool decline(const QString& path) const { return moveInto(path, QStringLiteral("declined")); }
    bool moveAside(const QString& path) const { return moveInto(path, QStringLiteral("damaged")); }
    bool keepNewer(const QString& path) const { return moveInto(path, QStringLiteral("newer")); }
    // Removes declined copies older than kDeclinedKeptDays.
    void expireDeclined(const QDateTime& now = QDateTime::currentDateTimeUtc()) const;

    // The start time of a process as the kernel counts it (clock ticks after boot); 0 when the
    // process does not exist.
    static quint64 processStartTime(qint64 pid);
    // Whether the copy named name belongs to a process that still runs.
    static bool ownerRuns(const QString& fileName);

private:
    bool moveInto(const QString& path, const QString& sub) const;

    QString folder_;
};
